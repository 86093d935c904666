#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace spk {

// Finds the window's controls by objectName, the way the handlers build partner names
// ("edt_op" + digit + "_gain"). Lookups are cached. get() gives nullptr for a name with no control
// of that type; require() stops the program naming it, so a renamed control fails the first test
// that builds the window instead of leaving a handler unconnected.
// The first lookup files every named control in one walk over the tree (the parts look up some
// hundred names while they attach, each a search of the whole tree otherwise); a name the walk
// did not see (a control made later) is searched for as before.
class ControlLookup
{
public:
    explicit ControlLookup(QWidget *root) : m_root(root) {}

    QWidget *widget(const QString &name) const;
    template <typename T> T *get(const QString &name) const { return qobject_cast<T *>(widget(name)); }
    template <typename T> T *require(const QString &name) const
    {
        T *w = get<T>(name);
        if (!w) missing(name, T::staticMetaObject.className());
        return w;
    }

private:
    [[noreturn]] static void missing(const QString &name, const char *type);
    void fileTree() const;
    void fileChildren(const QObject *parent) const;

    QWidget *m_root;
    mutable QHash<QString, QPointer<QWidget>> m_cache;
    mutable bool m_filed = false;
};

} // namespace spk
