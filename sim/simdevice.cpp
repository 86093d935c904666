#include "simdevice.h"

#include "model/layout.h"

namespace spk::sim {

using namespace SimWireFormat;

QByteArray SimDevice::versionTextDefault()
{
    return QByteArrayLiteral("QUENDAL29 V2.1.0        ");
}

SimDevice::SimDevice(int id, quint32 seed)
    : m_sysData(SysDataSize, '\0'), m_version(versionTextDefault()), m_meter(seed)
{
    for (int n = 1; n <= PresetCount; ++n) {
        m_presets[n] = factoryImage(n);
        m_names[n] = factoryName(n);
    }
    m_image = m_presets[1];
    m_sysData[0] = 1;
    setId(id);
    m_changes = 0;
}

void SimDevice::setId(int id)
{
    if (id < MinId || id > MaxId) return;
    m_id = id;
    m_sysData[3] = char(id);
    ++m_changes;
}

void SimDevice::setImage(const QByteArray &bytes)
{
    m_image = bytes.left(ImageSize).leftJustified(ImageSize, '\0');
    ++m_changes;
}

QByteArray SimDevice::preset(int n) const
{
    return n >= 1 && n <= PresetCount ? m_presets[n] : QByteArray();
}

void SimDevice::setPreset(int n, const QByteArray &bytes)
{
    if (n < 1 || n > PresetCount) return;
    m_presets[n] = bytes.left(ImageSize).leftJustified(ImageSize, '\0');
    ++m_changes;
}

QByteArray SimDevice::presetName(int n) const
{
    return n >= 1 && n <= PresetCount ? m_names[n] : QByteArray();
}

void SimDevice::setPresetName(int n, const QByteArray &name)
{
    if (n < 1 || n > PresetCount) return;
    m_names[n] = name.left(NameLength).leftJustified(NameLength, '\0');
    ++m_changes;
}

void SimDevice::setSysData(const QByteArray &bytes)
{
    const QByteArray data = bytes.left(SysDataSize).leftJustified(SysDataSize, '\0');
    const int id = quint8(data.at(3));
    m_sysData = data;
    // The ID lives in byte 3; a value outside 1..250 would leave the device unreachable.
    if (id >= MinId && id <= MaxId)
        m_id = id;
    else
        m_sysData[3] = char(m_id);
    ++m_changes;
}

void SimDevice::setVersionText(const QByteArray &text)
{
    m_version = text.left(MaxLength);
}

QByteArray SimDevice::names() const
{
    QByteArray out;
    for (int n = 1; n <= PresetCount; ++n)
        out.append(m_names[n]);
    return out;
}

QByteArray SimDevice::handle(const SimFrame &request, bool answer)
{
    if (request.dir == DirWrite) {
        write(request);
        return {};
    }
    if (request.dir != DirRead || !request.data.isEmpty()) return {};
    const QByteArray data = reply(request);
    if (data.isNull() || !answer) return {};
    return simReply(request, idByte(), data);
}

// Reads; a null array means "no reply". A recall changes state even when not answered.
QByteArray SimDevice::reply(const SimFrame &r)
{
    switch (r.cmd) {
    case SimCmd::ReadSysData:
        return m_sysData;
    case SimCmd::ReadNames:
        return names();
    case SimCmd::OneGroup:
        if (r.slot == 0) return m_image;
        if (r.slot > PresetCount) return {};
        m_image = m_presets[r.slot];
        m_sysData[0] = char(r.slot);
        ++m_changes;
        return m_image;
    case SimCmd::StoredGroup:
        if (r.slot < 1 || r.slot > PresetCount) return {};
        return m_presets[r.slot];
    case SimCmd::Meter:
        return SimMeter::replyData(m_meter.sample());
    case SimCmd::Version:
        return m_version.isNull() ? QByteArray("") : m_version;
    default:
        return {};
    }
}

void SimDevice::write(const SimFrame &r)
{
    const int len = int(r.data.size());
    if (r.cmd <= SimCmd::GrpOp2) {
        const ChannelGroup &group = ChannelGroups[r.cmd];
        if (len != RecordSize || r.sub >= group.recordCount) return;
        m_image.replace((group.firstRecord + r.sub) * RecordSize, RecordSize, r.data);
        ++m_changes;
        return;
    }
    switch (r.cmd) {
    case SimCmd::WriteSysData: {
        if (len != 8) return;
        QByteArray sys = m_sysData;
        sys.replace(0, 8, r.data);
        setSysData(sys); // the new ID answers from the next frame on
        return;
    }
    case SimCmd::WriteName:
        if (len != NameLength || r.slot < 1 || r.slot > PresetCount) return;
        m_presets[r.slot] = m_image;
        m_names[r.slot] = r.data;
        m_sysData[0] = char(r.slot);
        ++m_changes;
        return;
    case SimCmd::OneGroup:
        if (len != ImageSize || r.slot != 0) return;
        m_image = r.data;
        ++m_changes;
        return;
    case SimCmd::StoredGroup:
        if (len != ImageSize || r.slot < 1 || r.slot > PresetCount) return;
        m_presets[r.slot] = r.data;
        ++m_changes;
        return;
    default:
        return;
    }
}

} // namespace spk::sim
