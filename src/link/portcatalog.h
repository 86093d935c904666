#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace spk {

// Port numbers with a meaning of their own; catalog ports are numbered from 1 and skip both.
inline constexpr int PortNone = -1;
inline constexpr int PortUsb = 100;

struct PortInfo
{
    QString name; // what the port list shows: "ttyUSB0", "ttySIM0"
    QString path; // what opens it: "/dev/ttyUSB0", or the virtual adapter's link
    int number = PortNone;
};

// The serial ports to offer. A port keeps its number for the catalog's life, so a number taken
// from the list still names the same port after the list has been refreshed; the list's position
// is never used as an identity.
class PortCatalog
{
public:
    virtual ~PortCatalog();

    // Present ports, sorted by name as text ignoring case, each numbered.
    QList<PortInfo> ports();
    QStringList names();

    // The port that a number stands for; empty for an unknown number, PortNone and PortUsb.
    QString pathOf(int number) const;
    // The number of a port, given one on first sight.
    int numberOf(const QString &path);

    static void sortByName(QList<PortInfo> &ports);

    // Lines behind device servers ("tcp://host:port", "rfc2217://host:port") that the user added:
    // listed with the scanned ports, sorted with them, whatever a scan finds.
    void setNetworkPorts(const QStringList &addresses);
    QStringList networkPorts() const { return m_network; }
    // False when the address is listed already.
    bool addNetworkPort(const QString &address);

protected:
    // Present ports in any order; names and paths only.
    virtual QList<PortInfo> scan() = 0;

private:
    QHash<QString, int> m_numbers;
    QHash<int, QString> m_paths;
    QStringList m_network;
    int m_next = 1;
};

// The machine's serial ports plus the simulator's virtual adapters.
class SystemPortCatalog : public PortCatalog
{
public:
    // Where the simulator publishes its adapters: $XDG_RUNTIME_DIR/spkedit/ports, or
    // /tmp/spkedit-<uid>/ports without a runtime directory.
    static QString virtualPortDir();
    // Live ttySIM* links in dir. Links whose pty is gone are removed: the pty number will be
    // handed to some other terminal later, and the link must not lead there.
    static QList<PortInfo> virtualPorts(const QString &dir);

protected:
    QList<PortInfo> scan() override;
};

} // namespace spk
