#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <bitset>
#include <vector>

namespace spk {

// Which device ID bytes answered on which port, by the catalog's port numbers 0..255. A port
// numbered outside that range cannot be recorded: record() refuses it and the result says so.
class FoundTable
{
public:
    static constexpr int Ports = 256;
    static constexpr int IdBytes = 256;

    FoundTable();

    void clear();
    static bool canRecord(int port) { return port >= 0 && port < Ports; }
    // False for a port or ID byte the table has no place for.
    bool record(int port, int idByte);
    bool found(int port, int idByte) const;
    // Ascending ID bytes found on a port.
    QList<int> idBytes(int port) const;

private:
    std::vector<std::bitset<IdBytes>> m_rows;
};

// One searched port as the result lists it.
struct SearchedPort
{
    QString name; // as the port list shows it
    int number = -1;
};

// The result memo: an empty first line, then one line per port in list order,
// "ttySIM0--Device ID:" followed by "5 , " for every shown ID found, ascending.
QStringList searchResultLines(const QList<SearchedPort> &ports, const FoundTable &table);

} // namespace spk
