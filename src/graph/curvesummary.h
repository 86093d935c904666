#pragma once

#include <QString>

namespace spk {

class ParamImage;

// The curve of a channel in words, one line a filter: the crossover's types and frequencies, then
// each EQ band's type, frequency and, where the type uses them, gain and Q ("EQ 3: PEQ, 1000.0Hz,
// 3.0dB, Q 4.072"), "bypassed" when it is. What a screen reader reads for the graph.
QString curveSummary(const ParamImage &image, int channel);

} // namespace spk
