#include "session/networkportadder.h"

#include "link/netaddress.h"
#include "link/portcatalog.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "window/controllookup.h"
#include "window/dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>
#include <QSettings>

namespace spk {

namespace {
QSettings settings()
{
    return QSettings(QStringLiteral("spkedit"), QCoreApplication::applicationName());
}
} // namespace

NetworkPortAdder::NetworkPortAdder(const WindowParts &parts, PortCatalog &catalog,
                                   ConnectionController &connection, QObject *parent)
    : QObject(parent), m_parts(parts), m_catalog(catalog), m_connection(connection)
{
}

QStringList NetworkPortAdder::remembered()
{
    return settings().value(QLatin1String(SettingsKey)).toStringList();
}

void NetworkPortAdder::remember(const QStringList &addresses)
{
    QSettings s = settings();
    s.setValue(QLatin1String(SettingsKey), addresses);
    s.sync();
    if (s.status() != QSettings::NoError)
        qCWarning(lcSession).noquote() << "network ports not remembered: cannot write" << s.fileName();
}

void NetworkPortAdder::attach()
{
    QStringList kept;
    for (const QString &text : remembered()) {
        QString why;
        if (parseNetAddress(text, &why))
            kept << text;
        else
            qCWarning(lcSession).noquote() << "remembered network port left out:" << why;
    }
    m_catalog.setNetworkPorts(kept);

    m_ports = m_parts.controls.require<QComboBox>(QStringLiteral("cbb_comport"));
    connect(m_ports, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_connection.isAddNetworkPortItem(index)) return;
        m_lastPort = index;
        // The bar's list is too narrow for most addresses.
        const QString shown = m_ports->itemText(index);
        m_ports->setToolTip(isNetworkPort(shown) ? shown : QString());
    });
    connect(m_ports, &QComboBox::activated, this, &NetworkPortAdder::onActivated);
}

void NetworkPortAdder::onActivated(int index)
{
    if (!m_connection.isAddNetworkPortItem(index)) return;
    // The list shows its port while the form is open; the form opens once the list's own event
    // handling is over, as a modal dialog runs an event loop of its own.
    m_ports->setCurrentIndex(m_lastPort);
    QMetaObject::invokeMethod(
        this, [this] { addNetworkPort(); }, Qt::QueuedConnection);
}

bool NetworkPortAdder::addNetworkPort()
{
    NetworkPortFields fields;
    QPointer<NetworkPortAdder> self(this);
    for (;;) {
        if (!m_parts.dialogs.networkPort(m_parts.window, fields) || !self) return false;
        QString why;
        const auto address =
            netAddressFrom(fields.rfc2217 ? NetAddress::Kind::Rfc2217 : NetAddress::Kind::Raw, fields.host,
                           fields.port, &why);
        if (address) {
            const QString text = address->text();
            if (m_catalog.addNetworkPort(text)) qCInfo(lcSession).noquote() << "network port added:" << text;
            // Another editor may have added its own meanwhile.
            QStringList kept = remembered();
            if (!kept.contains(text, Qt::CaseInsensitive)) remember(kept << text);
            m_connection.showPorts(text);
            return true;
        }
        m_parts.dialogs.information(m_parts.window, why);
        if (!self) return false;
    }
}

} // namespace spk
