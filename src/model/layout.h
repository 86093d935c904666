#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace spk {

// The 640-byte parameter block: 80 records of 8 bytes in four channel groups.
inline constexpr int ImageSize = 640;
inline constexpr int RecordSize = 8;
inline constexpr int RecordCount = 80;
inline constexpr int BandCount = 10;

// Channel selector used by the graph and the editors.
enum Channel { Ip0 = 0, Op0 = 1, Op1 = 2, Op2 = 3 };
inline constexpr int ChannelCount = 4;

struct ChannelGroup
{
    const char *name;     // "ip0", "op0", ...
    int firstRecord;      // record of sub-index 0
    int recordCount;      // records written one by one with the group's command
    std::uint8_t command; // write command of the group
    int firstBandSub;     // sub-index of EQ band 1
    int crossoverSub;     // sub-index of the crossover record
};

// Records 75..79 belong to no group; they travel only in bulk transfers.
inline constexpr std::array<ChannelGroup, ChannelCount> ChannelGroups = {{
    {"ip0", 0, 18, 0x00, 2, 1},
    {"op0", 18, 19, 0x01, 3, 1},
    {"op1", 37, 19, 0x02, 3, 1},
    {"op2", 56, 19, 0x03, 3, 1},
}};

constexpr int levelRecord(int channel) { return ChannelGroups[channel].firstRecord; }
constexpr int crossoverRecord(int channel)
{
    return ChannelGroups[channel].firstRecord + ChannelGroups[channel].crossoverSub;
}
constexpr int bandRecord(int channel, int band)
{
    return ChannelGroups[channel].firstRecord + ChannelGroups[channel].firstBandSub + band;
}
// The outputs' third record (sub-index 2) has no control; its default byte 0 is 20.
constexpr int outputThirdRecord(int channel) { return ChannelGroups[channel].firstRecord + 2; }

// Where a record is written record by record: its group and sub-index; none for records 75..79.
struct RecordAddress
{
    int channel;
    int sub;
    std::uint8_t command;
};
std::optional<RecordAddress> addressOfRecord(int record);

// Byte offsets inside the three kinds of record.
namespace LevelByte {
inline constexpr int Mute = 0, Polarity = 1, Level = 2, Delay = 4;
}
namespace CrossoverByte {
inline constexpr int HpfFreq = 0, HpfType = 1, LpfFreq = 4, LpfType = 5;
}
namespace BandByte {
inline constexpr int Freq = 0, Type = 1, Gain = 2, Bypass = 4, Q = 6;
}

} // namespace spk
