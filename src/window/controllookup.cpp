#include "window/controllookup.h"

#include "window/logging.h"

namespace spk {

QWidget *ControlLookup::widget(const QString &name) const
{
    if (name.isEmpty() || !m_root) return nullptr;
    if (!m_filed) fileTree();
    auto it = m_cache.constFind(name);
    if (it != m_cache.constEnd() && it.value()) return it.value();
    QWidget *w = m_root->objectName() == name ? m_root : m_root->findChild<QWidget *>(name);
    if (w) m_cache.insert(name, w);
    return w;
}

void ControlLookup::missing(const QString &name, const char *type)
{
    qCCritical(lcUi, "no control %s of type %s", qPrintable(name), type);
    qFatal("no control %s of type %s", qPrintable(name), type);
}

void ControlLookup::fileTree() const
{
    m_filed = true;
    if (!m_root->objectName().isEmpty()) m_cache.insert(m_root->objectName(), m_root);
    fileChildren(m_root);
}

// In findChild's order (a parent's own children, then each child's subtree), keeping the first
// control of a name, so that a name shared by several controls gives the one findChild gives.
void ControlLookup::fileChildren(const QObject *parent) const
{
    const QObjectList &children = parent->children();
    for (QObject *child : children) {
        const QString &name = child->objectName();
        if (child->isWidgetType() && !name.isEmpty() && !m_cache.contains(name))
            m_cache.insert(name, static_cast<QWidget *>(child));
    }
    for (QObject *child : children)
        fileChildren(child);
}

} // namespace spk
