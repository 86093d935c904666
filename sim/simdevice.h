#pragma once

#include "simframe.h"
#include "simmeter.h"

#include <array>

namespace spk::sim {

// One processor: its working image, stored presets with names, system data, version text and
// meter. Takes well-formed request frames and returns the reply bytes, if any.
class SimDevice
{
public:
    static constexpr int ImageSize = 640;
    static constexpr int SysDataSize = 48;
    static constexpr int PresetCount = 20;
    static constexpr int NameLength = 20;
    static constexpr int VersionLength = 24;
    static constexpr int MinId = 1, MaxId = 250;

    // "QUENDAL29 V2.1.0" and eight spaces.
    static QByteArray versionTextDefault();
    // Factory contents of stored preset n (1..20); the working image starts as preset 1.
    static QByteArray factoryImage(int preset);
    static QByteArray factoryName(int preset);

    explicit SimDevice(int id = 1, quint32 seed = 1);

    int id() const { return m_id; }
    quint8 idByte() const { return quint8(m_id - 1); }
    void setId(int id); // 1..250; also system data byte 3

    // Handles one request frame. The reply frame comes back when `answer` is set (a broadcast is
    // taken but not answered); writes, unknown commands and bad requests give an empty array.
    QByteArray handle(const SimFrame &request, bool answer = true);

    QByteArray image() const { return m_image; }
    void setImage(const QByteArray &bytes);
    QByteArray preset(int n) const;
    void setPreset(int n, const QByteArray &bytes);
    QByteArray presetName(int n) const;
    void setPresetName(int n, const QByteArray &name);
    QByteArray sysData() const { return m_sysData; }
    void setSysData(const QByteArray &bytes); // byte 3 is kept as the ID when it is 1..250
    int lastPreset() const { return quint8(m_sysData.at(0)); }

    QByteArray versionText() const { return m_version; }
    // Lets tests make the device report another version: the reply carries exactly these bytes
    // (at most 640), so a short text gives a short reply.
    void setVersionText(const QByteArray &text);

    SimMeter &meter() { return m_meter; }
    const SimMeter &meter() const { return m_meter; }

    // Grows on every change of memory (image, presets, names, system data); for saving state.
    quint64 changeCount() const { return m_changes; }

private:
    QByteArray reply(const SimFrame &request);
    void write(const SimFrame &request);
    QByteArray names() const;

    int m_id = 1;
    QByteArray m_image;
    std::array<QByteArray, PresetCount + 1> m_presets; // entry 0 unused
    std::array<QByteArray, PresetCount + 1> m_names;
    QByteArray m_sysData;
    QByteArray m_version;
    SimMeter m_meter;
    quint64 m_changes = 0;
};

} // namespace spk::sim
