#include "filters/channelresponse.h"

#include "filters/vectorstate.h"
#include "model/paramimage.h"

#include <algorithm>

namespace spk {

ChannelResponse::ChannelResponse(int channel, const FrequencyGrid &grid)
    : m_channel(std::clamp(channel, 0, ChannelCount - 1)), m_grid(&grid)
{
    // Until something is computed every curve is flat and every point sits on the 0 dB row at the left.
    const auto flat = [n = grid.count()](Curve &c) {
        c.magnitude.assign(n, 0.0);
        c.phase.assign(n, 0.0);
    };
    flat(m_hpf);
    flat(m_lpf);
    flat(m_total);
    std::for_each(m_bands.begin(), m_bands.end(), flat);
    m_points.fill(EqPoint{FirstCurveColumn, DbToPixelY(0.0, grid.geometry())});
    m_flat.fill(true);
}

void ChannelResponse::computeAll(const ParamImage &image)
{
    const int r = crossoverRecord(m_channel);
    CalHpfCurve(image.byte(r, CrossoverByte::HpfFreq), image.byte(r, CrossoverByte::HpfType), m_hpf, *m_grid);
    CalLpfCurve(image.byte(r, CrossoverByte::LpfFreq), image.byte(r, CrossoverByte::LpfType), m_lpf, *m_grid);
    for (int b = 0; b < BandCount; ++b)
        CalEqCurve(image.record(bandRecord(m_channel, b)), m_points[b], m_bands[b], *m_grid);
    m_flat[0] = isFlat(m_hpf);
    m_flat[1] = isFlat(m_lpf);
    for (int b = 0; b < BandCount; ++b)
        m_flat[2 + b] = isFlat(m_bands[b]);
    sum();
}

void ChannelResponse::computeHpf(const ParamImage &image)
{
    const int r = crossoverRecord(m_channel);
    setHpf(image.byte(r, CrossoverByte::HpfFreq), image.byte(r, CrossoverByte::HpfType));
}

void ChannelResponse::computeLpf(const ParamImage &image)
{
    const int r = crossoverRecord(m_channel);
    setLpf(image.byte(r, CrossoverByte::LpfFreq), image.byte(r, CrossoverByte::LpfType));
}

void ChannelResponse::computeBand(const ParamImage &image, int band)
{
    setBand(band, image.record(bandRecord(m_channel, band)));
}

void ChannelResponse::setHpf(int freqCode, int typeCode)
{
    CalHpfCurve(freqCode, typeCode, m_hpf, *m_grid);
    m_flat[0] = isFlat(m_hpf);
    sum();
}

void ChannelResponse::setLpf(int freqCode, int typeCode)
{
    CalLpfCurve(freqCode, typeCode, m_lpf, *m_grid);
    m_flat[1] = isFlat(m_lpf);
    sum();
}

void ChannelResponse::setBand(int band, std::span<const std::uint8_t, 8> record)
{
    if (band < 0 || band >= BandCount) return;
    CalEqCurve(record, m_points[band], m_bands[band], *m_grid);
    m_flat[2 + band] = isFlat(m_bands[band]);
    sum();
}

bool ChannelResponse::isFlat(const Curve &c)
{
    const auto zero = [](double v) { return v == 0.0; };
    return std::all_of(c.magnitude.begin(), c.magnitude.end(), zero) &&
           std::all_of(c.phase.begin(), c.phase.end(), zero);
}

void ChannelResponse::sum()
{
    ++m_revision;
    clearUpperVectorState();
    // Flat curves add exactly nothing and are left out; the others are added curve by curve in the
    // order HPF, LPF, bands 0..9, so every column comes out as the plain sum across all twelve.
    std::array<const Curve *, 2 + BandCount> parts{};
    int used = 0;
    if (!m_flat[0]) parts[used++] = &m_hpf;
    if (!m_flat[1]) parts[used++] = &m_lpf;
    for (int b = 0; b < BandCount; ++b) {
        if (!m_flat[2 + b]) parts[used++] = &m_bands[b];
    }
    const int n = m_grid->count();
    const auto sumInto = [&](std::vector<double> &total, std::vector<double> Curve::*values) {
        double *t = total.data();
        if (used == 0) {
            std::fill(total.begin(), total.end(), 0.0);
            return;
        }
        std::copy_n((parts[0]->*values).data(), n, t);
        for (int k = 1; k < used; ++k) {
            const double *c = (parts[k]->*values).data();
            for (int i = 0; i < n; ++i)
                t[i] += c[i];
        }
    };
    sumInto(m_total.magnitude, &Curve::magnitude);
    sumInto(m_total.phase, &Curve::phase);
}

} // namespace spk
