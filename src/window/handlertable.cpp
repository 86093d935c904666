#include "window/handlertable.h"

namespace spk {

void HandlerTable::add(const QString &name, std::function<void()> handler)
{
    m_handlers.insert(name, std::move(handler));
}

bool HandlerTable::CallHandlerByName(const QString &name) const
{
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd() || !it.value()) return false;
    it.value()();
    return true;
}

} // namespace spk
