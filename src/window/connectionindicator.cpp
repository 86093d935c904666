#include "window/connectionindicator.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace spk {

QString connectCaption()
{
    return QStringLiteral("Connect");
}

QString disconnectCaption()
{
    return QStringLiteral("Disconnect");
}

bool captionSaysConnect(const QAbstractButton *button)
{
    return !button || button->text() == connectCaption();
}

namespace {
QPixmap indicatorPicture(bool connected)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = connected ? QColor(0, 176, 0) : QColor(216, 0, 0);
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(c);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return pm;
}
} // namespace

void showConnectionIndicator(QLabel *indicator, bool connected)
{
    if (!indicator) return;
    indicator->setPixmap(indicatorPicture(connected));
    indicator->setAccessibleDescription(connected ? QStringLiteral("Connected")
                                                  : QStringLiteral("Disconnected"));
    indicator->setProperty("connected", connected);
}

} // namespace spk
