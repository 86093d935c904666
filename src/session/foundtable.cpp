#include "session/foundtable.h"

namespace spk {

FoundTable::FoundTable() : m_rows(Ports) {}

void FoundTable::clear()
{
    for (auto &row : m_rows)
        row.reset();
}

bool FoundTable::record(int port, int idByte)
{
    if (!canRecord(port) || idByte < 0 || idByte >= IdBytes) return false;
    m_rows[std::size_t(port)].set(std::size_t(idByte));
    return true;
}

bool FoundTable::found(int port, int idByte) const
{
    if (!canRecord(port) || idByte < 0 || idByte >= IdBytes) return false;
    return m_rows[std::size_t(port)].test(std::size_t(idByte));
}

QList<int> FoundTable::idBytes(int port) const
{
    QList<int> out;
    for (int b = 0; b < IdBytes; ++b)
        if (found(port, b)) out << b;
    return out;
}

QStringList searchResultLines(const QList<SearchedPort> &ports, const FoundTable &table)
{
    QStringList lines{QString()};
    for (const SearchedPort &p : ports) {
        QString line = p.name + QStringLiteral("--Device ID:");
        if (!FoundTable::canRecord(p.number)) {
            line += QStringLiteral(" not searched (port number %1 is out of range)").arg(p.number);
        } else {
            for (int b : table.idBytes(p.number))
                line += QString::number(b + 1) + QStringLiteral(" , ");
        }
        lines << line;
    }
    return lines;
}

} // namespace spk
