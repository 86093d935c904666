#pragma once

#include "link/portcatalog.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace spk {

// What a refresh of the port list changes.
struct PortListChange
{
    QStringList items;      // the list's new items
    int currentIndex = -1;  // the last item is selected; -1 for an empty list
    QList<int> PortNumbers; // one per item, in item order
};

// The decision of the periodic port list refresh: nothing when the scanned names equal the
// shown ones item by item, otherwise the new items with the last one selected. An empty scan
// empties the numbers too, so a stale number can never be taken for a port that is gone.
std::optional<PortListChange> portListRefresh(const QStringList &shown, const QList<PortInfo> &scanned);

} // namespace spk
