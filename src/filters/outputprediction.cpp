#include "filters/outputprediction.h"

#include "filters/channelresponse.h"
#include "model/paramimage.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace spk {

OutputSettings OutputSettings::of(const ParamImage &image, int channel)
{
    const int r = levelRecord(channel);
    OutputSettings s;
    s.muted = image.byte(r, LevelByte::Mute) != 0;
    s.inverted = image.byte(r, LevelByte::Polarity) != 0;
    s.levelDb = spk::levelDb(clampLevelCode(image.word(r, LevelByte::Level)));
    s.delayMs = spk::delayMs(clampDelayCode(image.word(r, LevelByte::Delay)));
    return s;
}

OutputPrediction::OutputPrediction(bool withThird, const FrequencyGrid &grid)
    : m_grid(&grid), m_withThird(withThird)
{
    const auto n = std::size_t(grid.count());
    m_hz.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        m_hz[i] = double(grid.hz(int(i)));
    for (Part &p : m_parts) {
        p.curve.magnitude.assign(n, 0.0);
        p.curve.phase.assign(n, 0.0);
        p.re.assign(n, 0.0);
        p.im.assign(n, 0.0);
    }
    m_sum.magnitude.assign(n, 0.0);
    m_sum.phase.assign(n, 0.0);
}

void OutputPrediction::update(const ParamImage &image,
                              std::span<const ChannelResponse, ChannelCount> responses)
{
    m_lastRecomputed = 0;
    const ChannelResponse &system = responses[Ip0];
    bool sumInputs = false;
    for (int c = Op0; c <= Op2; ++c) {
        if (c == Op1 && !m_withThird) continue;
        Part &p = m_parts[c - 1];
        const ChannelResponse &own = responses[c];
        const OutputSettings s = OutputSettings::of(image, c);
        if (p.valid && p.system == &system && p.systemRevision == system.revision() && p.own == &own &&
            p.ownRevision == own.revision() && p.settings == s)
            continue;
        p.system = &system;
        p.own = &own;
        p.systemRevision = system.revision();
        p.ownRevision = own.revision();
        p.settings = s;
        p.valid = true;
        compute(p);
        ++m_lastRecomputed;
        sumInputs = sumInputs || c != Op1;
    }
    if (sumInputs || !m_sumValid) {
        computeSum();
        ++m_lastRecomputed;
    }
}

namespace {
// 10^(dB/20) as exp(dB x this): the same value at a fraction of pow's cost.
const double AmplitudePerDb = std::log(10.0) / 20.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;
// Into -pi .. pi.
double wrap(double radians)
{
    return radians - TwoPi * std::nearbyint(radians / TwoPi);
}
} // namespace

void OutputPrediction::compute(Part &p) const
{
    if (p.settings.muted) { // not drawn, adds nothing to the sum
        std::fill(p.re.begin(), p.re.end(), 0.0);
        std::fill(p.im.begin(), p.im.end(), 0.0);
        return;
    }
    const Curve &sys = p.system->total();
    const Curve &own = p.own->total();
    const double turnsPerHz = p.settings.delayMs / 1000.0; // delay in seconds: phase -2 pi f tau
    const double polarity = p.settings.inverted ? std::numbers::pi : 0.0;
    const int n = m_grid->count();
    for (int i = 0; i < n; ++i) {
        const double db = sys.magnitude[i] + own.magnitude[i] + p.settings.levelDb;
        const double turns = m_hz[i] * turnsPerHz;
        const double delay = (turns - std::nearbyint(turns)) * TwoPi; // whole turns dropped first
        const double phase = wrap(sys.phase[i] + own.phase[i] + polarity - delay);
        const double amplitude = std::exp(db * AmplitudePerDb);
        p.curve.magnitude[i] = db;
        p.curve.phase[i] = phase;
        p.re[i] = amplitude * std::cos(phase);
        p.im[i] = amplitude * std::sin(phase);
    }
}

void OutputPrediction::computeSum()
{
    m_sumValid = true;
    const Part &sat = m_parts[Op0 - 1];
    const Part &sub = m_parts[Op2 - 1];
    m_sumAudible = !sat.settings.muted || !sub.settings.muted;
    const int n = m_grid->count();
    for (int i = 0; i < n; ++i) {
        const double re = sat.re[i] + sub.re[i];
        const double im = sat.im[i] + sub.im[i];
        const double power = re * re + im * im;
        // Written so that a NaN power falls to the floor too.
        m_sum.magnitude[i] = 10.0 * std::log10(power > SumPowerFloor ? power : SumPowerFloor);
        m_sum.phase[i] = std::atan2(im, re);
    }
}

const Curve *OutputPrediction::output(int channel) const
{
    if (channel < Op0 || channel > Op2) return nullptr;
    const Part &p = m_parts[channel - 1];
    return p.valid && !p.settings.muted ? &p.curve : nullptr;
}

OutputSettings OutputPrediction::settings(int channel) const
{
    if (channel < Op0 || channel > Op2) return {};
    return m_parts[channel - 1].settings;
}

} // namespace spk
