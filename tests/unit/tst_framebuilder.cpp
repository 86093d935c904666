#include "hexbytes.h"
#include "model/paramimage.h"
#include "model/sysdata.h"
#include "protocol/framebuilder.h"

#include <QTest>

using namespace spk;

class TestFrameBuilder : public QObject
{
    Q_OBJECT

    static LinkState connected(int devIdByte = 0)
    {
        LinkState s;
        s.Connected = true;
        s.DevIdByte = devIdByte;
        return s;
    }

private slots:
    void readRequest_data();
    void readRequest();
    void meterPollReport();
    void recordWrite_data();
    void recordWrite();
    void recordWithoutFrame();
    void systemRecordWrite();
    void nameWrite();
    void nameWriteSlotWithoutEntry();
    void idByteRules();
    void targetOnceIsUsedOnce();
    void nothingWhileDisconnected();
    void bulkWrite();
    void bulkWriteOverHid();
};

void TestFrameBuilder::readRequest_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("cmd");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("meter to ID 1") << 0 << 0 << int(CMD_Meter) << "A5 A5 A5 00 A2 00 2B 00 00 00 89 AA";
    QTest::newRow("version to ID 5") << 4 << 0 << int(CMD_Version) << "A5 A5 A5 04 A2 00 A0 00 00 00 06 AA";
    QTest::newRow("names") << 0 << 0 << int(CMD_R_20_Username) << "A5 A5 A5 00 A2 00 26 00 00 00 84 AA";
    QTest::newRow("system data") << 0 << 0 << int(CMD_R_AllSysData) << "A5 A5 A5 00 A2 00 22 00 00 00 80 AA";
    QTest::newRow("working image") << 0 << 0 << int(CMD_RW_One_Group)
                                   << "A5 A5 A5 00 A2 00 28 00 00 00 8A AA";
    QTest::newRow("recall preset 3") << 9 << 3 << int(CMD_RW_One_Group)
                                     << "A5 A5 A5 09 A2 03 28 00 00 00 80 AA";
    QTest::newRow("stored preset 20")
        << 0 << 20 << int(CMD_Rw_20_Group) << "A5 A5 A5 00 A2 14 29 00 00 00 9F AA";
}

void TestFrameBuilder::readRequest()
{
    QFETCH(int, id);
    QFETCH(int, slot);
    QFETCH(int, cmd);
    QFETCH(QString, bytes);
    LinkState s = connected(id);
    const Frame f = FrameBuilder::readRequest(s, slot, cmd, 0);
    QCOMPARE(hexRow(f.TxFrame), bytes);
    QCOMPARE(f.TxFrame.size(), 12);
    QCOMPARE(f.hidReport.size(), 65);
    QCOMPARE(f.hidReport.mid(1, 12), f.TxFrame);
}

void TestFrameBuilder::meterPollReport()
{
    LinkState s = connected(0);
    const Frame f = FrameBuilder::meterPoll(s);
    QCOMPARE(f.hidReport, hexBytes("00 A5 A5 A5 00 A2 00 2B 00 00 00 89 AA") + QByteArray(52, '\0'));
}

void TestFrameBuilder::recordWrite_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("bytes");
    // Default image, except record 18 (op0 level: muted, inverted, code 300, delay 1440).
    QTest::newRow("ip0 band 4") << 5 << "A5 A5 A5 00 A1 00 00 05 00 08 1E 00 78 00 00 00 2A 00 E0 AA";
    QTest::newRow("ip0 crossover") << 1 << "A5 A5 A5 00 A1 00 00 01 00 08 00 00 00 00 F0 00 00 00 58 AA";
    QTest::newRow("ip0 last") << 17 << "A5 A5 A5 00 A1 00 00 11 00 08 00 00 00 00 00 00 00 00 B8 AA";
    QTest::newRow("op0 level") << 18 << "A5 A5 A5 00 A1 00 01 00 00 08 01 01 2C 01 A0 05 00 00 20 AA";
    QTest::newRow("op1 level") << 37 << "A5 A5 A5 00 A1 00 02 00 00 08 00 00 00 00 00 00 00 00 AB AA";
    QTest::newRow("op2 third") << 58 << "A5 A5 A5 00 A1 00 03 02 00 08 14 00 00 00 00 00 00 00 BC AA";
    QTest::newRow("op2 last") << 74 << "A5 A5 A5 00 A1 00 03 12 00 08 00 00 00 00 00 00 00 00 B8 AA";
}

