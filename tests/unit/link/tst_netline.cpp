// The line behind a device server: the telnet framing, addresses, and the serial driver on a TCP
// port against scripted servers (a raw one, RFC 2217 ones that agree, refuse, differ, stay silent).
#include "link/netaddress.h"
#include "link/serialdriver.h"
#include "link/telnetcodec.h"
#include "model/timing.h"
#include "unit/hexbytes.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QtEndian>

#include <functional>

using namespace spk;

namespace {

using T = TelnetCodec;

// What a server does with each chunk from the client; it may write back or drop the client.
using Script = std::function<void(QTcpSocket &client, const QByteArray &chunk)>;

class ScriptedServer : public QObject
{
public:
    explicit ScriptedServer(Script script) : m_script(std::move(script))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *c = m_server.nextPendingConnection();
            m_client = c;
            connect(c, &QTcpSocket::readyRead, this, [this, c] {
                const QByteArray chunk = c->readAll();
                m_received += chunk;
                if (m_script) m_script(*c, chunk);
            });
        });
    }
    QString url(const char *scheme) const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(m_server.serverPort());
    }
    QTcpSocket *client() const { return m_client; }
    QByteArray received() const { return m_received; }

private:
    Script m_script;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_received;
};

// A com-port server: answers each setting with the value `values` gives for it (-1: the
// client's own), and settings queries too unless silentAfterOpen.
Script comPortServer(std::function<int(int code, int asked)> values, bool refuse = false, bool silentAfterOpen = false)
{
    auto codec = std::make_shared<TelnetCodec>();
    auto opened = std::make_shared<int>(0);
    return [=](QTcpSocket &c, const QByteArray &chunk) {
        QList<T::Command> commands;
        codec->decode(chunk, &commands);
        for (const T::Command &cmd : commands) {
            if (cmd.verb == T::Will && cmd.option == T::OptComPort)
                c.write(T::negotiation(refuse ? T::Dont : T::Do, T::OptComPort));
            if (refuse || cmd.verb != T::Sb || cmd.payload.isEmpty()) continue;
            const int code = quint8(cmd.payload[0]);
            if (silentAfterOpen && ++*opened > 5) continue;
            QByteArray reply = cmd.payload;
            reply[0] = char(code + 100);
            const int asked = code == 1 ? int(qFromBigEndian<quint32>(cmd.payload.constData() + 1))
                                        : quint8(cmd.payload[1]);
            const int value = values(code, asked);
            if (code == 1)
                qToBigEndian(quint32(value), reply.data() + 1);
            else
                reply[1] = char(value);
            c.write(T::subnegotiation(T::OptComPort, reply));
        }
    };
}

int same(int, int asked)
{
    return asked == 0 ? 9600 : asked;
}

} // namespace

class TestNetLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setTimeScale(0.1); }
    void cleanupTestCase() { setTimeScale(1.0); }

    // Every split of one stream gives the same data and commands.
    void decodeAnySplit_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("commands");
        QTest::newRow("plain") << hexBytes("A5A5A500") << hexBytes("A5A5A500") << 0;
        QTest::newRow("escaped FF") << hexBytes("01FFFF02") << hexBytes("01FF02") << 0;
        QTest::newRow("negotiations around data") << hexBytes("FFFD2C41FFFB0142") << hexBytes("4142") << 2;
        QTest::newRow("subnegotiation with FF in it")
            << hexBytes("43FFFA2C650000FFFF80FFF044") << hexBytes("4344") << 1;
        QTest::newRow("NOP dropped") << hexBytes("45FFF146") << hexBytes("4546") << 0;
    }
    void decodeAnySplit()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QByteArray, data);
        QFETCH(int, commands);
        for (int cut = 0; cut <= stream.size(); ++cut) {
            TelnetCodec codec;
            QList<T::Command> got;
            QByteArray out = codec.decode(stream.left(cut), &got);
            out += codec.decode(stream.mid(cut), &got);
            QCOMPARE(out, data);
            QCOMPARE(got.size(), commands);
        }
        QCOMPARE(T::escape(data).count(char(0xFF)), 2 * data.count(char(0xFF)));
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical"); // empty: refused
        QTest::newRow("raw") << "tcp://10.0.0.9:4001" << "tcp://10.0.0.9:4001";
        QTest::newRow("rfc2217, upper case") << "RFC2217://rack-a:2217" << "rfc2217://rack-a:2217";
        QTest::newRow("ipv6") << "tcp://[::1]:4001" << "tcp://[::1]:4001";
        QTest::newRow("no port") << "tcp://10.0.0.9" << "";
        QTest::newRow("port 0") << "tcp://10.0.0.9:0" << "";
        QTest::newRow("path after") << "tcp://h:4001/x" << "";
        QTest::newRow("no host") << "tcp://:4001" << "";
    }
    void addresses()
    {
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QVERIFY(isNetworkPort(text));
        QString why;
        const auto a = parseNetAddress(text, &why);
        QCOMPARE(a ? a->text() : QString(), canonical);
        QCOMPARE(why.isEmpty(), a.has_value());
    }

    // The open succeeds only when the server confirms 9600 8N1 without flow control.
    void negotiation_data()
    {
        QTest::addColumn<int>("kind"); // 0 agrees, 1 refuses, 2 silent, 3 other baud, 4 raw
        QTest::addColumn<QString>("error");
        QTest::newRow("agrees") << 0 << "";
        QTest::newRow("refuses com-port control") << 1 << "refuses RFC 2217";
        QTest::newRow("no telnet at all") << 2 << "does not speak RFC 2217";
        QTest::newRow("keeps 19200 baud") << 3 << "baud rate to 19200, not 9600";
        QTest::newRow("raw port") << 4 << "";
    }
    void negotiation()
    {
        QFETCH(int, kind);
        QFETCH(QString, error);
        Script script;
        if (kind == 0) script = comPortServer(same);
        if (kind == 1) script = comPortServer(same, true);
        if (kind == 3) script = comPortServer([](int code, int asked) { return code == 1 ? 19200 : asked; });
        ScriptedServer server(script);
        SerialDriver driver;
        const bool opened = driver.OpenPort(server.url(kind == 4 ? "tcp" : "rfc2217"));
        QCOMPARE(opened, error.isEmpty());
        QVERIFY2(driver.lastError().contains(error), qPrintable(driver.lastError()));
        if (!opened) return;
        // Data both ways, 0xFF included, escaped only under telnet.
        QSignalSpy got(&driver, &Transport::received);
        driver.StartReader();
        const QByteArray frame = hexBytes("A5A5A5FF0102");
        const qsizetype before = server.received().size();
        QVERIFY(driver.write(frame));
        QTRY_VERIFY(server.received().size() > before);
        QCOMPARE(server.received().mid(before), kind == 4 ? frame : T::escape(frame));
        server.client()->write(kind == 4 ? frame : T::escape(frame));
        QTRY_COMPARE(got.size(), 1);
        QCOMPARE(got.at(0).at(0).toByteArray(), frame);
    }

    // A line that goes down while open fails the driver like an unplugged adapter.
    void lostWhileOpen_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<bool>("silent"); // else the server closes
        QTest::addColumn<QString>("reason");
        QTest::newRow("raw, server closes") << "tcp" << false << "closed the connection";
        QTest::newRow("rfc2217, server closes") << "rfc2217" << false << "closed the connection";
        QTest::newRow("rfc2217, server silent") << "rfc2217" << true << "not even to a settings query";
    }
    void lostWhileOpen()
    {
        QFETCH(QString, scheme);
        QFETCH(bool, silent);
        QFETCH(QString, reason);
        ScriptedServer server(comPortServer(same, false, silent));
        SerialDriver driver;
        QVERIFY2(driver.OpenPort(server.url(qPrintable(scheme))), qPrintable(driver.lastError()));
        driver.StartReader();
        QSignalSpy failed(&driver, &Transport::failed);
        QVERIFY(driver.write(hexBytes("A5A5A500A2002B00000089AA")));
        if (!silent) {
            QTRY_VERIFY(server.client());
            server.client()->disconnectFromHost();
        }
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QVERIFY2(failed.at(0).at(0).toString().contains(reason), qPrintable(failed.at(0).at(0).toString()));
        QVERIFY(!driver.isOpen());
    }

    void refused()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        SerialDriver driver;
        QVERIFY(!driver.OpenPort(QStringLiteral("tcp://127.0.0.1:%1").arg(port)));
        QVERIFY2(driver.lastError().contains("connection refused"), qPrintable(driver.lastError()));
    }
};

int runNetLineTests(int argc, char **argv)
{
    TestNetLine t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_netline.moc"
