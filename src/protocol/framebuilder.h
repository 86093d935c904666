#pragma once

// FrameBuilder: the exact bytes of every frame the editor sends, in serial form (TxFrame) and as the
// 65-byte HID report (report ID 0, the frame, zero fill). Nothing is built while
// LinkState::Connected is clear: every builder then returns an empty result and leaves the state as
// it was. Building a frame picks its device ID byte and may consume LinkState::TargetOnce.
//
//   readRequest(state, slot, cmd, sub)          Send_Readcmd_tomcu: 12 bytes, direction 0xA2
//   write8(state, slot, cmd, sub, 8 bytes)      Send_Write8Byte_CmdtoMCU: 20 bytes, direction 0xA1
//   recordWrite(state, image, record)           record 0..74 with its group command and sub-index
//   systemRecordWrite(state, sysData)           CMD_W_SysData with SysData bytes 0..7
//   nameWrite(state, sysData, names)            the frame of Send_WriteProName_CmttoMCU
//   bulkWrite(state, slot, cmd, 640 bytes)      header alone, then 642 bytes / 12 HID reports
//   meterPoll(state)                            readRequest(state, 0, CMD_Meter, 0)
//   deviceIdByte(state, cmd)                    the ID byte rule (consumes TargetOnce)
//   hidReport(bytes), UsbHidSendBigData(buf)    HID packing

#include "model/paramimage.h"
#include "model/sysdata.h"
#include "protocol/commands.h"
#include "protocol/linkstate.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>
#include <span>

namespace spk {

// One frame ready for either link.
struct Frame
{
    QByteArray TxFrame;   // serial bytes
    QByteArray hidReport; // 65 bytes: 0, the frame (at most 64 bytes of it), zero fill
    bool isEmpty() const { return TxFrame.isEmpty(); }
};

// A 640-byte write: the header goes first on its own, then the rest.
struct BulkWrite
{
    Frame header;                                          // 10 bytes / one HID report
    std::array<std::uint8_t, BulkBufferSize> BulkBuffer{}; // data, checksum, 0xAA
    QByteArray TxFrame;                                    // serial: the 642 bytes in one write
    QList<QByteArray> hidReports;                          // HID: UsbHidSendBigData's 12 reports
    bool isEmpty() const { return header.isEmpty(); }
};

class FrameBuilder
{
public:
    static std::uint8_t deviceIdByte(LinkState &state, int command);

    static Frame readRequest(LinkState &state, int slot, int command, int sub);
    static Frame write8(LinkState &state, int slot, int command, int sub,
                        std::span<const std::uint8_t, RecordSize> values);
    static Frame recordWrite(LinkState &state, const ParamImage &image, int record);
    static Frame systemRecordWrite(LinkState &state, const SysData &sysData);
    static Frame nameWrite(LinkState &state, const SysData &sysData, const PresetNames &names);
    static Frame meterPoll(LinkState &state) { return readRequest(state, 0, CMD_Meter, 0); }
    // Data shorter than 640 bytes is zero-filled; longer data is cut.
    static BulkWrite bulkWrite(LinkState &state, int slot, int command, std::span<const std::uint8_t> data);

    static QByteArray hidReport(const QByteArray &frameBytes);
    static QList<QByteArray> UsbHidSendBigData(const std::array<std::uint8_t, BulkBufferSize> &bulkBuffer);
};

} // namespace spk
