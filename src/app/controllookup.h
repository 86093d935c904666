#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace spk {

// Finds the window's controls by objectName, the way the handlers build partner names
// ("edt_op" + digit + "_gain"). Lookups are cached; a name with no control gives nullptr.
class ControlLookup
{
public:
    explicit ControlLookup(QWidget *root) : m_root(root) {}

    QWidget *widget(const QString &name) const;
    template <typename T> T *get(const QString &name) const { return qobject_cast<T *>(widget(name)); }

private:
    QWidget *m_root;
    mutable QHash<QString, QPointer<QWidget>> m_cache;
};

} // namespace spk
