#include "hexbytes.h"
#include "protocol/frameassembler.h"

#include <QTest>

using namespace spk;

namespace {

// A device reply, built here independently of the editor's frame code.
QByteArray reply(int cmd, const QByteArray &data, int end = 0xAA)
{
    QByteArray f = hexBytes("A5 A5 A5 00 52 00");
    f.append(char(cmd)).append('\0').append(char(data.size() >> 8)).append(char(data.size() & 0xFF));
    f += data;
    quint8 cs = 0;
    for (int i = 3; i < f.size(); ++i)
        cs ^= quint8(f.at(i));
    return f.append(char(cs)).append(char(end));
}

const QByteArray Meter = reply(0x2B, hexBytes("00 00 04 63 03 01 A5 A5"));
const QByteArray Version = reply(0xA0, QByteArray("V1.07 A5A5A5 spk-4way   "));
// Noise that looks like the start of a frame, before, between and after the two replies.
const QByteArray Before = hexBytes("11 A5 22 A5 A5");
const QByteArray Between = hexBytes("A5 A5 00");
const QByteArray After = hexBytes("A5");

} // namespace

class TestFrameAssembler : public QObject
{
    Q_OBJECT

private slots:
    void everySplit_data();
    void everySplit();
    void brokenFrames_data();
    void brokenFrames();
};

void TestFrameAssembler::everySplit_data()
{
    QTest::addColumn<QList<int>>("cuts");
    const int n = int((Before + Meter + Between + Version + After).size());
    for (int cut = 1; cut < n; ++cut)
        QTest::addRow("cut at %d", cut) << QList<int>{cut};
    QList<int> everyByte;
    for (int cut = 1; cut < n; ++cut)
        everyByte << cut;
    QTest::newRow("byte by byte") << everyByte;
    QTest::newRow("one read") << QList<int>{};
}

void TestFrameAssembler::everySplit()
{
    QFETCH(QList<int>, cuts);
    const QByteArray stream = Before + Meter + Between + Version + After;
    FrameAssembler a;
    QList<QByteArray> got;
    int from = 0;
    for (int cut : cuts + QList<int>{int(stream.size())}) {
        got += a.feed(QByteArrayView(stream).sliced(from, cut - from));
        from = cut;
    }
    QCOMPARE(got, (QList<QByteArray>{Meter, Version}));
    QCOMPARE(a.counters().frames, 2);
    QCOMPARE(a.counters().badFrames, 0);
    // The trailing A5 may still start a frame.
    QCOMPARE(a.pending(), After);
    QCOMPARE(a.counters().noiseBytes, Before.size() + Between.size());
    a.reset();
    QVERIFY(a.pending().isEmpty());
}

void TestFrameAssembler::brokenFrames_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("delivered"); // of Meter, then Version
    QTest::addColumn<int>("bad");
    QTest::newRow("bad end byte between")
        << Meter + reply(0x2B, QByteArray(8, '\x01'), 0xAB) + Version << 2 << 1;
    QTest::newRow("header announcing too much") << hexBytes("A5 A5 A5 00 52 00 28 00 02 81") + Meter << 1 << 1;
    // The first reply stops short; the second is found inside what was taken as its remainder.
    QTest::newRow("reply stopped short") << Meter.left(14) + Version + Meter << 2 << 1;
    QTest::newRow("sync run longer than three") << hexBytes("A5 A5") + Meter << 1 << 0;
}

void TestFrameAssembler::brokenFrames()
{
    QFETCH(QByteArray, stream);
    QFETCH(int, delivered);
    QFETCH(int, bad);
    FrameAssembler a;
    QList<QByteArray> got;
    for (qsizetype at = 0; at < stream.size(); at += 7)
        got += a.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(7, stream.size() - at)));
    QCOMPARE(got.size(), delivered);
    QVERIFY(got.contains(delivered == 1 ? Meter : Version));
    QCOMPARE(a.counters().badFrames, bad);
    QCOMPARE(a.counters().frames, delivered);
}

QTEST_GUILESS_MAIN(TestFrameAssembler)
#include "tst_frameassembler.moc"
