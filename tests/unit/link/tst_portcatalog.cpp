#include "fakes/fakeportcatalog.h"
#include "link/portcatalog.h"
#include "link/portlistrefresh.h"
#include "unit/link/ptypair.h"

#include <QDir>
#include <QFile>
#include <QTest>

using spk::PortInfo;

class TestPortCatalog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_dir = spk::SystemPortCatalog::virtualPortDir();
        QVERIFY(QDir().mkpath(m_dir));
    }

    void sortsAsTextIgnoringCase_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("com ports") << QStringList{"COM3", "COM10", "COM4"}
                                   << QStringList{"COM10", "COM3", "COM4"};
        QTest::newRow("usb numbers as text")
            << QStringList{"ttyUSB2", "ttySIM0", "ttyUSB10"} << QStringList{"ttySIM0", "ttyUSB10", "ttyUSB2"};
        // Ordered by code point, "ttyUSB0" would come before "ttyacm1".
        QTest::newRow("case ignored")
            << QStringList{"ttyUSB0", "ttyacm1", "ttyACM0"} << QStringList{"ttyACM0", "ttyacm1", "ttyUSB0"};
        QTest::newRow("empty") << QStringList{} << QStringList{};
    }
    void sortsAsTextIgnoringCase()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        FakePortCatalog cat;
        cat.setNames(names);
        QCOMPARE(cat.names(), expected);
    }

    void numbersStayWithTheirPort()
    {
        FakePortCatalog cat;
        cat.setNames({"ttyUSB1", "ttyUSB0"});
        const QList<PortInfo> first = cat.ports();
        QCOMPARE(first.size(), 2);
        const int usb0 = first[0].number;
        const int usb1 = first[1].number;
        QVERIFY(usb0 > 0 && usb1 > 0 && usb0 != usb1);

        // A port that sorts in front shifts the positions, not the numbers.
        cat.setNames({"ttyUSB1", "ttyACM0", "ttyUSB0"});
        const QList<PortInfo> second = cat.ports();
        QCOMPARE(second[1].number, usb0);
        QCOMPARE(second[2].number, usb1);
        QCOMPARE(cat.pathOf(usb0), QStringLiteral("/dev/ttyUSB0"));

        // Unplugged and back: same number.
        cat.setNames({"ttyUSB1"});
        cat.ports();
        cat.setNames({"ttyUSB0"});
        QCOMPARE(cat.ports().value(0).number, usb0);
    }

    void numbersAvoidReservedValues()
    {
        FakePortCatalog cat;
        QSet<int> seen;
        for (int i = 0; i < 150; ++i) {
            const int n = cat.numberOf(QStringLiteral("/dev/ttyX%1").arg(i));
            QVERIFY(n != spk::PortNone && n != 0 && n != spk::PortUsb);
            QVERIFY(!seen.contains(n));
            seen.insert(n);
        }
        QVERIFY(cat.pathOf(spk::PortNone).isEmpty());
        QVERIFY(cat.pathOf(spk::PortUsb).isEmpty());
        QVERIFY(cat.pathOf(0).isEmpty());
        QVERIFY(cat.pathOf(9999).isEmpty());
    }

    void virtualPortDirFollowsRuntimeDir()
    {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", "/run/user/4242");
        QCOMPARE(spk::SystemPortCatalog::virtualPortDir(), QStringLiteral("/run/user/4242/spkedit/ports"));
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(spk::SystemPortCatalog::virtualPortDir(),
                 QStringLiteral("/tmp/spkedit-%1/ports").arg(::getuid()));
        qputenv("XDG_RUNTIME_DIR", saved);
    }

    void listsLiveVirtualAdapters()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        const QString link = pty.publish(m_dir, QStringLiteral("ttySIM7"));
        QVERIFY(!link.isEmpty());

        // A link left behind by a simulator that died, a link of another name, a plain file.
        const QString dangling = m_dir + QStringLiteral("/ttySIM3");
        QFile::remove(dangling);
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/does-not-exist"), dangling));
        const QString other = m_dir + QStringLiteral("/ttyOther0");
        QFile::remove(other);
        QVERIFY(QFile::link(pty.slavePath(), other));
        const QString plain = m_dir + QStringLiteral("/ttySIM9");
        {
            QFile f(plain);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }

        spk::SystemPortCatalog cat;
        const QList<PortInfo> ports = cat.ports();
        QStringList names;
        for (const PortInfo &p : ports)
            names << p.name;
        QCOMPARE(names.count(QStringLiteral("ttySIM7")), 1);
        QVERIFY(!names.contains(QStringLiteral("ttySIM3")));
        QVERIFY(!names.contains(QStringLiteral("ttyOther0")));
        QVERIFY(!names.contains(QStringLiteral("ttySIM9")));
        const PortInfo sim = ports[names.indexOf(QStringLiteral("ttySIM7"))];
        QCOMPARE(sim.path, link);
        QCOMPARE(cat.pathOf(sim.number), link);

        QVERIFY2(!QFileInfo(dangling).isSymLink(), "a dangling adapter link is cleared away");
        QFile::remove(other);
        QFile::remove(plain);
    }

    void missingDirectoryListsNoAdapters()
    {
        QVERIFY(spk::SystemPortCatalog::virtualPorts(m_dir + QStringLiteral("/nowhere")).isEmpty());
    }

    void refresh_data()
    {
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("scanned");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("currentIndex");
        QTest::newRow("same list") << QStringList{"ttyUSB0", "ttyUSB1"} << QStringList{"ttyUSB0", "ttyUSB1"}
                                   << false << -1;
        QTest::newRow("both empty") << QStringList{} << QStringList{} << false << -1;
        QTest::newRow("adapter plugged")
            << QStringList{"ttyUSB0"} << QStringList{"ttySIM0", "ttyUSB0"} << true << 1;
        QTest::newRow("same count, other port")
            << QStringList{"ttyUSB0"} << QStringList{"ttyUSB1"} << true << 0;
        QTest::newRow("same ports, other order")
            << QStringList{"ttyUSB1", "ttyUSB0"} << QStringList{"ttyUSB0", "ttyUSB1"} << true << 1;
        QTest::newRow("first ports appear") << QStringList{} << QStringList{"ttyUSB0"} << true << 0;
        QTest::newRow("last port gone") << QStringList{"ttyUSB0"} << QStringList{} << true << -1;
    }
    void refresh()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, scanned);
        QFETCH(bool, changed);
        QFETCH(int, currentIndex);

        FakePortCatalog cat;
        cat.setNames(scanned);
        const QList<PortInfo> ports = cat.ports();
        const auto change = spk::portListRefresh(shown, ports);
        QCOMPARE(change.has_value(), changed);
        if (!change) return;
        QCOMPARE(change->items, cat.names());
        QCOMPARE(change->currentIndex, currentIndex);
        QCOMPARE(change->PortNumbers.size(), change->items.size());
        for (qsizetype i = 0; i < ports.size(); ++i)
            QCOMPARE(cat.pathOf(change->PortNumbers[i]), QStringLiteral("/dev/") + change->items[i]);
    }

private:
    QString m_dir;
};

int runPortCatalogTests(int argc, char **argv)
{
    TestPortCatalog t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_portcatalog.moc"
