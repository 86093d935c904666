#pragma once

#include <QStringList>

namespace spk {

class ParamImage;
class ChannelResponse;

// Every parameter of an image, one per line, in the texts the editor window shows.
QStringList describeImage(const ParamImage &image);

// The summed response as CSV: a header, then column, frequency (Hz), magnitude (dB) and phase (rad).
QStringList responseCsv(const ChannelResponse &response);

} // namespace spk
