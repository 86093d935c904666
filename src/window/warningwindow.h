#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace spk {

// The non-modal notice that a link was lost: caption "Warning", one sentence and "OK" (btn1).
// Single border, no system buttons; shown centred on the main window.
class WarningWindow : public QDialog
{
    Q_OBJECT
public:
    explicit WarningWindow(QWidget *parent = nullptr);

    void showCentredOn(QWidget *window);
    void btn1Click();

    QLabel *label() const { return m_label; }
    QPushButton *button() const { return m_button; }

private:
    QLabel *m_label;
    QPushButton *m_button;
};

} // namespace spk
