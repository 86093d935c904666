#include "simmeter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace spk::sim {

SimMeter::SimMeter(quint32 seed) : m_random(seed)
{
    m_clock.start();
}

quint16 SimMeter::readingForCelsius(double celsius)
{
    // An NTC divider: the log of the reading is close to quadratic in temperature.
    const double t = std::clamp(celsius, -20.0, 120.0) - 10.0;
    const double reading = std::exp(8.540 - 0.02273 * t - 4.22e-5 * t * t);
    return quint16(std::clamp(std::lround(reading), 0L, 65535L));
}

void SimMeter::advance(double seconds)
{
    if (seconds <= 0) return;
    // Long gaps are walked in steps so that the model stays smooth.
    while (seconds > 0) {
        const double dt = std::min(seconds, 1.0);
        seconds -= dt;
        m_time += dt;
        // The load follows a ten-minute swell between about 25 and 65 'C.
        const double target = 45.0 + 20.0 * std::sin(2 * std::numbers::pi * m_time / 600.0);
        const double noise = (m_random.generateDouble() - 0.5) * 0.6 * std::sqrt(dt);
        m_celsius += 0.05 * (target - m_celsius) * dt + noise;
        m_celsius = std::clamp(m_celsius, 15.0, 85.0);

        if (m_limitLeft > 0) {
            m_limitLeft -= dt;
        } else if (m_random.generateDouble() < 0.04 * dt) {
            m_limitLeft = 0.3 + 2.2 * m_random.generateDouble();
            m_limitValue = quint8(1 + m_random.bounded(3));
        }
    }
}

SimMeterValues SimMeter::current() const
{
    if (m_forced) return m_forcedValues;
    SimMeterValues v;
    v.reading = readingForCelsius(m_celsius);
    v.attenuation = m_celsius > 60.0 ? quint8(std::min(255.0, std::floor((m_celsius - 60.0) * 1.5))) : 0;
    v.limiter = m_limitLeft > 0 ? m_limitValue : 0;
    v.status6 = 0;
    v.status7 = v.attenuation > 0 ? 1 : 0;
    return v;
}

SimMeterValues SimMeter::sample()
{
    advance(m_clock.restart() / 1000.0);
    return current();
}

void SimMeter::force(const SimMeterValues &values)
{
    m_forced = true;
    m_forcedValues = values;
}

void SimMeter::release()
{
    m_forced = false;
}

QByteArray SimMeter::replyData(const SimMeterValues &v)
{
    QByteArray d(8, '\0');
    d[2] = char(v.reading >> 8);
    d[3] = char(v.reading & 0xFF);
    d[4] = char(v.attenuation);
    d[5] = char(v.limiter);
    d[6] = char(v.status6);
    d[7] = char(v.status7);
    return d;
}

} // namespace spk::sim
