#pragma once

#include "model/layout.h"

#include <array>
#include <cstdint>
#include <span>

namespace spk {

// Exact copy of the device's working parameter block. Bytes are kept as received: codes
// outside the tables are clamped only where they are looked up.
class ParamImage
{
public:
    ParamImage() { m_bytes.fill(0); }

    std::uint8_t &operator[](int index) { return m_bytes[index]; }
    std::uint8_t operator[](int index) const { return m_bytes[index]; }

    std::uint8_t byte(int record, int offset) const { return m_bytes[record * RecordSize + offset]; }
    void setByte(int record, int offset, int value) { m_bytes[record * RecordSize + offset] = std::uint8_t(value); }
    // 16-bit codes are little-endian inside the image.
    int word(int record, int offset) const { return byte(record, offset) | (byte(record, offset + 1) << 8); }
    void setWord(int record, int offset, int value)
    {
        setByte(record, offset, value & 0xFF);
        setByte(record, offset + 1, (value >> 8) & 0xFF);
    }

    std::span<const std::uint8_t, RecordSize> record(int r) const
    {
        return std::span<const std::uint8_t, RecordSize>(m_bytes.data() + r * RecordSize, RecordSize);
    }
    void setRecord(int r, const std::array<std::uint8_t, RecordSize> &bytes);

    std::span<const std::uint8_t, ImageSize> bytes() const { return m_bytes; }
    void setBytes(std::span<const std::uint8_t> bytes); // copies up to 640 bytes

    // The defaults written before anything is read from a device.
    void initDefaults();

private:
    std::array<std::uint8_t, ImageSize> m_bytes;
};

inline constexpr std::array<std::uint8_t, RecordSize> DefaultLevelRecord = {0, 0, 0, 0, 0, 0, 0, 0};
inline constexpr std::array<std::uint8_t, RecordSize> DefaultCrossoverRecord = {0, 0, 0, 0, 240, 0, 0, 0};
inline constexpr std::array<std::uint8_t, RecordSize> DefaultThirdRecord = {20, 0, 0, 0, 0, 0, 0, 0};
// Band k gets frequency code 10k.
inline constexpr std::array<std::uint8_t, RecordSize> DefaultBandRecord = {0, 0, 120, 0, 0, 0, 42, 0};

} // namespace spk
