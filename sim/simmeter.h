#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>

namespace spk::sim {

// What the meter reply carries.
struct SimMeterValues
{
    quint16 reading = 0;    // temperature sensor reading; rises as the amplifier cools
    quint8 attenuation = 0; // thermal attenuation, dB
    quint8 limiter = 0;     // 0 idle, nonzero limiting
    quint8 status6 = 0;
    quint8 status7 = 0;

    bool operator==(const SimMeterValues &) const = default;
};

// A slowly drifting amplifier temperature, thermal attenuation above 60 'C, and short limiter
// episodes now and then. Tests force fixed values instead.
class SimMeter
{
public:
    explicit SimMeter(quint32 seed = 1);

    // Moves the model on by `seconds` of simulated time.
    void advance(double seconds);
    // Current values, after moving the model on by the wall time since the last call.
    SimMeterValues sample();
    SimMeterValues current() const;

    void force(const SimMeterValues &values);
    void release();
    bool isForced() const { return m_forced; }

    double celsius() const { return m_celsius; }
    void setCelsius(double c) { m_celsius = c; }

    // The 8 data bytes of a meter reply.
    static QByteArray replyData(const SimMeterValues &values);
    // Sensor curve of the device: about 1120 at 70 'C, 2490 at 40 'C, 5120 at 10 'C.
    static quint16 readingForCelsius(double celsius);

private:
    QRandomGenerator m_random;
    QElapsedTimer m_clock;
    double m_time = 0; // simulated seconds since start
    double m_celsius = 38.0;
    double m_limitLeft = 0; // seconds of the current limiter episode
    quint8 m_limitValue = 0;
    bool m_forced = false;
    SimMeterValues m_forcedValues;
};

} // namespace spk::sim
