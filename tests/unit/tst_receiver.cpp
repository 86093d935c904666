#include "hexbytes.h"
#include "protocol/commands.h"
#include "protocol/receiver.h"

#include <QRandomGenerator>
#include <QTest>

using namespace spk;

namespace {

// A device reply, built here independently of the editor's frame code.
QByteArray reply(int cmd, const QByteArray &data, int end = 0xAA, int dir = 0x52, int slot = 0, int id = 0)
{
    QByteArray f = hexBytes("A5 A5 A5");
    f.append(char(id)).append(char(dir)).append(char(slot)).append(char(cmd)).append('\0');
    f.append(char(data.size() >> 8)).append(char(data.size() & 0xFF));
    f += data;
    quint8 cs = 0;
    for (int i = 3; i < f.size(); ++i)
        cs ^= quint8(f.at(i));
    f.append(char(cs)).append(char(end));
    return f;
}

QByteArray pattern(int n, int seed = 1)
{
    QByteArray d(n, '\0');
    for (int i = 0; i < n; ++i)
        d[i] = char(i * 13 + seed);
    return d;
}

// The device's HID packing: a header report, then 64-byte reports of data, checksum and end byte.
QList<QByteArray> hidReports(const QByteArray &frame)
{
    QList<QByteArray> reports{frame.left(10) + QByteArray(54, '\0')};
    const QByteArray rest = frame.mid(10);
    for (int at = 0; at < rest.size(); at += 64)
        reports << (rest.mid(at, 64) + QByteArray(64, '\0')).left(64);
    return reports;
}

} // namespace

class TestReceiver : public QObject
{
    Q_OBJECT

    LinkState m_state;
    QList<ReplyFrame> m_got;

    void record(Receiver &rx, int cmd)
    {
        rx.setHandler(cmd, [this](const ReplyFrame &f) { m_got << f; });
    }

private slots:
    void init();
    void meterInTwoBursts();
    void badEndByte();
    void framesAmongNoise_data();
    void framesAmongNoise();
    void burstEndingInsideTheHeader_data();
    void burstEndingInsideTheHeader();
    void unknownCommandAndDirection();
    void replyHeaderVariables();
    void textBound();
    void hidMeter();
    void hidImage();
    void hidEmptyReply();
    void hidShortAndLongReports();
    void hidHeaderTooLong();
    void hidNoiseReport();
    void handlerSeesCleanState();
    void handlerNotReentered();
    void randomInput();
};

void TestReceiver::init()
{
    m_state = LinkState{};
    m_got.clear();
}

void TestReceiver::meterInTwoBursts()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    const QByteArray f = reply(CMD_Meter, hexBytes("00 00 04 63 03 01 00 00"));
    QCOMPARE(f.size(), 20);
    m_state.SilenceCount = 5;
    rx.serialArrival(f.left(12));
    QCOMPARE(m_got.size(), 0);
    QCOMPARE(rx.RxHexText().size(), 24);
    QCOMPARE(m_state.SilenceCount, 5);
    rx.serialArrival(f.mid(12));
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].data, hexBytes("00 00 04 63 03 01 00 00"));
    QCOMPARE(m_got[0].hexText, f.toHex().toUpper());
    QCOMPARE(m_state.SilenceCount, 0);
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::badEndByte()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    m_state.SilenceCount = 7;
    rx.serialArrival(reply(CMD_Meter, pattern(8), 0xAB));
    QCOMPARE(m_got.size(), 0);
    QCOMPARE(m_state.SilenceCount, 0);
    QCOMPARE(rx.ReplyEnd(), 0xAB);
    QCOMPARE(rx.ReplyDir(), 0);
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::framesAmongNoise_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<int>("seeds"); // meters expected, with data seeds 1, 2 ...
    const QByteArray m1 = reply(CMD_Meter, pattern(8, 1)), m2 = reply(CMD_Meter, pattern(8, 2));
    QTest::newRow("leading noise") << hexBytes("00 A5") + m1 << 1;
    QTest::newRow("two in one read") << m1 + m2 << 2;
    QTest::newRow("noise around and between") << hexBytes("A5 A5 11") + m1 + hexBytes("A5 00") + m2 + hexBytes("42") << 2;
    QTest::newRow("behind a broken reply") << m1.left(13) + m1 + m2 << 2;
    QTest::newRow("behind a bad end byte") << reply(CMD_Meter, pattern(8, 9), 0xAB) + m1 << 1;
}

void TestReceiver::framesAmongNoise()
{
    QFETCH(QByteArray, read);
    QFETCH(int, seeds);
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    rx.serialArrival(read);
    QCOMPARE(m_got.size(), seeds);
    for (int i = 0; i < seeds; ++i)
        QCOMPARE(m_got[i].data, pattern(8, i + 1));
    QVERIFY(rx.RxHexText().size() <= 4);
}

