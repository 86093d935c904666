// The line's plumbing: finding frames in serial chunks, HID reports, wire timing, reply faults.
#include "simtestframes.h"

#include "simbus.h"
#include "simhid.h"
#include "simstreamparser.h"
#include "simwire.h"

#include "model/timing.h"

#include <QTest>

using namespace spk;
using namespace spk::sim;
using namespace simtest;

namespace {

// The editor's HID receive rule, written out here: a header report, then (length / 64) + 1 reports,
// of which the last contributes (length mod 64) + 2 bytes.
QByteArray receiveLikeTheEditor(const QList<QByteArray> &reports)
{
    if (reports.isEmpty() || !reports.first().startsWith(hex("A5A5A5"))) return {};
    QByteArray text = reports.first().left(10);
    const int length = (quint8(text.at(8)) << 8) | quint8(text.at(9));
    for (int k = 0; k <= length / 64; ++k) {
        if (k + 1 >= reports.size()) return {};
        text.append(k == length / 64 ? reports.at(k + 1).left(length % 64 + 2) : reports.at(k + 1));
    }
    return text;
}

} // namespace

class TestSimWire : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setTimeScale(1.0); }

    void parserFindsFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("chunk"); // bytes per feed; 0: all at once
        QTest::addColumn<QByteArrayList>("frames");
        const QByteArray meter = read(0, 0, 0x2B);
        const QByteArray version = read(4, 0, 0xA0);
        const QByteArray rec = write(0, 0, 0x00, 5, hex("0102030405060708"));
        QTest::newRow("one") << meter << 0 << QByteArrayList{meter};
        QTest::newRow("byte by byte") << rec << 1 << QByteArrayList{rec};
        QTest::newRow("odd chunks") << rec + meter << 7 << QByteArrayList{rec, meter};
        QTest::newRow("two in one chunk") << meter + version << 0 << QByteArrayList{meter, version};
        QTest::newRow("leading noise") << hex("00FF13A5A5") + meter << 0 << QByteArrayList{meter};
        QTest::newRow("noise between")
            << meter + hex("5555") + version << 3 << QByteArrayList{meter, version};
        QTest::newRow("extra sync byte") << hex("A5") + meter << 0 << QByteArrayList{meter};
        QTest::newRow("truncated then good") << rec.left(12) + meter << 0 << QByteArrayList{meter};
        QTest::newRow("truncated then good, bytewise") << rec.left(12) + meter << 1 << QByteArrayList{meter};
        QTest::newRow("bad checksum then good")
            << frame(0, 0xA2, 0, 0x2B, 0).replace(10, 1, "\x01") + version << 0 << QByteArrayList{version};
        QTest::newRow("reply is not a request")
            << reply(0, 0, 0x2B, 0, QByteArray(8, 0)) + meter << 0 << QByteArrayList{meter};
        QTest::newRow("length too long") << hex("A5A5A500A1000000FFFF") + meter << 0 << QByteArrayList{meter};
        QTest::newRow("only noise") << hex("0102030405060708090A0B0C0D0E0F") << 2 << QByteArrayList{};
    }
    void parserFindsFrames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, chunk);
        QFETCH(QByteArrayList, frames);
        SimStreamParser p;
        QByteArrayList found;
        const int step = chunk > 0 ? chunk : int(bytes.size());
        for (int i = 0; i < bytes.size(); i += step)
            for (const auto &r : p.feed(bytes.mid(i, step)))
                found.append(r.raw);
        QCOMPARE(found, frames);
    }

    void parserKeepsPartialFrame()
    {
        SimStreamParser p;
        const QByteArray meter = read(0, 0, 0x2B);
        QVERIFY(p.feed(meter.left(11)).isEmpty());
        QCOMPARE(p.pending(), 11);
        const auto r = p.feed(meter.mid(11));
        QCOMPARE(r.size(), 1);
        QCOMPARE(int(r.first().frame.cmd), 0x2B);
        p.feed(meter.left(5));
        p.reset();
        QVERIFY(p.feed(meter.mid(5)).isEmpty());
    }

    void hidPacking_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("reports");
        QTest::newRow("meter") << 8 << 2;
        QTest::newRow("version") << 24 << 2;
        QTest::newRow("system data") << 48 << 2;
        QTest::newRow("names") << 400 << 8;
        QTest::newRow("image") << 640 << 12;
        QTest::newRow("empty") << 0 << 2;
    }
    void hidPacking()
    {
        QFETCH(int, length);
        QFETCH(int, reports);
        const QByteArray f = reply(0, 0, 0x28, 0, pattern(length).left(length));
        const QList<QByteArray> packed = packHidReply(f);
        QCOMPARE(packed.size(), reports);
        for (const QByteArray &r : packed)
            QCOMPARE(r.size(), 64);
        QCOMPARE(packed.first(), f.left(10) + QByteArray(54, '\0')); // the header alone
        QCOMPARE(packed.at(1).left(qMin(64, length + 2)), f.mid(10, qMin(64, length + 2)));
        QCOMPARE(receiveLikeTheEditor(packed).toHex(), f.toHex());
    }

    void hidMeterReplyExact()
    {
        const QByteArray f = hex("A5A5A50452002B000008000012340301000051AA");
        const QList<QByteArray> packed = packHidReply(f);
        QCOMPARE(packed.size(), 2);
        QCOMPARE(packed.at(1).toHex(), (hex("000012340301000051AA") + QByteArray(54, '\0')).toHex());
    }

    void hidAssembler()
    {
        SimHidAssembler a;
        const QByteArray meter = read(0, 0, 0x2B);
        // 65-byte output report: report ID 0, the frame, zeros.
        auto r = a.feed(QByteArray(1, '\0') + meter + QByteArray(64 - meter.size(), '\0'));
        QVERIFY(r);
        QCOMPARE(r->raw, meter);
        // A non-zero report ID is not ours.
        QVERIFY(!a.feed(QByteArray(1, '\1') + meter + QByteArray(64 - meter.size(), '\0')));

        // A bulk write: header report, 11 body reports and the last one repeated.
        const QByteArray image = pattern(5);
        const QByteArray bulk = write(0, 7, 0x29, 0, image);
        QByteArray body = bulk.mid(10);
        body = body.leftJustified(11 * 64, '\0');
        QVERIFY(!a.feed(QByteArray(1, '\0') + bulk.left(10) + QByteArray(54, '\0')));
        QVERIFY(a.pending());
        for (int k = 0; k < 10; ++k)
            QVERIFY(!a.feed(QByteArray(1, '\0') + body.mid(64 * k, 64)));
        r = a.feed(QByteArray(1, '\0') + body.mid(640, 64));
        QVERIFY(r);
        QCOMPARE(r->frame.slot, quint8(7));
        QCOMPARE(r->frame.data, image);
        QVERIFY(!a.feed(QByteArray(1, '\0') + body.mid(640, 64))); // the repeat is ignored
        QVERIFY(!a.pending());
        QVERIFY(a.feed(QByteArray(1, '\0') + meter + QByteArray(64 - meter.size(), '\0')));
        // Reports shorter than the frame they announce (0 and 52 data bytes) are noise.
        QVERIFY(!a.feed(hex("A5A5A500A2002B000000")));
        QVERIFY(!a.feed(hex("A5A5A500A1002B000034") + QByteArray(8, '\0')));
        QVERIFY(!a.pending());
    }

    void hidLinkAnswersWithReports()
    {
        SimBus bus({3});
        SimHidLink link(&bus);
        // USB is point to point: the ID byte does not pick the device; 255 is still not answered.
        const QList<QByteArray> in =
            link.writeReport(QByteArray(1, '\0') + read(0, 0, 0xA0).leftJustified(64, '\0'));
        QCOMPARE(in.size(), 2);
        QCOMPARE(receiveLikeTheEditor(in).mid(10, 24), SimDevice::versionTextDefault());
        QVERIFY(link.writeReport(QByteArray(1, '\0') + read(255, 0, 0xA0).leftJustified(64, '\0')).isEmpty());
    }

    void wireWithoutPacing()
    {
        SimWire w;
        w.setPacing(false);
        SimFaults f;
        w.send("REPLY", 100, f, 12);
        QCOMPARE(w.nextWake(), 100.0);
        QVERIFY(w.take(99.5).isEmpty());
        QCOMPARE(w.take(100), QByteArray("REPLY"));
        QVERIFY(w.idle());
        QCOMPARE(w.nextWake(), -1.0);
    }

    void wirePacing_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("real time") << 1.0;
        QTest::newRow("tests") << 0.05;
    }
    void wirePacing()
    {
        QFETCH(double, scale);
        setTimeScale(scale);
        const double byteMs = 10000.0 / 9600.0 * scale;
        SimWire w;
        SimFaults f;
        const QByteArray data = pattern(0).left(40);
        w.send(data, 0, f, 12);
        // The request takes 12 byte times to arrive, the device 2 ms to think.
        const double start = 12 * byteMs + 2 * scale;
        QVERIFY(w.take(start + 0.99 * byteMs).isEmpty());
        QCOMPARE(w.take(start + byteMs), data.left(1));
        // Bytes leave in packets of 16.
        QCOMPARE(w.nextWake(), start + 17 * byteMs);
        QCOMPARE(w.take(start + 17 * byteMs), data.mid(1, 16));
        QCOMPARE(w.take(start + 1000 * byteMs), data.mid(17));
        QVERIFY(w.idle());
    }

    void wireRepliesDoNotOverlap()
    {
        SimWire w;
        SimFaults f;
        w.send(QByteArray(10, 'a'), 0, f, 12);
        w.send(QByteArray(10, 'b'), 0, f, 12);
        const double byteMs = 10000.0 / 9600.0;
        const double firstEnd = 12 * byteMs + 2 + 10 * byteMs;
        QCOMPARE(w.take(firstEnd), QByteArray(10, 'a'));
        QVERIFY(w.take(firstEnd + 0.5 * byteMs).isEmpty());
        QCOMPARE(w.take(firstEnd + 10 * byteMs), QByteArray(10, 'b'));
    }

    void wireFaults()
    {
        SimWire w;
        w.setPacing(false);
        SimFaults f;
        f.noise = hex("00FF");
        f.splitParts = 2;
        f.splitGapMs = 80;
        f.extraDelayMs = 30;
        w.send("ABCDEFG", 0, f, 12);
        QVERIFY(w.take(29).isEmpty());
        QCOMPARE(w.take(30), hex("00FF") + "ABCD"); // noise leads the first burst
        QVERIFY(w.take(109).isEmpty());
        QCOMPARE(w.take(110), QByteArray("EFG"));
        setTimeScale(0.5);
        w.send("XY", 200, f, 12);
        QCOMPARE(w.take(215), hex("00FF") + "X");
        QCOMPARE(w.take(255), QByteArray("Y"));
    }

    void replyFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("outcome"); // per request: '.' answered, '-' lost, 'b' bad end byte
        QTest::newRow("none") << ""
                              << "....";
        QTest::newRow("silent") << "silent"
                                << "----";
        QTest::newRow("drop 2") << "drop2"
                                << "--..";
        QTest::newRow("drop rate 1") << "rate1"
                                     << "----";
        QTest::newRow("bad end") << "badend"
                                 << "bbbb";
        QTest::newRow("bad end once") << "badend1"
                                      << "b...";
    }
    void replyFaults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, outcome);
        SimBus bus({1});
        SimFaults &f = bus.faults();
        f.silent = fault == "silent";
        f.dropNext = fault == "drop2" ? 2 : 0;
        f.dropRate = fault == "rate1" ? 1.0 : 0.0;
        f.badEnd = fault == "badend";
        f.badEndNext = fault == "badend1" ? 1 : 0;
        QString got;
        for (int i = 0; i < outcome.size(); ++i) {
            const QList<QByteArray> r = bus.receiveBytes(read(0, 0, 0x2B));
            got += r.isEmpty() ? '-' : quint8(r.first().back()) == 0xAB ? 'b' : '.';
        }
        QCOMPARE(got, outcome);
        // Writes still take effect while silent.
        bus.receiveBytes(write(0, 0, 0x00, 0, hex("0101010101010101")));
        QCOMPARE(bus.device(1)->image().left(8), hex("0101010101010101"));
    }

    void dropRateIsAboutRight()
    {
        SimBus bus({1});
        bus.faults().dropRate = 0.25;
        int lost = 0;
        for (int i = 0; i < 400; ++i)
            lost += bus.receiveBytes(read(0, 0, 0x2B)).isEmpty();
        QVERIFY2(lost > 60 && lost < 140, qPrintable(QString::number(lost)));
    }
};

QTEST_GUILESS_MAIN(TestSimWire)
#include "tst_simwire.moc"
