#pragma once

// Frame constants and command codes of the device protocol.
//
//   A5 A5 A5 | id | dir | slot | cmd | sub | len hi | len lo | data[len] | xor(id..data) | AA
//
// Command codes keep the device's own names (CMD_*). Directions: DirWrite (0xA1) and DirRead (0xA2)
// from the editor, DirReply (0x52) from the device.

#include <cstdint>

namespace spk {

inline constexpr std::uint8_t CMD_Grp_ip0 = 0x00;
inline constexpr std::uint8_t CMD_Grp_op0 = 0x01;
inline constexpr std::uint8_t CMD_Grp_op1 = 0x02;
inline constexpr std::uint8_t CMD_Grp_op2 = 0x03;
inline constexpr std::uint8_t CMD_W_SysData = 0x21;
inline constexpr std::uint8_t CMD_R_AllSysData = 0x22;
inline constexpr std::uint8_t CMD_R_20_Username = 0x26;
inline constexpr std::uint8_t CMD_W_ProName = 0x27;
inline constexpr std::uint8_t CMD_RW_One_Group = 0x28;
inline constexpr std::uint8_t CMD_Rw_20_Group = 0x29;
inline constexpr std::uint8_t CMD_Meter = 0x2B;
inline constexpr std::uint8_t CMD_Version = 0xA0;

inline constexpr std::uint8_t DirWrite = 0xA1;
inline constexpr std::uint8_t DirRead = 0xA2;
inline constexpr std::uint8_t DirReply = 0x52;

inline constexpr std::uint8_t SyncByte = 0xA5;
inline constexpr std::uint8_t EndByte = 0xAA;
inline constexpr std::uint8_t BroadcastIdByte = 0xFF;

inline constexpr int FrameHeaderSize = 10; // sync .. length
inline constexpr int FrameOverhead = 12;   // header, checksum, end byte
inline constexpr int HidReportSize = 65;   // report ID 0 and 64 bytes
inline constexpr int HidPayloadSize = 64;
inline constexpr int BulkDataSize = 640;
inline constexpr int BulkBufferSize = 642; // data, checksum, end byte
inline constexpr int MaxReplyLength = 640; // the longest reply the device sends

// Data lengths of the replies.
inline constexpr int MeterReplyLength = 8;
inline constexpr int VersionReplyLength = 24;
inline constexpr int SysDataReplyLength = 48;
inline constexpr int NamesReplyLength = 400;
inline constexpr int ImageReplyLength = 640;

} // namespace spk
