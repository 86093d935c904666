#include "simstate.h"

#include "simbus.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace spk::sim::SimState {

namespace {

constexpr QLatin1String Format("spksim-state");

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(simHex(bytes));
}

bool bytesOf(const QJsonValue &value, int size, QByteArray *out)
{
    bool ok = false;
    *out = simFromHex(value.toString().toLatin1(), &ok);
    return ok && out->size() == size;
}

struct DeviceMemory
{
    int id = 0;
    QByteArray sysData, image;
    QByteArray presets[SimDevice::PresetCount + 1];
    QByteArray names[SimDevice::PresetCount + 1];
    bool hasPreset[SimDevice::PresetCount + 1] = {};
};

bool readDevice(const QJsonObject &o, DeviceMemory *m, QString *why)
{
    m->id = o.value("id").toInt(0);
    if (!bytesOf(o.value("sysdata"), SimDevice::SysDataSize, &m->sysData)) {
        *why = QStringLiteral("bad sysdata");
        return false;
    }
    if (!bytesOf(o.value("image"), SimDevice::ImageSize, &m->image)) {
        *why = QStringLiteral("bad image");
        return false;
    }
    for (const QJsonValue &pv : o.value("presets").toArray()) {
        const QJsonObject p = pv.toObject();
        const int slot = p.value("slot").toInt(0);
        if (slot < 1 || slot > SimDevice::PresetCount ||
            !bytesOf(p.value("name"), SimDevice::NameLength, &m->names[slot]) ||
            !bytesOf(p.value("image"), SimDevice::ImageSize, &m->presets[slot])) {
            *why = QStringLiteral("bad preset");
            return false;
        }
        m->hasPreset[slot] = true;
    }
    return true;
}

} // namespace

QByteArray toJson(const SimBus &bus)
{
    QJsonArray devices;
    for (const SimDevice *d : bus.devices()) {
        QJsonArray presets;
        for (int n = 1; n <= SimDevice::PresetCount; ++n)
            presets.append(
                QJsonObject{{"slot", n}, {"name", hex(d->presetName(n))}, {"image", hex(d->preset(n))}});
        devices.append(QJsonObject{{"id", d->id()},
                                   {"sysdata", hex(d->sysData())},
                                   {"image", hex(d->image())},
                                   {"presets", presets}});
    }
    const QJsonObject root{{"format", Format}, {"version", 1}, {"devices", devices}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool fromJson(const QByteArray &json, SimBus &bus, QString *error)
{
    if (json.size() > MaxFileSize) {
        if (error) *error = QStringLiteral("larger than %1 bytes").arg(MaxFileSize);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = doc.object();
    QString why;
    if (doc.isNull())
        why = parseError.errorString();
    else if (root.value("format").toString() != Format || root.value("version").toInt() != 1)
        why = QStringLiteral("not a spksim state file");
    // Read everything before touching a device: a damaged file changes nothing.
    const QJsonArray list = root.value("devices").toArray();
    if (why.isEmpty() && list.size() > MaxDevices)
        why = QStringLiteral("more than %1 devices").arg(MaxDevices);
    std::vector<DeviceMemory> memory;
    for (qsizetype k = 0; why.isEmpty() && k < list.size(); ++k) {
        DeviceMemory m;
        if (readDevice(list.at(k).toObject(), &m, &why))
            memory.push_back(std::move(m));
        else
            why = QStringLiteral("device %1: %2").arg(k + 1).arg(why);
    }
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    // A device of the file goes to the device of the line with its ID; one whose ID the line does
    // not have (given a new ID last run) goes to the first device no other took, and keeps its ID.
    QList<SimDevice *> free = bus.devices();
    std::vector<SimDevice *> target(memory.size(), nullptr);
    for (size_t k = 0; k < memory.size(); ++k) {
        SimDevice *d = bus.device(memory[k].id);
        if (d && free.removeOne(d)) target[k] = d;
    }
    for (size_t k = 0; k < memory.size() && !free.isEmpty(); ++k)
        if (!target[k]) target[k] = free.takeFirst();
    for (size_t k = 0; k < memory.size(); ++k) {
        SimDevice *d = target[k];
        if (!d) continue;
        const DeviceMemory &m = memory[k];
        d->setSysData(m.sysData);
        d->setImage(m.image);
        for (int n = 1; n <= SimDevice::PresetCount; ++n)
            if (m.hasPreset[n]) {
                d->setPreset(n, m.presets[n]);
                d->setPresetName(n, m.names[n]);
            }
    }
    return true;
}

bool load(const QString &path, SimBus &bus, QString *error)
{
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // One byte past the bound is enough to refuse the file without reading it all.
    QString why;
    if (!fromJson(file.read(MaxFileSize + 1), bus, &why)) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool save(const QString &path, const SimBus &bus, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson(bus)) < 0 || !file.commit()) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace spk::sim::SimState
