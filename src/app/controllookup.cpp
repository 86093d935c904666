#include "app/controllookup.h"

namespace spk {

QWidget *ControlLookup::widget(const QString &name) const
{
    if (name.isEmpty() || !m_root) return nullptr;
    auto it = m_cache.constFind(name);
    if (it != m_cache.constEnd() && it.value()) return it.value();
    QWidget *w = m_root->objectName() == name ? m_root : m_root->findChild<QWidget *>(name);
    if (w) m_cache.insert(name, w);
    return w;
}

} // namespace spk
