#include "filters/channelresponse.h"

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
}

void ChannelResponse::computeAll(const ParamImage &image)
{
    const int r = crossoverRecord(m_channel);
    CalHpfCurve(image.byte(r, CrossoverByte::HpfFreq), image.byte(r, CrossoverByte::HpfType), m_hpf, *m_grid);
    CalLpfCurve(image.byte(r, CrossoverByte::LpfFreq), image.byte(r, CrossoverByte::LpfType), m_lpf, *m_grid);
    for (int b = 0; b < BandCount; ++b)
        CalEqCurve(image.record(bandRecord(m_channel, b)), m_points[b], m_bands[b], *m_grid);
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
    sum();
}

void ChannelResponse::setLpf(int freqCode, int typeCode)
{
    CalLpfCurve(freqCode, typeCode, m_lpf, *m_grid);
    sum();
}

void ChannelResponse::setBand(int band, std::span<const std::uint8_t, 8> record)
{
    if (band < 0 || band >= BandCount) return;
    CalEqCurve(record, m_points[band], m_bands[band], *m_grid);
    sum();
}

void ChannelResponse::sum()
{
    const int n = m_grid->count();
    for (int i = 0; i < n; ++i) {
        double mag = m_hpf.magnitude[i] + m_lpf.magnitude[i];
        double phase = m_hpf.phase[i] + m_lpf.phase[i];
        for (const Curve &b : m_bands) {
            mag += b.magnitude[i];
            phase += b.phase[i];
        }
        m_total.magnitude[i] = mag;
        m_total.phase[i] = phase;
    }
}

} // namespace spk
