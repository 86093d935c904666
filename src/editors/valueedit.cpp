#include "editors/valueedit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace spk {

namespace {
// Focus that comes and goes with the window's activation or a popup is not the user moving
// between fields.
bool isFieldChange(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

ValueEdit::ValueEdit(QWidget *parent) : QLineEdit(parent) {}

bool ValueEdit::accepts(QChar c) const
{
    return c.isDigit() ? c.unicode() < 128 : (c == u'.' || c == u'\b' || (m_acceptsMinus && c == u'-'));
}

bool ValueEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            // Left to the window's Undo and Redo.
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void ValueEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (isFieldChange(event->reason()) && onEnter) onEnter();
}

void ValueEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (isFieldChange(event->reason()) && m_exitAttached && onExit) onExit();
}

void ValueEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (onMouseUp) onMouseUp();
}

void ValueEdit::keyPressEvent(QKeyEvent *event)
{
    if (onKeyDown) onKeyDown(event->key());
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (onReturn) onReturn();
        return;
    }
    // Keys that type a character go through the filter; cursor and editing keys and shortcuts
    // (copy, paste, select all) pass: whatever a paste brings in fails the commit's parse.
    const QString text = event->text();
    const bool shortcut = event->modifiers() & Qt::ControlModifier;
    if (!text.isEmpty() && !shortcut && event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete) {
        for (QChar c : text) {
            if (!accepts(c)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace spk
