#pragma once

#include <QWidget>

class QToolButton;

namespace spk {

// The small up/down button pair beside a value edit. The buttons never take the focus: a
// click lets the editor move the focus to the focus sink itself, so the focused edit commits.
class SpinButtons : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButtons(QWidget *parent = nullptr);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }
    // Accessible names of the two halves from the field's name ("EQ band 4 gain").
    void setFieldName(const QString &field);

signals:
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
};

} // namespace spk
