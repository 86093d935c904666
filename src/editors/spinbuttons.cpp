#include "editors/spinbuttons.h"

#include <QToolButton>

namespace spk {

namespace {
QToolButton *makeHalf(QWidget *parent, Qt::ArrowType arrow, const char *name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setIconSize(QSize(6, 6));
    return b;
}
} // namespace

SpinButtons::SpinButtons(QWidget *parent)
    : QWidget(parent), m_up(makeHalf(this, Qt::UpArrow, "up")), m_down(makeHalf(this, Qt::DownArrow, "down"))
{
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, &SpinButtons::upClicked);
    connect(m_down, &QToolButton::clicked, this, &SpinButtons::downClicked);
}

void SpinButtons::setFieldName(const QString &field)
{
    setAccessibleName(field + QStringLiteral(" steps"));
    m_up->setAccessibleName(QStringLiteral("Increase ") + field);
    m_down->setAccessibleName(QStringLiteral("Decrease ") + field);
}

void SpinButtons::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace spk
