#pragma once

#include "filters/graphgeometry.h"
#include "filters/section.h"

#include <array>
#include <cstdint>
#include <span>

namespace spk {

// Q of the response math: 0.2 x (code + 1). The editor shows QTable instead.
inline constexpr int GraphQCount = 180;
extern const std::array<double, GraphQCount> GraphQ;
// Q codes past the table (only from device or file data) use its last entry, 36.0.
int clampGraphQCode(int code);

// Centre of a band's marker on the graph, in pixels.
struct EqPoint
{
    int x = 0;
    int y = 0;
    bool operator==(const EqPoint &) const = default;
};

// One band from its 8-byte record: frequency code, type, gain code (16 bit), bypass (16 bit), spare,
// Q code (16 bit). Frequency codes above 243 act as 243, gain codes above 180 as 180, types 5 and up
// are all-pass; only a bypass value of exactly 1 bypasses the response. The point follows the gain
// code even when the band is bypassed.
void CalEqCurve(std::span<const std::uint8_t, 8> record, EqPoint &point, Curve &out,
                const FrequencyGrid &grid = FrequencyGrid::standard());

// The three designs; CalEqCurve picks one. Codes are clamped as above.
void CalPeqCurve(int freqCode, int typeCode, int gainCode, int qCode, int bypass, Curve &out,
                 const FrequencyGrid &grid = FrequencyGrid::standard());
void CalShelfCurve(int freqCode, int typeCode, int gainCode, int qCode, int bypass, Curve &out,
                   const FrequencyGrid &grid = FrequencyGrid::standard());
void CalAllPassCurve(int freqCode, int typeCode, int gainCode, int qCode, int bypass, Curve &out,
                     const FrequencyGrid &grid = FrequencyGrid::standard());

} // namespace spk