void TestFrameBuilder::recordWrite()
{
    QFETCH(int, record);
    QFETCH(QString, bytes);
    ParamImage image;
    image.initDefaults();
    image.setRecord(18, {1, 1, 0x2C, 0x01, 0xA0, 0x05, 0, 0});
    LinkState s = connected();
    const Frame f = FrameBuilder::recordWrite(s, image, record);
    QCOMPARE(hexRow(f.TxFrame), bytes);
    QCOMPARE(f.TxFrame.size(), 20);
    QCOMPARE(f.TxFrame.mid(8, 2), hexBytes("00 08"));
    QCOMPARE(f.hidReport.mid(1, 20), f.TxFrame);
    QCOMPARE(f.hidReport.mid(21), QByteArray(44, '\0'));
}

void TestFrameBuilder::recordWithoutFrame()
{
    ParamImage image;
    LinkState s = connected();
    for (int r : {-1, 75, 76, 77, 78, 79, 80, 81, 82, 1000})
        QVERIFY2(FrameBuilder::recordWrite(s, image, r).isEmpty(), qPrintable(QString::number(r)));
}

void TestFrameBuilder::systemRecordWrite()
{
    SysData sys;
    sys.bytes[0] = 3;
    sys.bytes[3] = 5;
    sys.bytes[8] = 0x77; // past the system record: not sent
    LinkState s = connected(2);
    QCOMPARE(hexRow(FrameBuilder::systemRecordWrite(s, sys).TxFrame),
             QStringLiteral("A5 A5 A5 02 A1 00 21 00 00 08 03 00 00 05 00 00 00 00 8C AA"));
}

void TestFrameBuilder::nameWrite()
{
    SysData sys;
    sys.bytes[0] = 8;
    PresetNames names;
    names.entries[8] = storedName(QStringLiteral("MyName"));
    names.entries[7] = storedName(QStringLiteral("other"));
    LinkState s = connected();
    const Frame f = FrameBuilder::nameWrite(s, sys, names);
    QCOMPARE(hexRow(f.TxFrame),
             QStringLiteral("A5 A5 A5 00 A1 08 27 00 00 14 4D 79 4E 61 6D 65 20 20 20 20 20 20 "
                            "20 20 20 20 20 20 20 20 89 AA"));
    QCOMPARE(f.TxFrame.size(), 32);
    QCOMPARE(f.hidReport.mid(1, 32), f.TxFrame);
}

void TestFrameBuilder::nameWriteSlotWithoutEntry()
{
    SysData sys;
    sys.bytes[0] = 200;
    PresetNames names;
    LinkState s = connected();
    const Frame f = FrameBuilder::nameWrite(s, sys, names);
    QCOMPARE(f.TxFrame.size(), 32);
    QCOMPARE(quint8(f.TxFrame.at(5)), quint8(200));
    QCOMPARE(f.TxFrame.mid(10, 20), QByteArray(20, '\0'));
}

void TestFrameBuilder::idByteRules()
{
    ParamImage image;
    image.initDefaults();
    LinkState s = connected(255);
    s.Broadcast = true;
    s.PickedIdIndex = 4;
    QCOMPARE(hexRow(FrameBuilder::recordWrite(s, image, 5).TxFrame),
             QStringLiteral("A5 A5 A5 FF A1 00 00 05 00 08 1E 00 78 00 00 00 2A 00 1F AA"));
    QCOMPARE(hexRow(FrameBuilder::meterPoll(s).TxFrame),
             QStringLiteral("A5 A5 A5 04 A2 00 2B 00 00 00 8D AA"));
    QCOMPARE(quint8(FrameBuilder::readRequest(s, 0, CMD_RW_One_Group, 0).TxFrame.at(3)), quint8(0xFF));
    // Out of broadcast the meter poll follows DevIdByte like every other frame.
    s.Broadcast = false;
    s.DevIdByte = 7;
    QCOMPARE(quint8(FrameBuilder::meterPoll(s).TxFrame.at(3)), quint8(7));
}

