#include "window/accessibletext.h"

#include <QLabel>
#include <QPushButton>

namespace spk {

AccessibleShownText::AccessibleShownText(QWidget *widget, QAccessible::Role role, const QString &name)
    : QAccessibleWidget(widget, role, name)
{
}

QString AccessibleShownText::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value) return shownText();
    return QAccessibleWidget::text(t);
}

void *AccessibleShownText::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void AccessibleShownText::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString AccessibleShownText::text(int startOffset, int endOffset) const
{
    const QString all = shownText();
    // -1 as the end means "to the end", as readers ask for it.
    if (endOffset < 0 || endOffset > all.size()) endOffset = int(all.size());
    startOffset = qBound(0, startOffset, endOffset);
    return all.mid(startOffset, endOffset - startOffset);
}

QString AccessibleShownText::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

void renewAccessibleInterfaces(QWidget *root)
{
    QList<QWidget *> renewed;
    for (QLabel *l : root->findChildren<QLabel *>())
        renewed << l;
    for (QPushButton *b : root->findChildren<QPushButton *>())
        renewed << b;
    for (QWidget *w : renewed)
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void announceShownText(QObject *control, const QString &before, const QString &now)
{
    if (before == now || !QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent event(control, 0, before, now);
    QAccessible::updateAccessibility(&event);
}

} // namespace spk
