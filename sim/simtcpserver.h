#pragma once

#include "simline.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

namespace spk::sim {

// A simulated line on a TCP port, as a raw device server offers one: what a client sends goes on the
// line, and what the line sends reaches every client (and, beside it, whatever else serves the line,
// such as its pty). Listens on the loopback address only.
class SimTcpServer : public QObject
{
    Q_OBJECT
public:
    explicit SimTcpServer(SimLine &line, QObject *parent = nullptr);
    ~SimTcpServer() override;

    // Port 0 takes a free one; port() tells which.
    bool listen(quint16 port, QString *error = nullptr);
    void close();
    quint16 port() const { return m_server.serverPort(); }
    QString address() const; // "tcp://127.0.0.1:PORT"
    int clientCount() const { return int(m_clients.size()); }
    // Drops every client as a server that goes away would (for tests of a lost line).
    void dropClients();

signals:
    void clientCountChanged(int count);

private:
    void onNewConnection();
    void send(const QByteArray &burst);

    SimLine &m_line;
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_clients;
};

} // namespace spk::sim
