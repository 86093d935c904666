#pragma once

#include <QByteArray>

namespace spk::sim {

// Faults switched on for demos and tests. The first group changes what the devices answer (applied
// by SimBus), the second how the answers travel (applied by SimWire). All times are nominal
// milliseconds, multiplied by the time scale.
struct SimFaults
{
    bool silent = false;   // no device answers anything (writes still take effect)
    int dropNext = 0;      // the next N replies are lost
    double dropRate = 0.0; // each reply is lost with this probability (0..1)
    bool badEnd = false;   // every reply ends with 0xAB instead of 0xAA
    int badEndNext = 0;    // the next N replies end with 0xAB

    QByteArray noise;     // sent just before every reply, in the same burst
    int splitParts = 1;   // each reply leaves in this many bursts
    int splitGapMs = 80;  // pause between those bursts (longer than the editor's 50 ms read settle)
    int extraDelayMs = 0; // extra pause before every reply

    void clear() { *this = SimFaults(); }
};

} // namespace spk::sim
