#pragma once

#include "window/windowparts.h"

#include <QObject>
#include <QStringList>

class QComboBox;

namespace spk {

class ConnectionController;
class PortCatalog;

// "Add network port..." in cbb_comport: the form (through Dialogs), the address checked and refused
// with the reason until it is one or the form is cancelled, the port listed and selected, and the
// user's network ports remembered in the settings, so that they are listed from the next start on.
// A cancelled or refused form leaves the selection as it was.
class NetworkPortAdder : public QObject
{
    Q_OBJECT
public:
    NetworkPortAdder(const WindowParts &parts, PortCatalog &catalog, ConnectionController &connection,
                     QObject *parent = nullptr);

    // Gives the catalog the remembered ports (before the list is first filled) and watches the list.
    void attach();
    // Runs the form; true when a port was added or chosen again.
    bool addNetworkPort();

    // The remembered addresses, in the order added; the settings file of this program's name.
    static QStringList remembered();
    static void remember(const QStringList &addresses);
    static constexpr const char *SettingsKey = "ports/network";

private:
    void onActivated(int index);

    WindowParts m_parts;
    PortCatalog &m_catalog;
    ConnectionController &m_connection;
    QComboBox *m_ports = nullptr;
    int m_lastPort = -1; // the selection to go back to
};

} // namespace spk
