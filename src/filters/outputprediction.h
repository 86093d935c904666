#pragma once

#include "filters/graphgeometry.h"
#include "filters/section.h"
#include "model/layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace spk {

class ChannelResponse;
class ParamImage;

// What an output's level record does to its sound, decoded as its controls show it (codes outside
// the tables clamped).
struct OutputSettings
{
    bool muted = false;
    bool inverted = false;
    double levelDb = -60.0;
    double delayMs = 0.0;

    static OutputSettings of(const ParamImage &image, int channel);
    bool operator==(const OutputSettings &) const = default;
};

// The response at the satellite (op0) and subwoofer (op2) outputs, and at the third (op1) when asked
// for: the system input path's crossover and EQ in series with the output's own, at the output's
// level, polarity and delay; and the complex sum of satellite and subwoofer. Magnitudes are on the
// curves' dB scale, phases in radians within -pi .. pi. update() recomputes only the outputs whose
// inputs changed. The system input's own level, polarity and delay, common to all outputs, are left
// out as they are from the system's curve.
class OutputPrediction
{
public:
    // withThird: op1 too (the graph leaves it out: it is neither drawn nor summed).
    explicit OutputPrediction(bool withThird = false, const FrequencyGrid &grid = FrequencyGrid::standard());

    // responses: one per channel, indexed ip0, op0, op1, op2.
    void update(const ParamImage &image, std::span<const ChannelResponse, ChannelCount> responses);

    // An output channel's predicted curve; null while it is muted (or for ip0, or op1 left out).
    const Curve *output(int channel) const;
    // Satellite + subwoofer; null while both are muted.
    const Curve *sum() const { return m_sumAudible ? &m_sum : nullptr; }
    OutputSettings settings(int channel) const;
    // Curves the last update() computed again (outputs and the sum), so an edit's cost can be seen.
    int lastRecomputed() const { return m_lastRecomputed; }

    // Lower bound of a summed power ratio (-3000 dB) where two outputs cancel exactly; far below any
    // response the records can give (a channel reaches about -750 dB), so it only keeps log finite.
    static constexpr double SumPowerFloor = 1e-300;

private:
    struct Part
    {
        const ChannelResponse *system = nullptr;
        const ChannelResponse *own = nullptr;
        std::uint64_t systemRevision = 0;
        std::uint64_t ownRevision = 0;
        OutputSettings settings;
        bool valid = false;
        Curve curve;
        std::vector<double> re, im; // the curve as complex values, for the sum
    };
    void compute(Part &part) const;
    void computeSum();

    const FrequencyGrid *m_grid;
    bool m_withThird;
    std::vector<double> m_hz; // the grid's column frequencies, in double
    std::array<Part, ChannelCount - 1> m_parts;
    Curve m_sum;
    bool m_sumAudible = false;
    bool m_sumValid = false;
    int m_lastRecomputed = 0;
};

} // namespace spk
