#pragma once

#include <QAccessibleWidget>

namespace spk {

// A widget whose accessible text is what it shows (a list's current item, a label's figure, the
// graph's summary): readers on Linux take a control's value from its text interface, since a
// value interface carries numbers only. The text is read-only and has no caret or selection.
class AccessibleShownText : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    AccessibleShownText(QWidget *widget, QAccessible::Role role, const QString &name = QString());

    // What the control shows now.
    virtual QString shownText() const = 0;

    // Name as the widget's accessible name; Value as the shown text.
    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(shownText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
};

// Qt makes the interfaces of some controls while they are constructed, before their names and
// faces are set; this makes those under root again, so that the factories see the finished
// labels and buttons.
void renewAccessibleInterfaces(QWidget *root);

// Tells readers that a control's shown text changed from before to now (no event when equal).
void announceShownText(QObject *control, const QString &before, const QString &now);

} // namespace spk
