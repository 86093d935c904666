#include "link/portcatalog.h"
#include "link/serialdriver.h"
#include "model/timing.h"
#include "unit/link/ptypair.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using spk::SerialDriver;
using spk::Transport;

namespace {

// Long enough for several settles to pass.
int settles(int n)
{
    return n * spk::scaled(SerialDriver::SettleMs);
}

QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + i / 256) & 0xFF);
    return b;
}

QByteArray joined(const QSignalSpy &spy)
{
    QByteArray all;
    for (const QList<QVariant> &args : spy)
        all += args.at(0).toByteArray();
    return all;
}

} // namespace

class TestSerialDriver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        spk::setTimeScale(0.1);
        m_dir = spk::SystemPortCatalog::virtualPortDir();
        QVERIFY(QDir().mkpath(m_dir));
    }
    void cleanupTestCase() { spk::setTimeScale(1.0); }

    void opensCatalogPortAt9600_8N1()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        const QString link = pty.publish(m_dir, QStringLiteral("ttySIM7"));
        spk::SystemPortCatalog cat;
        int number = spk::PortNone;
        for (const spk::PortInfo &p : cat.ports())
            if (p.name == QLatin1String("ttySIM7")) number = p.number;
        QVERIFY(number > 0);

        SerialDriver drv(&cat);
        drv.PortNumber = number;
        QVERIFY2(drv.OpenPort(), qPrintable(drv.lastError()));
        QVERIFY(drv.isOpen());
        QCOMPARE(drv.portPath(), link);

        const termios tio = pty.slaveTermios();
        QCOMPARE(cfgetospeed(&tio), speed_t(B9600));
        QCOMPARE(cfgetispeed(&tio), speed_t(B9600));
        QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    void noPortNumberOpensNothing_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("none") << spk::PortNone;
        QTest::newRow("usb") << spk::PortUsb;
        QTest::newRow("never listed") << 42;
    }
    void noPortNumberOpensNothing()
    {
        QFETCH(int, number);
        spk::SystemPortCatalog cat;
        SerialDriver drv(&cat);
        drv.PortNumber = number;
        QVERIFY(!drv.OpenPort());
        QVERIFY(!drv.isOpen());
    }

    void missingPortFails()
    {
        SerialDriver drv;
        QVERIFY(!drv.OpenPort(m_dir + QStringLiteral("/ttySIM99")));
        QVERIFY(!drv.isOpen());
        QVERIFY(!drv.lastError().isEmpty());
        QVERIFY(!drv.write("x"));
    }

    void secondOpenOfSamePortFails()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        const QString link = pty.publish(m_dir, QStringLiteral("ttySIM7"));
        SerialDriver first, second;
        QVERIFY(first.OpenPort(link));
        QVERIFY(!second.OpenPort(link));
        // Through the link or straight at the device, it is the same port.
        QVERIFY(!second.OpenPort(pty.slavePath()));
        QVERIFY(!second.isOpen());
        QVERIFY(first.isOpen());
        first.ClosePort();
        QVERIFY2(second.OpenPort(link), qPrintable(second.lastError()));
    }

    void writesArriveInOrder()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        const QByteArray a = QByteArray::fromHex("A5A5A500531F2B000000FFAA");
        const QByteArray b = QByteArray::fromHex("0A0D0011130000FF");
        const QByteArray c = pattern(3000);
        QVERIFY(drv.WritePort(a));
        QVERIFY(drv.WritePort(b));
        QVERIFY(drv.write(c));
        QVERIFY(!drv.WritePort(QByteArray()));
        QCOMPARE(pty.take(a.size() + b.size() + c.size()), a + b + c);
    }

    void burstIsOneReceived()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy spy(&drv, &Transport::received);
        drv.StartReader();

        const QByteArray head = QByteArray::fromHex("A5A5A501520A2B0000080000");
        const QByteArray tail = QByteArray::fromHex("1122334455667788");
        QVERIFY(pty.send(head));
        QVERIFY(pty.send(tail));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), head + tail);

        // A burst after a quiet spell is a pass of its own.
        QTest::qWait(settles(3));
        QCOMPARE(spy.count(), 1);
        QVERIFY(pty.send(tail));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toByteArray(), tail);
    }

    void bytesArriveIntact_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("line feed and 0xFF") << QByteArray::fromHex("0AFF");
        QTest::newRow("carriage return, nul") << QByteArray::fromHex("0D000A0D");
        QTest::newRow("xon xoff") << QByteArray::fromHex("1113");
        QTest::newRow("interrupt and eof chars") << QByteArray::fromHex("03041A1C7F");
        QTest::newRow("every byte") << pattern(256);
    }
    void bytesArriveIntact()
    {
        QFETCH(QByteArray, bytes);
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy spy(&drv, &Transport::received);
        drv.StartReader();
        QVERIFY(pty.send(bytes));
        QTRY_COMPARE(joined(spy), bytes);
    }

    void bytesBeforeStartReaderWait()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy spy(&drv, &Transport::received);
        QVERIFY(pty.send("early"));
        QTest::qWait(settles(3));
        QCOMPARE(spy.count(), 0);
        drv.StartReader();
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("early"));
    }

    void largeBacklogArrivesWhole()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy spy(&drv, &Transport::received);
        const QByteArray data = pattern(7000);
        QVERIFY(pty.send(data));
        QTest::qWait(settles(2));
        drv.StartReader();
        QTRY_COMPARE(joined(spy).size(), data.size());
        QCOMPARE(joined(spy), data);
        for (const QList<QVariant> &args : spy)
            QVERIFY(args.at(0).toByteArray().size() <= SerialDriver::ReadChunk);
    }

    void noSecondPassUnderARunningConsumer()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        int calls = 0, depth = 0, maxDepth = 0, callsSeenByNestedLoop = -1;
        QByteArray got;
        connect(&drv, &Transport::received, this, [&](const QByteArray &bytes) {
            ++calls;
            maxDepth = std::max(maxDepth, ++depth);
            got += bytes;
            if (calls == 1) {
                // A modal dialog in the consumer: more bytes come while its loop runs.
                QVERIFY(drv.passActive());
                QVERIFY(pty.send("second"));
                QEventLoop modal;
                QTimer::singleShot(settles(8), &modal, &QEventLoop::quit);
                modal.exec();
                callsSeenByNestedLoop = calls;
            }
            --depth;
        });
        drv.StartReader();
        QVERIFY(pty.send("first"));
        QTRY_COMPARE(calls, 2);
        QCOMPARE(callsSeenByNestedLoop, 1);
        QCOMPARE(maxDepth, 1);
        QCOMPARE(got, QByteArray("firstsecond"));
    }

    void closingTwiceIsHarmless()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QSignalSpy failed(&drv, &Transport::failed);
        drv.ClosePort(); // never opened
        QVERIFY(drv.OpenPort(pty.slavePath()));
        drv.StartReader();
        drv.ClosePort();
        drv.ClosePort();
        drv.close();
        QVERIFY(!drv.isOpen());
        QVERIFY(!drv.WritePort("x"));
        QCOMPARE(failed.count(), 0);
        // And it opens again.
        QVERIFY(drv.OpenPort(pty.slavePath()));
    }

    void closeWithOutputStuckReturns()
    {
        // Nobody reads the master: the output backs up in the pty and in the port's buffer.
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        for (int i = 0; i < 8; ++i)
            QVERIFY(drv.WritePort(pattern(64 * 1024)));
        QTest::qWait(settles(2));
        drv.ClosePort();
        QVERIFY(!drv.isOpen());
    }

    void closeDuringSettleEndsThePass()
    {
        spk::setTimeScale(1.0); // a settle long enough to close inside it
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy spy(&drv, &Transport::received);
        drv.StartReader();
        QVERIFY(pty.send("late"));
        QTest::qWait(10);
        drv.ClosePort();
        QTest::qWait(settles(2));
        spk::setTimeScale(0.1);
        QCOMPARE(spy.count(), 0);
    }

    void vanishingPortFailsQuietly_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::newRow("reader running") << true;
        QTest::newRow("reader not started") << false;
    }
    void vanishingPortFailsQuietly()
    {
        QFETCH(bool, reading);
        auto pty = std::make_unique<PtyPair>();
        QVERIFY(pty->ok());
        const QString link = pty->publish(m_dir, QStringLiteral("ttySIM7"));
        SerialDriver drv;
        QVERIFY(drv.OpenPort(link));
        if (reading) drv.StartReader();
        QSignalSpy failed(&drv, &Transport::failed);
        pty.reset(); // the simulator exits, the adapter is pulled
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(!drv.isOpen());
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        QTest::qWait(settles(2));
        QCOMPARE(failed.count(), 1);
        QVERIFY(!drv.WritePort("x"));
        drv.ClosePort();
        QVERIFY(!drv.OpenPort(link));
    }

    void writeToVanishedPortFails()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        SerialDriver drv;
        QVERIFY(drv.OpenPort(pty.slavePath()));
        QSignalSpy failed(&drv, &Transport::failed);
        pty.closeMaster();
        drv.WritePort("frame");
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(!drv.isOpen());
    }

private:
    QString m_dir;
};

int runSerialDriverTests(int argc, char **argv)
{
    TestSerialDriver t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_serialdriver.moc"
