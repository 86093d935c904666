#pragma once

#include <array>
#include <span>
#include <QString>

namespace spk {

// Value tables of the device's codes; a code indexes its table directly.
extern const std::array<double, 244> FreqTable; // Hz, code 0..243
extern const std::array<double, 181> GainTable; // EQ gain dB, code 0..180 (-24.0 .. +12.0)
extern const std::array<double, 79> QTable;     // Q shown in the editor, code 0..78

inline constexpr int MaxFreqCode = 243;
inline constexpr int MaxGainCode = 180;
inline constexpr int MaxQCode = 78;
inline constexpr int MaxLevelCode = 300;
inline constexpr int MaxDelayCode = 1440;
inline constexpr int MaxCrossoverType = 11;
inline constexpr int MaxEqType = 4;

// Codes read from a device or a file may lie outside a table; lookups clamp, the image keeps the byte.
int clampFreqCode(int code);
int clampGainCode(int code);
int clampQCode(int code);
int clampLevelCode(int code);
int clampDelayCode(int code);

// Nearest table entry for a typed value; a tie goes to the lower index, below the first entry gives 0.
int NearestIndex(std::span<const double> table, double x);

extern const std::array<const char *, 12> CrossoverTypeNames;
extern const std::array<const char *, 5> EqTypeNames;
extern const std::array<const char *, 32> DefaultPresetNames;

// Name of a crossover type code; codes above the list name nothing.
QString crossoverTypeName(int code);
QString eqTypeName(int code);

} // namespace spk
