#pragma once

#include "filters/graphgeometry.h"
#include "filters/section.h"

namespace spk {

// Response of the high-pass and low-pass crossover filters: a cascade of up to four sections designed
// at 96 kHz. Frequency codes above 243 act as 243 and type codes above 11 as 11 ("48db-Bessel").
// Each call resizes `out` to the grid's column count and overwrites every value.
void CalHpfCurve(int freqCode, int typeCode, Curve &out,
                 const FrequencyGrid &grid = FrequencyGrid::standard());
void CalLpfCurve(int freqCode, int typeCode, Curve &out,
                 const FrequencyGrid &grid = FrequencyGrid::standard());

} // namespace spk
