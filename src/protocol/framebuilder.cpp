#include "protocol/framebuilder.h"

#include "model/layout.h"

#include <algorithm>

namespace spk {

namespace {

// A frame under construction: AddSendstrHead, then data, then the checksum and end byte.
class FrameWriter
{
public:
    FrameWriter(LinkState &state, int direction, int slot, int command, int sub, int length)
    {
        m_bytes.reserve(FrameOverhead + length);
        m_bytes.append(char(SyncByte)).append(char(SyncByte)).append(char(SyncByte));
        const std::uint8_t id = FrameBuilder::deviceIdByte(state, command);
        m_checksum = id;
        m_bytes.append(char(id));
        for (int v : {direction, slot, command, sub, (length >> 8) & 0xFF, length & 0xFF})
            add(v);
    }

    void add(int value)
    {
        m_bytes.append(char(value & 0xFF));
        m_checksum ^= std::uint32_t(value);
    }
    void addData(std::span<const std::uint8_t> data)
    {
        for (std::uint8_t b : data)
            add(b);
    }
    std::uint8_t checksum() const { return std::uint8_t(m_checksum & 0xFF); }
    const QByteArray &bytes() const { return m_bytes; }

    Frame finish()
    {
        m_bytes.append(char(checksum())).append(char(EndByte));
        return Frame{m_bytes, FrameBuilder::hidReport(m_bytes)};
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_checksum = 0;
};

} // namespace

std::uint8_t FrameBuilder::deviceIdByte(LinkState &state, int command)
{
    std::uint8_t id = std::uint8_t(state.DevIdByte & 0xFF);
    if (command == CMD_Meter && state.Broadcast) id = std::uint8_t(state.PickedIdIndex & 0xFF);
    if (state.TargetOnce) {
        state.TargetOnce = false;
        id = std::uint8_t(state.PickedIdIndex & 0xFF);
    }
    return id;
}

Frame FrameBuilder::readRequest(LinkState &state, int slot, int command, int sub)
{
    if (!state.Connected) return {};
    return FrameWriter(state, DirRead, slot, command, sub, 0).finish();
}

Frame FrameBuilder::write8(LinkState &state, int slot, int command, int sub,
                           std::span<const std::uint8_t, RecordSize> values)
{
    if (!state.Connected) return {};
    FrameWriter w(state, DirWrite, slot, command, sub, RecordSize);
    w.addData(values);
    return w.finish();
}

Frame FrameBuilder::recordWrite(LinkState &state, const ParamImage &image, int record)
{
    const std::optional<RecordAddress> address = addressOfRecord(record);
    if (!address) return {};
    return write8(state, 0, address->command, address->sub, image.record(record));
}

Frame FrameBuilder::systemRecordWrite(LinkState &state, const SysData &sysData)
{
    return write8(state, 0, CMD_W_SysData, 0,
                  std::span<const std::uint8_t, RecordSize>(sysData.bytes.data(), RecordSize));
}

Frame FrameBuilder::nameWrite(LinkState &state, const SysData &sysData, const PresetNames &names)
{
    if (!state.Connected) return {};
    const int slot = sysData.bytes[SysData::LastPreset];
    // The slot byte comes from the system block; a slot without a name entry sends zero codes.
    static const PresetName noName{};
    const PresetName &name = slot <= PresetCount ? names.entries[slot] : noName;
    FrameWriter w(state, DirWrite, slot, CMD_W_ProName, 0, NameLength);
    w.addData(name);
    return w.finish();
}

BulkWrite FrameBuilder::bulkWrite(LinkState &state, int slot, int command, std::span<const std::uint8_t> data)
{
    BulkWrite bulk;
    if (!state.Connected) return bulk;
    FrameWriter w(state, DirWrite, slot, command, 0, BulkDataSize);
    bulk.header = Frame{w.bytes(), hidReport(w.bytes())};
    const std::size_t n = std::min<std::size_t>(data.size(), BulkDataSize);
    std::copy_n(data.begin(), n, bulk.BulkBuffer.begin());
    // The checksum runs on from the header over the data.
    w.addData(std::span<const std::uint8_t>(bulk.BulkBuffer.data(), BulkDataSize));
    bulk.BulkBuffer[BulkDataSize] = w.checksum();
    bulk.BulkBuffer[BulkDataSize + 1] = EndByte;
    bulk.TxFrame = QByteArray(reinterpret_cast<const char *>(bulk.BulkBuffer.data()), BulkBufferSize);
    bulk.hidReports = UsbHidSendBigData(bulk.BulkBuffer);
    return bulk;
}

QByteArray FrameBuilder::hidReport(const QByteArray &frameBytes)
{
    QByteArray report(HidReportSize, '\0');
    const int n = std::min<int>(int(frameBytes.size()), HidPayloadSize);
    std::copy_n(frameBytes.constData(), n, report.data() + 1);
    return report;
}

QList<QByteArray> FrameBuilder::UsbHidSendBigData(const std::array<std::uint8_t, BulkBufferSize> &bulkBuffer)
{
    QList<QByteArray> reports;
    for (int k = 0; k <= BulkDataSize / HidPayloadSize; ++k) {
        QByteArray report(HidReportSize, '\0');
        for (int i = 0; i < HidPayloadSize; ++i) {
            const int at = k * HidPayloadSize + i;
            if (at < BulkBufferSize) report[1 + i] = char(bulkBuffer[at]);
        }
        reports.append(report);
    }
    // The last report goes twice; the device ignores what follows the end byte.
    reports.append(reports.last());
    return reports;
}

} // namespace spk
