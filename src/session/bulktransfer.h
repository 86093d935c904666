#pragma once

#include "model/layout.h"
#include "protocol/commands.h"
#include "session/devicesession.h"
#include "session/presetactivity.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <array>
#include <cstdint>

namespace spk {

// All twenty stored presets at once, paced by timers instead of acknowledgements:
// - reading (save all): tmr_apply20grp asks for preset BulkIndex every 1200 ms; the replies are kept
//   by their slot; after the reply to the last request, presetsRead hands them on;
// - writing (load all): tmr_send20grp writes preset BulkIndex every 1500 ms from its own copy of
//   the records, then the device's names, system data and image are read again.
class BulkTransfer : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReReadWaitMs = 600;
    static constexpr int BarStep = 5;

    BulkTransfer(const SessionParts &parts, PresetActivity &activity, QObject *parent = nullptr);
    void attach();

    void startReading();
    // records: twenty valid records (1304 hex characters), record k for preset k + 1.
    void startWriting(const QList<QByteArray> &records);

    void tmr_apply20grpTimer();
    void tmr_send20grpTimer();
    void Ack_Rw_20_Group_proc(const ReplyFrame &reply);

    // The body of the last preset written: 640 data bytes, checksum, end byte.
    const std::array<std::uint8_t, BulkBufferSize> &BulkBuffer() const { return m_bulkBuffer; }

signals:
    // Reading is over: the records that came, in preset order, and the numbers of those that did not.
    void presetsRead(const QList<QByteArray> &records, const QList<int> &missing);

private:
    void finishReading();
    void forget();

    SessionParts m_parts;
    EditorState &m_state;
    PresetActivity &m_activity;
    std::array<QByteArray, PresetCount> m_read;
    QList<std::array<std::uint8_t, ImageSize>> m_toWrite;
    std::array<std::uint8_t, BulkBufferSize> m_bulkBuffer{};
};

} // namespace spk
