#include "window/warningwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace spk {

WarningWindow::WarningWindow(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_label(new QLabel(QStringLiteral("Connection has been unexpectedly closed!"), this)),
      m_button(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Warning"));
    setModal(false);
    m_label->setObjectName(QStringLiteral("lbl1"));
    m_label->setAlignment(Qt::AlignCenter);
    m_button->setObjectName(QStringLiteral("btn1"));
    m_button->setFont(QFont(QStringLiteral("Arial")));
    m_button->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->setSpacing(14);
    layout->addWidget(m_label);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    m_button->setMinimumWidth(80);
    setFixedSize(320, 120);
    connect(m_button, &QPushButton::clicked, this, &WarningWindow::btn1Click);
}

void WarningWindow::showCentredOn(QWidget *window)
{
    if (window) {
        const QRect frame = window->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}

void WarningWindow::btn1Click()
{
    close();
}

} // namespace spk
