#include "link/portlistrefresh.h"

namespace spk {

std::optional<PortListChange> portListRefresh(const QStringList &shown, const QList<PortInfo> &scanned)
{
    QStringList names;
    names.reserve(scanned.size());
    for (const PortInfo &p : scanned)
        names << p.name;
    if (names == shown) return std::nullopt;

    PortListChange change;
    change.items = names;
    change.currentIndex = int(names.size()) - 1;
    for (const PortInfo &p : scanned)
        change.PortNumbers << p.number;
    return change;
}

} // namespace spk
