#include "link/portcatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <unistd.h>

namespace spk {

PortCatalog::~PortCatalog() = default;

void PortCatalog::sortByName(QList<PortInfo> &ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo &a, const PortInfo &b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
}

QList<PortInfo> PortCatalog::ports()
{
    QList<PortInfo> list = scan();
    for (const QString &address : m_network)
        list.append({address, address, PortNone});
    sortByName(list);
    for (PortInfo &p : list)
        p.number = numberOf(p.path);
    return list;
}

void PortCatalog::setNetworkPorts(const QStringList &addresses)
{
    m_network.clear();
    for (const QString &a : addresses)
        addNetworkPort(a);
}

bool PortCatalog::addNetworkPort(const QString &address)
{
    if (address.isEmpty() || m_network.contains(address, Qt::CaseInsensitive)) return false;
    m_network << address;
    return true;
}

QStringList PortCatalog::names()
{
    QStringList out;
    for (const PortInfo &p : ports())
        out << p.name;
    return out;
}

QString PortCatalog::pathOf(int number) const
{
    return m_paths.value(number);
}

int PortCatalog::numberOf(const QString &path)
{
    auto it = m_numbers.constFind(path);
    if (it != m_numbers.constEnd()) return *it;
    if (m_next == PortUsb) ++m_next;
    const int n = m_next++;
    m_numbers.insert(path, n);
    m_paths.insert(n, path);
    return n;
}

QString SystemPortCatalog::virtualPortDir()
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty()) return runtime + QStringLiteral("/spkedit/ports");
    return QStringLiteral("/tmp/spkedit-%1/ports").arg(::getuid());
}

QList<PortInfo> SystemPortCatalog::virtualPorts(const QString &dir)
{
    QList<PortInfo> out;
    const QDir d(dir);
    if (!d.exists()) return out;
    const QFileInfoList entries =
        d.entryInfoList({QStringLiteral("ttySIM*")}, QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo &fi : entries) {
        if (!fi.isSymLink()) continue;
        if (!QFileInfo::exists(fi.symLinkTarget())) {
            QFile::remove(fi.absoluteFilePath());
            continue;
        }
        out.append({fi.fileName(), fi.absoluteFilePath(), PortNone});
    }
    return out;
}

QList<PortInfo> SystemPortCatalog::scan()
{
    QList<PortInfo> out;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        out.append({info.portName(), info.systemLocation(), PortNone});
    out.append(virtualPorts(virtualPortDir()));
    return out;
}

} // namespace spk
