#pragma once

#include <QLineEdit>

#include <functional>

namespace spk {

// A value edit with the events its editor needs: entering and leaving by focus, mouse up,
// arrow keys, and a key filter that lets only the field's characters through; Enter is taken
// out of the text and commits instead.
class ValueEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ValueEdit(QWidget *parent = nullptr);

    // Digits and "." always pass (with Backspace); "-" only where the field accepts it.
    void setAcceptsMinus(bool accepts) { m_acceptsMinus = accepts; }
    bool acceptsMinus() const { return m_acceptsMinus; }

    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void()> onMouseUp;
    std::function<void()> onReturn;
    std::function<void(int key)> onKeyDown; // before the key filter; the key is not consumed

    // The graph detaches a band frequency edit's exit handling while it moves the focus away.
    void setExitAttached(bool attached) { m_exitAttached = attached; }
    bool exitAttached() const { return m_exitAttached; }

    // The characters the key filter lets through.
    bool accepts(QChar c) const;

protected:
    // Undo and redo are the window's (whole edits), not the text's.
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_acceptsMinus = false;
    bool m_exitAttached = true;
};

} // namespace spk
