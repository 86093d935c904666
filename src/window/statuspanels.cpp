#include "window/statuspanels.h"

#include "window/accessibletext.h"
#include "window/connectionindicator.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>

namespace spk {

ConnectionPanel::ConnectionPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("stat1_connection"));
    setFixedWidth(250);
    setAccessibleName(QStringLiteral("Connection state"));
}

void ConnectionPanel::setText(const QString &text)
{
    announceShownText(this, m_text.trimmed(), text.trimmed());
    m_text = text;
    setAccessibleDescription(text.trimmed());
    update();
}

void ConnectionPanel::setConnectButton(QAbstractButton *button)
{
    m_connectButton = button;
    update();
}

QColor ConnectionPanel::textColour() const
{
    const bool disconnected = captionSaysConnect(m_connectButton);
    return disconnected ? QColor(255, 0, 0) : QColor(0, 128, 0);
}

void ConnectionPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(textColour());
    p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

StatusPanels::StatusPanels(QStatusBar *bar)
    : m_bar(bar), m_caption(new QLabel(QStringLiteral("CONNECTION STATUS:"), bar)),
      m_connection(new ConnectionPanel(bar)),
      m_meter(new QLabel(QStringLiteral("Temperature: 10'C   Attenuation dB: 0 dB"), bar))
{
    m_bar->setObjectName(QStringLiteral("stat1"));
    m_bar->setSizeGripEnabled(false);
    m_bar->setAccessibleName(QStringLiteral("Status line"));
    m_caption->setObjectName(QStringLiteral("stat1_caption"));
    m_caption->setFixedWidth(150);
    m_meter->setObjectName(QStringLiteral("stat1_meter"));
    m_connection->setText(QStringLiteral(" Disconnected"));
    m_bar->addWidget(m_caption);
    m_bar->addWidget(m_connection);
    m_bar->addWidget(m_meter, 1);
}

void StatusPanels::setConnectionText(const QString &text)
{
    m_connection->setText(text);
}
void StatusPanels::setMeterText(const QString &text)
{
    m_meter->setText(text);
}

} // namespace spk
