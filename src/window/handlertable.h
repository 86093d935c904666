#pragma once

#include <QHash>
#include <QString>

#include <functional>

namespace spk {

// The window's handlers that are called by name (CallHandlerByName): the spin buttons and the
// mouse wheel build names such as "edt_eq_gainChange" from the edit target.
class HandlerTable
{
public:
    void add(const QString &name, std::function<void()> handler);
    bool contains(const QString &name) const { return m_handlers.contains(name); }
    // A name without a handler does nothing; true when a handler ran.
    bool CallHandlerByName(const QString &name) const;

private:
    QHash<QString, std::function<void()>> m_handlers;
};

} // namespace spk
