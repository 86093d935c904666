#include "app/prefetchportcatalog.h"

#include <QThreadPool>

#include <memory>

namespace spk {

PrefetchPortCatalog::PrefetchPortCatalog()
{
    // On the shared pool: its thread stays for the first paint, which spreads large fills over
    // the pool, and start-up creates one thread fewer.
    auto result = std::make_shared<std::promise<QList<PortInfo>>>();
    m_first = result->get_future();
    const bool started = QThreadPool::globalInstance()->tryStart([this, result] {
        try {
            result->set_value(SystemPortCatalog::scan());
        } catch (...) {
            result->set_exception(std::current_exception());
        }
    });
    if (!started) m_first = {};
}

PrefetchPortCatalog::~PrefetchPortCatalog()
{
    // The worker uses this object (through the base's scan); it must be done before we go.
    if (m_first.valid()) m_first.wait();
}

QList<PortInfo> PrefetchPortCatalog::scan()
{
    if (m_first.valid()) return m_first.get();
    return SystemPortCatalog::scan();
}

} // namespace spk
