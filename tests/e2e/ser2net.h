#pragma once

// Debian's ser2net in front of a pseudo-terminal, as a device server for the tests of network lines.

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

// A TCP port on the loopback that nothing listens on just now.
inline quint16 freeTcpPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

// ser2net serving pty on 127.0.0.1:port with one accepter ("tcp", "telnet(rfc2217),tcp"), its
// configuration written into dir; null when it is not installed or does not start.
inline std::unique_ptr<QProcess> startSer2net(const QString &pty, const QString &accepter, quint16 port,
                                              const QString &dir)
{
    const QString program = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
    if (program.isEmpty()) return nullptr;
    QFile config(QStringLiteral("%1/ser2net-%2.yaml").arg(dir).arg(port));
    if (!config.open(QIODevice::WriteOnly)) return nullptr;
    config.write(QStringLiteral("connection: &line\n  accepter: %1,127.0.0.1,%2\n"
                                "  connector: serialdev,%3,9600n81,local\n")
                     .arg(accepter)
                     .arg(port)
                     .arg(pty)
                     .toUtf8());
    config.close();
    auto p = std::make_unique<QProcess>();
    p->start(program, {"-n", "-d", "-c", config.fileName()});
    if (!p->waitForStarted()) return nullptr;
    // Listening once a connection is taken; the probe's own connection is gone before the test's.
    const bool up = QTest::qWaitFor(
        [&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(100);
        },
        5000);
    QTest::qWait(200);
    return up ? std::move(p) : nullptr;
}
