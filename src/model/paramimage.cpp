#include "model/paramimage.h"

#include <algorithm>

namespace spk {

void ParamImage::setRecord(int r, const std::array<std::uint8_t, RecordSize> &bytes)
{
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + r * RecordSize);
}

void ParamImage::setBytes(std::span<const std::uint8_t> bytes)
{
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), ImageSize), m_bytes.begin());
}

void ParamImage::initDefaults()
{
    for (int c = 0; c < ChannelCount; ++c) {
        setRecord(levelRecord(c), DefaultLevelRecord);
        setRecord(crossoverRecord(c), DefaultCrossoverRecord);
        if (c != Ip0)
            setRecord(outputThirdRecord(c), DefaultThirdRecord);
        for (int k = 0; k < BandCount; ++k) {
            setRecord(bandRecord(c, k), DefaultBandRecord);
            setByte(bandRecord(c, k), BandByte::Freq, 10 * k);
        }
    }
}

} // namespace spk
