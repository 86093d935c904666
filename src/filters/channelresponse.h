#pragma once

#include "filters/crossovercurve.h"
#include "filters/eqcurve.h"
#include "model/layout.h"

#include <array>
#include <cstdint>
#include <span>

namespace spk {

class ParamImage;

// The summed response of one channel (0 = ip0, 1 = op0, 2 = op1, 3 = op2): the high-pass, the
// low-pass and the ten band curves, each kept so that one of them can be recomputed and the total
// summed again without touching the others. Every set/compute call updates total() before it returns.
class ChannelResponse
{
public:
    explicit ChannelResponse(int channel = Ip0, const FrequencyGrid &grid = FrequencyGrid::standard());

    int channel() const { return m_channel; }
    const FrequencyGrid &grid() const { return *m_grid; }
    int columnCount() const { return m_grid->count(); }

    // From the channel's crossover and band records in the image.
    void computeAll(const ParamImage &image);
    void computeHpf(const ParamImage &image);
    void computeLpf(const ParamImage &image);
    void computeBand(const ParamImage &image, int band);

    // From codes, for callers that already hold them.
    void setHpf(int freqCode, int typeCode);
    void setLpf(int freqCode, int typeCode);
    void setBand(int band, std::span<const std::uint8_t, 8> record);

    const Curve &hpf() const { return m_hpf; }
    const Curve &lpf() const { return m_lpf; }
    const Curve &band(int band) const { return m_bands[band]; }
    // HPF + LPF + bands 0..9 per column; the phase is the plain sum in radians.
    const Curve &total() const { return m_total; }

    // Counts the changes of total(), so a consumer can tell whether it has to follow.
    std::uint64_t revision() const { return m_revision; }

    EqPoint point(int band) const { return m_points[band]; }
    const std::array<EqPoint, BandCount> &points() const { return m_points; }

private:
    static bool isFlat(const Curve &c);
    void sum();

    int m_channel;
    const FrequencyGrid *m_grid;
    Curve m_hpf;
    Curve m_lpf;
    std::array<Curve, BandCount> m_bands;
    std::array<EqPoint, BandCount> m_points;
    Curve m_total;
    // Per curve (HPF, LPF, bands 0..9): all zero, so the sum can leave it out.
    std::array<bool, 2 + BandCount> m_flat;
    std::uint64_t m_revision = 0;
};

} // namespace spk
