#pragma once

#include <QStringList>

namespace spk {

class ParamImage;
class ChannelResponse;
class FrequencyGrid;
struct Curve;

// Every parameter of an image, one per line, in the texts the editor window shows.
QStringList describeImage(const ParamImage &image);

// The summed response as CSV: a header, then column, frequency (Hz), magnitude (dB) and phase (rad).
QStringList responseCsv(const ChannelResponse &response);
// Any curve over the graph's columns in the same CSV; a null curve (a muted output) gives the header alone.
QStringList curveCsv(const Curve *curve, const FrequencyGrid &grid);

} // namespace spk
