#include "simtcpserver.h"

#include <QTcpSocket>

namespace spk::sim {

SimTcpServer::SimTcpServer(SimLine &line, QObject *parent) : QObject(parent), m_line(line)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimTcpServer::onNewConnection);
    connect(&m_line, &SimLine::bytesOut, this, &SimTcpServer::send);
}

SimTcpServer::~SimTcpServer()
{
    close();
}

bool SimTcpServer::listen(quint16 port, QString *error)
{
    if (m_server.listen(QHostAddress::LocalHost, port)) return true;
    if (error) *error = QStringLiteral("cannot listen on TCP port %1: %2").arg(port).arg(m_server.errorString());
    return false;
}

QString SimTcpServer::address() const
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port());
}

void SimTcpServer::close()
{
    m_server.close();
    dropClients();
}

void SimTcpServer::dropClients()
{
    const auto clients = m_clients;
    m_clients.clear();
    for (const QPointer<QTcpSocket> &c : clients)
        if (c) {
            c->abort();
            c->deleteLater();
        }
    if (!clients.isEmpty()) emit clientCountChanged(0);
}

void SimTcpServer::onNewConnection()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_clients << client;
        connect(client, &QTcpSocket::readyRead, this, [this, client] { m_line.writeBytes(client->readAll()); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] {
            m_clients.removeAll(client);
            client->deleteLater();
            emit clientCountChanged(clientCount());
        });
        emit clientCountChanged(clientCount());
    }
}

void SimTcpServer::send(const QByteArray &burst)
{
    for (const QPointer<QTcpSocket> &c : m_clients)
        if (c && c->state() == QAbstractSocket::ConnectedState) c->write(burst);
}

} // namespace spk::sim
