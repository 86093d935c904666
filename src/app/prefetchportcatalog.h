#pragma once

#include "link/portcatalog.h"

#include <future>

namespace spk {

// The machine's port catalog, whose first scan runs on a worker thread while the window is
// being built: enumerating the serial ports reads a few thousand sysfs files, and the window
// wants the list only at the end of its construction. The first ports() call takes that scan
// (waiting for it if need be); every later call scans afresh, as SystemPortCatalog does.
class PrefetchPortCatalog : public SystemPortCatalog
{
public:
    PrefetchPortCatalog();
    ~PrefetchPortCatalog() override;

    // Whether the first scan is still waiting to be taken.
    bool hasPrefetch() const { return m_first.valid(); }

protected:
    QList<PortInfo> scan() override;

private:
    std::future<QList<PortInfo>> m_first;
};

} // namespace spk
