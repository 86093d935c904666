#include "model/tables.h"

#include <algorithm>

namespace spk {

const std::array<double, 244> FreqTable = {
    19.7,  20.3,  20.9,  21.5,  22.1,  22.7,  23.4,  24.1,  24.8,  25.5,  26.3,  27,    27.8,  28.7,  29.5,
    30.4,  31.3,  32.2,  33.1,  34.1,  35.1,  36.1,  37.2,  38.3,  39.4,  40.5,  41.7,  42.9,  44.2,  45.5,
    46.8,  48.2,  49.6,  51.1,  52.6,  54.1,  55.7,  57.3,  59,    60.7,  62.5,  64.3,  66.2,  68.2,  70.2,
    72.2,  74.3,  76.5,  78.7,  81.1,  83.4,  85.9,  88.4,  91,    93.6,  96.4,  99.2,  102,   105,   108,
    111,   115,   118,   121,   125,   129,   132,   136,   140,   144,   149,   153,   158,   162,   167,
    172,   179,   182,   187,   193,   198,   204,   210,   216,   223,   229,   236,   243,   250,   257,
    265,   273,   281,   289,   297,   306,   315,   324,   334,   344,   354,   364,   375,   386,   397,
    409,   420,   433,   445,   459,   472,   486,   500,   515,   530,   545,   561,   578,   595,   612,
    630,   648,   667,   687,   707,   728,   749,   771,   794,   817,   841,   866,   891,   917,   944,
    972,   1000,  1030,  1060,  1090,  1123,  1155,  1190,  1224,  1260,  1297,  1335,  1374,  1414,  1456,
    1498,  1542,  1587,  1634,  1682,  1731,  1782,  1834,  1888,  1943,  2000,  2059,  2119,  2181,  2245,
    2311,  2378,  2448,  2520,  2594,  2670,  2748,  2828,  2911,  2997,  3084,  3175,  3268,  3364,  3462,
    3564,  3668,  3776,  3886,  4000,  4117,  4238,  4362,  4490,  4621,  4757,  4896,  5040,  5187,  5339,
    5496,  5657,  5823,  5993,  6169,  6350,  6536,  6727,  6924,  7127,  7336,  7551,  7772,  8000,  8234,
    8476,  8724,  8980,  9243,  9514,  9792,  10000, 10300, 10600, 10900, 11300, 11600, 11900, 12300, 12600,
    13000, 13400, 13800, 14200, 14600, 15100, 15500, 16000, 16400, 16900, 17400, 17900, 18400, 19000, 19500,
    20100, 20700, 21300, 21900};

const std::array<double, 181> GainTable = [] {
    std::array<double, 181> t{};
    for (int i = 0; i < 181; ++i)
        t[i] = (2 * i - 240) / 10.0; // the nearest double to each decimal step, so texts print short
    return t;
}();

const std::array<double, 79> QTable = {
    0.267,  0.283,  0.317,  0.35,   0.366,  0.399,  0.431,  0.463,  0.511,  0.542,  0.589,  0.621,
    0.667,  0.713,  0.758,  0.804,  0.865,  0.924,  0.985,  1.045,  1.104,  1.179,  1.252,  1.326,
    1.414,  1.502,  1.59,   1.693,  1.795,  1.897,  2.014,  2.145,  2.276,  2.407,  2.552,  2.711,
    2.871,  3.045,  3.219,  3.422,  3.624,  3.842,  4.072,  4.319,  4.564,  4.839,  5.128,  5.445,
    5.764,  6.111,  6.472,  6.864,  7.266,  7.697,  8.16,   8.634,  9.155,  9.704,  10.279, 10.884,
    11.538, 12.947, 14.54,  16.314, 18.32,  20.558, 23.081, 25.909, 29.085, 32.646, 36.643, 41.137,
    46.165, 51.839, 58.172, 65.28,  73.27,  82.534, 92.302};

int clampFreqCode(int code) { return std::clamp(code, 0, MaxFreqCode); }
int clampGainCode(int code) { return std::clamp(code, 0, MaxGainCode); }
int clampQCode(int code) { return std::clamp(code, 0, MaxQCode); }
int clampLevelCode(int code) { return std::clamp(code, 0, MaxLevelCode); }
int clampDelayCode(int code) { return std::clamp(code, 0, MaxDelayCode); }

int NearestIndex(std::span<const double> table, double x)
{
    const int n = int(table.size());
    for (int i = 1; i < n; ++i) {
        if (x <= table[i])
            return (x - table[i - 1] > table[i] - x) ? i : i - 1;
    }
    // Callers limit the value first; past the end the last entry is the nearest.
    return x < table[0] ? 0 : n - 1;
}

const std::array<const char *, 12> CrossoverTypeNames = {
    "12db-Bworth", "12db-LR",    "12db-Bessel", "18db-Bworth", "18db-LR",    "18db-Bessel",
    "24db-Bworth", "24db-LR",    "24db-Bessel", "48db-Bworth", "48db-LR",    "48db-Bessel"};

const std::array<const char *, 5> EqTypeNames = {"PEQ", "LS 6dB", "LS 12dB", "HS 6dB", "HS 12dB"};

const std::array<const char *, 32> DefaultPresetNames = {
    "Pre0",  "Pre1",  "Pre2",  "Pre3",  "Pre4",  "Pre5",  "Pre6",  "Usr7",  "Usr8",  "Usr9",  "PreA",
    "PreB",  "PreC",  "PreD",  "PreE",  "PreF",  "Usr17", "Usr18", "Usr19", "Usr20", "Usr21", "Usr22",
    "Usr23", "Usr24", "Usr25", "Usr26", "PreA",  "PreB",  "PreC",  "PreD",  "PreE",  "PreF"};

QString crossoverTypeName(int code)
{
    return (code >= 0 && code <= MaxCrossoverType) ? QString::fromLatin1(CrossoverTypeNames[code]) : QString();
}

QString eqTypeName(int code)
{
    return (code >= 0 && code <= MaxEqType) ? QString::fromLatin1(EqTypeNames[code]) : QString();
}

} // namespace spk
