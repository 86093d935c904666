#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <QString>

namespace spk {

// The 48-byte system block; bytes 0..7 form the system record that is written back.
struct SysData
{
    static constexpr int Size = 48;
    static constexpr int LastPreset = 0; // 1..20, anything else arrives as 0
    static constexpr int DeviceId = 3;   // 1..250
    std::array<std::uint8_t, Size> bytes{};

    // Takes a system-data reply; a last-preset byte outside 1..20 becomes 0.
    void assign(std::span<const std::uint8_t> data);
};

inline constexpr int PresetCount = 20;
inline constexpr int NameLength = 20;
using PresetName = std::array<std::uint8_t, NameLength>;

// Names of the stored presets; entry n is preset n (1..20), entry 0 unused.
struct PresetNames
{
    std::array<PresetName, PresetCount + 1> entries{};
};

// A stored name as shown: codes 0 become spaces, no trimming; empty when any nonzero code is outside 32..127.
QString displayName(const PresetName &name);
// A typed name as stored: its first 20 characters, then spaces.
PresetName storedName(const QString &trimmed);

} // namespace spk