void TestFrameBuilder::targetOnceIsUsedOnce()
{
    LinkState s = connected(255);
    s.Broadcast = true;
    s.PickedIdIndex = 9;
    s.TargetOnce = true;
    QCOMPARE(quint8(FrameBuilder::readRequest(s, 0, CMD_RW_One_Group, 0).TxFrame.at(3)), quint8(9));
    QVERIFY(!s.TargetOnce);
    QCOMPARE(quint8(FrameBuilder::readRequest(s, 0, CMD_RW_One_Group, 0).TxFrame.at(3)), quint8(0xFF));
}

void TestFrameBuilder::nothingWhileDisconnected()
{
    LinkState s;
    s.TargetOnce = true;
    ParamImage image;
    SysData sys;
    PresetNames names;
    QVERIFY(FrameBuilder::meterPoll(s).isEmpty());
    QVERIFY(FrameBuilder::meterPoll(s).hidReport.isEmpty());
    QVERIFY(FrameBuilder::recordWrite(s, image, 0).isEmpty());
    QVERIFY(FrameBuilder::systemRecordWrite(s, sys).isEmpty());
    QVERIFY(FrameBuilder::nameWrite(s, sys, names).isEmpty());
    const BulkWrite bulk = FrameBuilder::bulkWrite(s, 0, CMD_RW_One_Group, image.bytes());
    QVERIFY(bulk.isEmpty());
    QVERIFY(bulk.TxFrame.isEmpty());
    QVERIFY(bulk.hidReports.isEmpty());
    QVERIFY(s.TargetOnce); // nothing was built, so nothing used it
}

void TestFrameBuilder::bulkWrite()
{
    std::array<std::uint8_t, 640> data;
    for (int i = 0; i < 640; ++i)
        data[i] = std::uint8_t(i * 7);
    LinkState s = connected();
    const BulkWrite bulk = FrameBuilder::bulkWrite(s, 3, CMD_Rw_20_Group, data);
    QCOMPARE(hexRow(bulk.header.TxFrame), QStringLiteral("A5 A5 A5 00 A1 03 29 00 02 80"));
    QCOMPARE(bulk.header.hidReport, hexBytes("00 A5 A5 A5 00 A1 03 29 00 02 80") + QByteArray(54, '\0'));
    QCOMPARE(bulk.TxFrame.size(), 642);
    QCOMPARE(bulk.TxFrame.left(640), QByteArray(reinterpret_cast<const char *>(data.data()), 640));
    // The checksum carries on from the header through the data.
    QCOMPARE(hexRow(bulk.TxFrame.mid(640)), QStringLiteral("89 AA"));

    // An all-zero image: the checksum is that of the header alone.
    ParamImage zero;
    const BulkWrite z = FrameBuilder::bulkWrite(s, 0, CMD_RW_One_Group, zero.bytes());
    QCOMPARE(hexRow(z.TxFrame.mid(640)), QStringLiteral("0B AA"));
}

void TestFrameBuilder::bulkWriteOverHid()
{
    std::array<std::uint8_t, 640> data;
    for (int i = 0; i < 640; ++i)
        data[i] = std::uint8_t(i * 7);
    LinkState s = connected();
    const BulkWrite bulk = FrameBuilder::bulkWrite(s, 3, CMD_Rw_20_Group, data);
    QCOMPARE(bulk.hidReports.size(), 12);
    for (int k = 0; k < 10; ++k) {
        const QByteArray &r = bulk.hidReports[k];
        QCOMPARE(r.size(), 65);
        QCOMPARE(r.at(0), '\0');
        QCOMPARE(r.mid(1), bulk.TxFrame.mid(64 * k, 64));
    }
    QCOMPARE(bulk.hidReports[10], hexBytes("00 89 AA") + QByteArray(62, '\0'));
    QCOMPARE(bulk.hidReports[11], bulk.hidReports[10]);
}

QTEST_GUILESS_MAIN(TestFrameBuilder)
#include "tst_framebuilder.moc"