void TestReceiver::burstEndingInsideTheHeader_data()
{
    QTest::addColumn<int>("split");
    for (int split : {1, 2, 3, 6, 9})
        QTest::addRow("%d bytes first", split) << split;
}

void TestReceiver::burstEndingInsideTheHeader()
{
    QFETCH(int, split);
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    const QByteArray f = reply(CMD_Meter, pattern(8));
    rx.serialArrival(f.left(split));
    QCOMPARE(rx.RxHexText().size(), 2 * split);
    rx.serialArrival(f.mid(split));
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].data, pattern(8));
}

void TestReceiver::unknownCommandAndDirection()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    m_state.SilenceCount = 3;
    rx.serialArrival(reply(0x55, pattern(8)));
    QCOMPARE(m_state.SilenceCount, 0);
    m_state.SilenceCount = 3;
    rx.serialArrival(reply(CMD_Meter, pattern(8), 0xAA, 0xA2)); // an echo of a request
    QCOMPARE(m_state.SilenceCount, 0);
    QCOMPARE(m_got.size(), 0);
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::replyHeaderVariables()
{
    Receiver rx(m_state);
    record(rx, CMD_Rw_20_Group);
    rx.serialArrival(reply(CMD_Rw_20_Group, pattern(640), 0xAA, 0x52, 17, 9));
    QCOMPARE(rx.ReplyDevId(), 9);
    QCOMPARE(rx.ReplyDir(), 0x52);
    QCOMPARE(rx.ReplySlot(), 17);
    QCOMPARE(rx.ReplyCmd(), 0x29);
    QCOMPARE(rx.ReplySub(), 0);
    QCOMPARE(rx.ReplyLength(), 640);
    QCOMPARE(rx.ReplyEnd(), 0xAA);
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].ReplySlot, 17);
    QCOMPARE(m_got[0].hexText.size(), 1304);
    QCOMPARE(m_got[0].bytes().size(), std::size_t(640));
}

void TestReceiver::textBound()
{
    Receiver rx(m_state);
    record(rx, CMD_RW_One_Group);
    // A 640-byte reply trickling in small bursts is fine: 1304 characters.
    const QByteArray f = reply(CMD_RW_One_Group, pattern(640));
    for (int at = 0; at < f.size(); at += 10)
        rx.serialArrival(f.mid(at, 10));
    QCOMPARE(m_got.size(), 1);

    // Long reads are taken whole; what follows a frame is searched, never kept past a frame.
    rx.serialArrival(f.left(600));
    QCOMPARE(rx.RxHexText().size(), 1200);
    rx.serialArrival(f.mid(600) + QByteArray(1400, '\x11'));
    QCOMPARE(m_got.size(), 2);
    QVERIFY(rx.RxHexText().isEmpty());

    // A header announcing more than any reply carries is noise, and swallows nothing behind it.
    rx.serialArrival(reply(CMD_RW_One_Group, pattern(641)).left(10) + f);
    QCOMPARE(m_got.size(), 3);
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::hidMeter()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    const QList<QByteArray> reports = hidReports(reply(CMD_Meter, pattern(8)));
    QCOMPARE(reports.size(), 2);
    // Whatever follows the header in its report is dropped.
    rx.ShowRead(reports[0].left(10) + QByteArray(54, '\x77'));
    QVERIFY(rx.HidReplyActive());
    QCOMPARE(rx.RxHexText().size(), 20);
    QCOMPARE(rx.HidReportCount(), 0);
    rx.ShowRead(reports[1]);
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].hexText.size(), 40);
    QCOMPARE(m_got[0].data, pattern(8));
    QVERIFY(!rx.HidReplyActive());
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::hidImage()
{
    Receiver rx(m_state);
    record(rx, CMD_RW_One_Group);
    const QByteArray f = reply(CMD_RW_One_Group, pattern(640));
    const QList<QByteArray> reports = hidReports(f);
    QCOMPARE(reports.size(), 12);
    for (int i = 0; i < 11; ++i)
        rx.ShowRead(reports[i]);
    QCOMPARE(m_got.size(), 0);
    QCOMPARE(rx.HidReportCount(), 10);
    QCOMPARE(rx.RxHexText().size(), 20 + 10 * 128);
    QByteArray last = reports[11];
    last[2] = '\x55'; // past the end byte: not read
    rx.ShowRead(last);
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].hexText, f.toHex().toUpper());
    QCOMPARE(m_got[0].data, pattern(640));
    QVERIFY(!rx.HidReplyActive());
}

void TestReceiver::hidEmptyReply()
{
    Receiver rx(m_state);
    record(rx, 0x30);
    const QList<QByteArray> reports = hidReports(reply(0x30, QByteArray()));
    QCOMPARE(reports.size(), 2);
    rx.ShowRead(reports[0]);
    rx.ShowRead(reports[1]);
    QCOMPARE(m_got.size(), 1);
    QVERIFY(m_got[0].data.isEmpty());
}

