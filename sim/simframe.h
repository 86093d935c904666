#pragma once

#include <QByteArray>
#include <QList>

namespace spk::sim {

// The simulator's own frame code, deliberately independent of the editor's so that a fault in one
// cannot hide behind the same fault in the other.
namespace SimWireFormat {
inline constexpr quint8 Sync = 0xA5;
inline constexpr quint8 End = 0xAA;
inline constexpr quint8 DirWrite = 0xA1;
inline constexpr quint8 DirRead = 0xA2;
inline constexpr quint8 DirReply = 0x52;
inline constexpr quint8 BroadcastId = 0xFF;
inline constexpr int HeaderSize = 10;
inline constexpr int Overhead = 12;   // header, checksum, end byte
inline constexpr int MaxLength = 640; // the longest body either side sends
} // namespace SimWireFormat

// Commands the device knows.
namespace SimCmd {
inline constexpr quint8 GrpIp0 = 0x00, GrpOp0 = 0x01, GrpOp1 = 0x02, GrpOp2 = 0x03;
inline constexpr quint8 WriteSysData = 0x21, ReadSysData = 0x22, ReadNames = 0x26, WriteName = 0x27;
inline constexpr quint8 OneGroup = 0x28, StoredGroup = 0x29, Meter = 0x2B, Version = 0xA0;
} // namespace SimCmd

struct SimFrame
{
    quint8 id = 0;
    quint8 dir = 0;
    quint8 slot = 0;
    quint8 cmd = 0;
    quint8 sub = 0;
    QByteArray data;

    bool isBroadcast() const { return id == SimWireFormat::BroadcastId; }
};

// XOR of every byte from the ID byte up to the last data byte.
quint8 simChecksum(const QByteArray &frame);
// A complete frame: sync, header, data, checksum, end byte.
QByteArray simEncode(const SimFrame &frame, quint8 end = SimWireFormat::End);
// A reply to `request` from the device with ID byte `idByte`.
QByteArray simReply(const SimFrame &request, quint8 idByte, const QByteArray &data);

// Header of a frame whose first ten bytes are at hand; false when they do not start a request
// (sync missing, direction not a request, length beyond the longest frame).
bool simParseHeader(const QByteArray &bytes, SimFrame *frame, int *length);

// Upper-case hex without spaces, as the frame log writes it.
QByteArray simHex(const QByteArray &bytes);
// Bytes from hex digits with optional blanks; empty on any bad digit.
QByteArray simFromHex(const QByteArray &text, bool *ok = nullptr);

} // namespace spk::sim
