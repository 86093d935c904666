#include "session/broadcast.h"

#include "protocol/commands.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QComboBox>
#include <QPushButton>

namespace spk {

BroadcastMode::BroadcastMode(const AddressingParts &parts, QObject *parent) : QObject(parent), m_parts(parts)
{
}

void BroadcastMode::attach()
{
    m_button = m_parts.controls.require<QPushButton>(QStringLiteral("btn_broadcase"));
    m_button->setCheckable(true);
    connect(m_button, &QPushButton::clicked, this, &BroadcastMode::btn_broadcaseClick);
    show(m_parts.state.Link.Broadcast);
}

void BroadcastMode::btn_broadcaseClick()
{
    LinkState &link = m_parts.state.Link;
    if (link.Connected) {
        show(link.Broadcast);
        m_parts.dialogs.information(m_parts.window, QStringLiteral("Please disconnect."));
        return;
    }
    link.Broadcast = !link.Broadcast;
    link.DevIdByte =
        link.Broadcast
            ? BroadcastIdByte
            : qMax(0, m_parts.controls.require<QComboBox>(QStringLiteral("cbb_deviceid"))->currentIndex());
    show(link.Broadcast);
    // The preset controls come with the presets; those not built yet are left out.
    for (const char *name : {"rzgrpbx4", "cbb_load2dev", "btn_load2dev", "btn41", "btn42",
                             "btn_save_onegrp2pc", "btn_save_20grp2pc", "btn_load_20grp2pc"})
        if (QWidget *w = m_parts.controls.widget(QString::fromLatin1(name))) w->setEnabled(!link.Broadcast);
}

void BroadcastMode::show(bool on)
{
    m_button->setChecked(on);
    QPalette p = m_button->palette();
    p.setColor(QPalette::Button, on ? OnColour : OffColour);
    p.setColor(QPalette::ButtonText, on ? QColor(Qt::white) : QColor(Qt::black));
    m_button->setPalette(p);
    m_button->setAccessibleDescription(on ? QStringLiteral("Broadcast to every device on the line: on")
                                          : QStringLiteral("Broadcast to every device on the line: off"));
}

} // namespace spk