void TestReceiver::hidShortAndLongReports()
{
    Receiver rx(m_state);
    record(rx, CMD_R_AllSysData);
    const QByteArray f = reply(CMD_R_AllSysData, pattern(48));
    rx.ShowRead(f.left(10));
    // Only bytes that are in a report are copied; the reply completes when its bytes are there.
    rx.ShowRead(f.mid(10, 5));
    rx.ShowRead(QByteArray());
    QCOMPARE(rx.RxHexText().size(), 30);
    rx.ShowRead(f.mid(15) + QByteArray(3000, '\x42'));
    QCOMPARE(m_got.size(), 1);
    QCOMPARE(m_got[0].data, pattern(48));
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::hidHeaderTooLong()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    QByteArray header = reply(CMD_RW_One_Group, pattern(641)).left(10);
    rx.ShowRead(header + QByteArray(54, '\0'));
    QVERIFY(!rx.HidReplyActive());
    QVERIFY(rx.RxHexText().isEmpty());
    // The next report may start a reply.
    for (const QByteArray &r : hidReports(reply(CMD_Meter, pattern(8))))
        rx.ShowRead(r);
    QCOMPARE(m_got.size(), 1);
}

void TestReceiver::hidNoiseReport()
{
    Receiver rx(m_state);
    record(rx, CMD_Meter);
    rx.ShowRead(QByteArray(64, '\x01'));
    QVERIFY(!rx.HidReplyActive());
    QVERIFY(rx.RxHexText().isEmpty());
    rx.ShowRead(hexBytes("A5 A5 A5 00")); // too short for a header
    QVERIFY(!rx.HidReplyActive());
    QVERIFY(rx.RxHexText().isEmpty());
}

void TestReceiver::handlerSeesCleanState()
{
    Receiver rx(m_state);
    bool ran = false;
    rx.setHandler(CMD_RW_One_Group, [&](const ReplyFrame &f) {
        ran = true;
        QVERIFY(rx.RxHexText().isEmpty());
        QVERIFY(!rx.HidReplyActive());
        QCOMPARE(f.hexText.size(), 1304);
    });
    for (const QByteArray &r : hidReports(reply(CMD_RW_One_Group, pattern(640))))
        rx.ShowRead(r);
    QVERIFY(ran);
}

void TestReceiver::handlerNotReentered()
{
    Receiver rx(m_state);
    const QByteArray image = reply(CMD_RW_One_Group, pattern(640));
    const QByteArray meter = reply(CMD_Meter, pattern(8));
    int depth = 0, maxDepth = 0, images = 0, meters = 0;
    rx.setHandler(CMD_Meter, [&](const ReplyFrame &) { ++meters; });
    rx.setHandler(CMD_RW_One_Group, [&](const ReplyFrame &) {
        ++images;
        maxDepth = std::max(maxDepth, ++depth);
        // As if a save dialog ran its own event loop while the device kept talking.
        rx.serialArrival(meter);
        rx.serialArrival(image.left(300));
        QCOMPARE(rx.RxHexText().size(), 600); // a new text, not the old frame
        rx.serialArrival(image.mid(300));
        rx.serialArrival(meter.left(5));
        --depth;
    });
    rx.serialArrival(image);
    QCOMPARE(images, 1);
    QCOMPARE(maxDepth, 1);
    QCOMPARE(meters, 1);
    // What arrived during the handler stays for the next pass.
    QCOMPARE(rx.RxHexText(), meter.left(5).toHex().toUpper());
    rx.serialArrival(meter.mid(5));
    QCOMPARE(meters, 2);
    rx.serialArrival(image);
    QCOMPARE(images, 2);
}

void TestReceiver::randomInput()
{
    Receiver rx(m_state);
    int calls = 0;
    for (int cmd = 0; cmd < 256; ++cmd)
        rx.setHandler(cmd, [&](const ReplyFrame &f) {
            ++calls;
            QCOMPARE(f.data.size(), f.ReplyLength);
            QCOMPARE(f.hexText.size(), 2 * (f.ReplyLength + 12));
        });
    QRandomGenerator rng(1234);
    for (int i = 0; i < 20000; ++i) {
        QByteArray chunk(int(rng.bounded(i % 50 == 0 ? 1200 : 80)), '\0');
        for (char &c : chunk)
            c = char(rng.bounded(4) == 0 ? 0xA5 : rng.bounded(256));
        if (rng.bounded(3) == 0)
            chunk = reply(int(rng.bounded(256)), QByteArray(int(rng.bounded(700)), '\x05'),
                          rng.bounded(2) ? 0xAA : 0x00)
                        .left(int(rng.bounded(800)));
        if (rng.bounded(2))
            rx.serialArrival(chunk);
        else
            rx.ShowRead(chunk);
        QVERIFY(rx.RxHexText().size() <= Receiver::MaxTextLength);
    }
    QVERIFY(calls > 0);
}

QTEST_GUILESS_MAIN(TestReceiver)
#include "tst_receiver.moc"
