#pragma once

// Decoding of the meter reply (CMD_Meter, 8 data bytes) for Ack_Meter_proc.
//
//   decodeMeter(state, data)   sets MeterSeen; nullopt for a short reply (displays keep their values)
//   temperatureIndex(reading)  nearest TempTable step, a tie to the hotter step, reading <= 5118
//   temperatureText(index)     ">=70'C", "68'C" .. "12'C", "<=10'C"

#include "protocol/linkstate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace spk {

// Sensor readings of 70 'C (index 0) down to 10 'C (index 30) in steps of 2 'C.
extern const std::array<double, 31> TempTable;
inline constexpr int MaxTempReading = 5118;

int temperatureIndex(int reading);
QString temperatureText(int index);

struct Rgb
{
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};
inline constexpr Rgb TemperatureWarnColor{255, 128, 64}; // attenuation active
inline constexpr Rgb TemperatureTextColor{255, 255, 255};

struct MeterView
{
    int reading = 0;          // sensor reading after clamping
    int tempIndex = 0;        // TempTable index
    QString temperatureText;  // lbl_temperature
    QString attenuationText;  // lbl_attenuation, "3 dB"
    bool temperLed = false;   // ildrnd_temper: attenuation active
    Rgb temperatureColor;     // colour of lbl_temperature
    bool limiterLed = false;  // ildrnd_out0 (red when on, green when off) and LedR_lim
    QString edt1, edt2, edt3; // hidden fields: data bytes 5, 6, 7
    QString statusText;       // third panel of stat1
};

std::optional<MeterView> decodeMeter(LinkState &state, std::span<const std::uint8_t> data);

} // namespace spk
