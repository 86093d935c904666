#include "window/ledindicator.h"

#include "window/accessibletext.h"

#include <QPainter>
#include <QRadialGradient>

namespace spk {

LedIndicator::LedIndicator(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAccessibleDescription(QStringLiteral("off"));
}

void LedIndicator::setOn(bool on)
{
    if (on == m_on) return;
    m_on = on;
    const QString now = on ? QStringLiteral("on") : QStringLiteral("off");
    announceShownText(this, accessibleDescription(), now);
    setAccessibleDescription(now);
    update();
}

void LedIndicator::setColours(const QColor &on, const QColor &off)
{
    m_onColour = on;
    m_offColour = off;
    update();
}

void LedIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = qMin(width(), height()) - 2;
    const QRectF disc((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    const QColor c = colour();
    QRadialGradient shine(disc.center() - QPointF(d / 5.0, d / 5.0), d / 1.5);
    shine.setColorAt(0, c.lighter(m_on ? 160 : 120));
    shine.setColorAt(1, c);
    p.setBrush(shine);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.drawEllipse(disc);
}

} // namespace spk
