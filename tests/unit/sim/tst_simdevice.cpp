// Device and bus logic: every command, addressing, ID change, presets, bulk transfers.
#include "simtestframes.h"

#include "simbus.h"

#include <QSet>
#include <QTest>

using namespace spk;
using namespace spk::sim;
using namespace simtest;

class TestSimDevice : public QObject
{
    Q_OBJECT

    static QByteArray one(SimBus &bus, const QByteArray &request)
    {
        const QList<QByteArray> replies = bus.receiveBytes(request);
        return replies.isEmpty() ? QByteArray() : replies.join();
    }

private slots:
    void exactReplies_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("version, ID 1")
            << hex("A5A5A500A200A000000002AA")
            << hex("A5A5A5005200A00000185155454E44414C32392056322E312E302020202020202020E2AA");
        QTest::newRow("meter, ID 5") << hex("A5A5A504A2002B0000008DAA")
                                     << hex("A5A5A50452002B000008000012340301000051AA");
    }
    void exactReplies()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        SimBus bus({1, 5});
        bus.device(5)->meter().force({0x1234, 3, 1, 0, 0});
        QCOMPARE(one(bus, request).toHex(), reply.toHex());
    }

    void readReplies_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("cmd");
        QTest::addColumn<int>("length");
        QTest::newRow("system data") << 0 << 0x22 << 48;
        QTest::newRow("names") << 0 << 0x26 << 400;
        QTest::newRow("working image") << 0 << 0x28 << 640;
        QTest::newRow("stored preset 3") << 3 << 0x29 << 640;
        QTest::newRow("stored preset 20") << 20 << 0x29 << 640;
        QTest::newRow("meter") << 0 << 0x2B << 8;
        QTest::newRow("version") << 0 << 0xA0 << 24;
    }
    void readReplies()
    {
        QFETCH(int, slot);
        QFETCH(int, cmd);
        QFETCH(int, length);
        SimBus bus({9});
        SimDevice *d = bus.device(9);
        const QByteArray got = one(bus, read(8, slot, cmd));
        QCOMPARE(got.size(), length + 12);
        QByteArray data = got.mid(10, length);
        // Same slot, command and sub-index as asked, reply direction, own ID byte, checksum over it all.
        QCOMPARE(got.left(10).toHex(), frame(8, 0x52, slot, cmd, 0, data).left(10).toHex());
        QCOMPARE(got.toHex(), reply(8, slot, cmd, 0, data).toHex());
        if (cmd == 0x22) {
            QCOMPARE(int(quint8(data.at(0))), 1);
            QCOMPARE(int(quint8(data.at(3))), 9);
        }
        if (cmd == 0x26) {
            QCOMPARE(data.left(20), QByteArray("Flat                "));
            QCOMPARE(data.mid(8 * 20, 20), QByteArray(20, '\0')); // preset 9 never named
        }
        if (cmd == 0x28) QCOMPARE(data, d->image());
        if (cmd == 0x29) QCOMPARE(data, d->preset(slot));
    }

    void factoryImageIsNotTheEditorDefault()
    {
        SimDevice d;
        QCOMPARE(d.image(), SimDevice::factoryImage(1));
        QVERIFY(SimDevice::factoryImage(1) != SimDevice::factoryImage(2));
        // Level code of ip0 is 250 (-10 dB), not the start-up 0.
        QCOMPARE(quint8(d.image().at(2)) | (quint8(d.image().at(3)) << 8), 250);
    }

    void recordWrites_data()
    {
        QTest::addColumn<int>("cmd");
        QTest::addColumn<int>("sub");
        QTest::addColumn<int>("record"); // -1: ignored
        QTest::newRow("ip0 band 4") << 0x00 << 5 << 5;
        QTest::newRow("ip0 last") << 0x00 << 17 << 17;
        QTest::newRow("ip0 beyond") << 0x00 << 18 << -1;
        QTest::newRow("op0 level") << 0x01 << 0 << 18;
        QTest::newRow("op1 last") << 0x02 << 18 << 55;
        QTest::newRow("op2 crossover") << 0x03 << 1 << 57;
        QTest::newRow("op2 last") << 0x03 << 18 << 74;
        QTest::newRow("op2 beyond") << 0x03 << 19 << -1;
    }
    void recordWrites()
    {
        QFETCH(int, cmd);
        QFETCH(int, sub);
        QFETCH(int, record);
        SimBus bus({1});
        SimDevice *d = bus.device(1);
        QByteArray expected = d->image();
        const QByteArray data = hex("0102030405060708");
        if (record >= 0) expected.replace(record * 8, 8, data);
        QVERIFY(bus.receiveBytes(write(0, 0, cmd, sub, data)).isEmpty()); // writes are not answered
        QCOMPARE(d->image().toHex(), expected.toHex());
        QCOMPARE(bus.receivedFrames().size(), 1);
    }

    void broadcastTakenByAllAnsweredByNone()
    {
        SimBus bus({1, 5});
        const QByteArray data = hex("0000C8000000FF00");
        QVERIFY(bus.receiveBytes(write(255, 0, 0x01, 0, data)).isEmpty());
        for (SimDevice *d : bus.devices())
            QCOMPARE(d->image().mid(18 * 8, 8), data);
        QVERIFY(bus.receiveBytes(read(255, 0, 0x2B)).isEmpty());
        QVERIFY(bus.receiveBytes(read(255, 0, 0xA0)).isEmpty());
        // A broadcast recall still recalls on every device.
        QVERIFY(bus.receiveBytes(read(255, 4, 0x28)).isEmpty());
        for (SimDevice *d : bus.devices()) {
            QCOMPARE(d->image(), d->preset(4));
            QCOMPARE(d->lastPreset(), 4);
        }
        QVERIFY(bus.sentFrames().isEmpty());
    }

    void unknownIdIsSilent()
    {
        SimBus bus({1, 5});
        const QByteArray before = bus.device(1)->image() + bus.device(5)->image();
        for (int id : {1, 3, 5, 249, 250})
            QVERIFY(bus.receiveBytes(read(id, 0, 0xA0)).isEmpty());
        QVERIFY(bus.receiveBytes(write(2, 0, 0x00, 0, hex("0101010101010101"))).isEmpty());
        QCOMPARE(bus.device(1)->image() + bus.device(5)->image(), before);
        QCOMPARE(bus.receivedFrames().size(), 6);
    }

    void systemWriteChangesIdAfterTheFrame()
    {
        SimBus bus({1, 5});
        // Still addressed to ID 1 (byte 0); byte 3 carries the new ID 7.
        QVERIFY(bus.receiveBytes(write(0, 0, 0x21, 0, hex("0300000700000000"))).isEmpty());
        QCOMPARE(bus.ids(), QList<int>({7, 5}));
        QVERIFY(bus.receiveBytes(read(0, 0, 0x2B)).isEmpty());
        const QByteArray sys = one(bus, read(6, 0, 0x22));
        QCOMPARE(sys.left(4).toHex(), QByteArray("a5a5a506"));
        QCOMPARE(int(quint8(sys.at(10 + 3))), 7);
        QCOMPARE(int(quint8(sys.at(10 + 0))), 3);
    }

    void systemWriteKeepsAReachableId_data()
    {
        QTest::addColumn<int>("newId");
        QTest::newRow("0") << 0;
        QTest::newRow("251") << 251;
        QTest::newRow("255") << 255;
    }
    void systemWriteKeepsAReachableId()
    {
        QFETCH(int, newId);
        SimBus bus({1});
        QByteArray data = hex("0000000000000000");
        data[3] = char(newId);
        bus.receiveBytes(write(0, 0, 0x21, 0, data));
        QCOMPARE(bus.ids(), QList<int>({1}));
        QCOMPARE(int(quint8(bus.device(1)->sysData().at(3))), 1);
    }

    void nameWriteStoresThePreset()
    {
        SimBus bus({1});
        SimDevice *d = bus.device(1);
        bus.receiveBytes(write(0, 0, 0x00, 0, hex("00000A0100000000")));
        const QByteArray working = d->image();
        const QByteArray name("Rehearsal room      ");
        QVERIFY(bus.receiveBytes(write(0, 8, 0x27, 0, name)).isEmpty());
        QCOMPARE(d->preset(8), working);
        QCOMPARE(d->presetName(8), name);
        QCOMPARE(d->lastPreset(), 8);
        QCOMPARE(one(bus, read(0, 0, 0x26)).mid(10 + 7 * 20, 20), name);
        QCOMPARE(one(bus, read(0, 8, 0x29)).mid(10, 640), working);
    }

    void recall()
    {
        SimBus bus({1});
        SimDevice *d = bus.device(1);
        bus.receiveBytes(write(0, 0, 0x00, 3, hex("FFFFFFFFFFFFFFFF")));
        const QByteArray got = one(bus, read(0, 3, 0x28));
        QCOMPARE(got.toHex(), reply(0, 3, 0x28, 0, d->preset(3)).toHex());
        QCOMPARE(d->image(), d->preset(3));
        QCOMPARE(d->lastPreset(), 3);
        // No preset 21: no answer, nothing changes.
        QVERIFY(one(bus, read(0, 21, 0x28)).isEmpty());
        QCOMPARE(d->lastPreset(), 3);
    }

    void bulkWriteAndRead()
    {
        SimBus bus({1});
        SimDevice *d = bus.device(1);
        const QByteArray image = pattern(1);
        QVERIFY(bus.receiveBytes(write(0, 0, 0x28, 0, image)).isEmpty());
        QCOMPARE(d->image(), image);
        QCOMPARE(one(bus, read(0, 0, 0x28)).toHex(), reply(0, 0, 0x28, 0, image).toHex());

        const QByteArray stored = pattern(2);
        QVERIFY(bus.receiveBytes(write(0, 12, 0x29, 0, stored)).isEmpty());
        QCOMPARE(d->preset(12), stored);
        QCOMPARE(d->image(), image); // a stored preset does not touch the working image
        QCOMPARE(one(bus, read(0, 12, 0x29)).toHex(), reply(0, 12, 0x29, 0, stored).toHex());
        // Writing slot 0 with 0x29, or slot n with 0x28, is not a thing the device does.
        QVERIFY(bus.receiveBytes(write(0, 0, 0x29, 0, pattern(3))).isEmpty());
        QVERIFY(bus.receiveBytes(write(0, 5, 0x28, 0, pattern(3))).isEmpty());
        QCOMPARE(d->image(), image);
        QCOMPARE(d->preset(5), SimDevice::factoryImage(5));
    }

    void malformedFramesAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray badSum = read(0, 0, 0xA0);
        badSum[10] = char(badSum.at(10) ^ 1);
        QTest::newRow("bad checksum") << badSum;
        QTest::newRow("bad end") << frame(0, 0xA2, 0, 0xA0, 0, {}, 0xAB);
        QTest::newRow("read with data") << frame(0, 0xA2, 0, 0xA0, 0, hex("00"));
        QTest::newRow("reply direction") << frame(0, 0x52, 0, 0xA0, 0);
        QTest::newRow("write too short") << write(0, 0, 0x00, 0, hex("01020304"));
        QTest::newRow("name too long") << write(0, 8, 0x27, 0, QByteArray(21, 'x'));
        QTest::newRow("unknown command") << read(0, 0, 0x55);
        QTest::newRow("name slot 0") << write(0, 0, 0x27, 0, QByteArray(20, 'x'));
    }
    void malformedFramesAreIgnored()
    {
        QFETCH(QByteArray, bytes);
        SimBus bus({1});
        const QByteArray before = SimDevice().image();
        QVERIFY(bus.receiveBytes(bytes).isEmpty());
        QCOMPARE(bus.device(1)->image(), before);
        QCOMPARE(bus.device(1)->presetName(8), SimDevice::factoryName(8));
        // The line keeps working.
        QCOMPARE(one(bus, read(0, 0, 0xA0)).size(), 36);
    }

    void wrongVersionText()
    {
        SimBus bus({1});
        bus.device(1)->setVersionText("QUENDAL29 V2.1.0       X");
        QCOMPARE(one(bus, read(0, 0, 0xA0)).mid(10, 24), QByteArray("QUENDAL29 V2.1.0       X"));
        bus.device(1)->setVersionText("SHORT");
        QCOMPARE(one(bus, read(0, 0, 0xA0)).toHex(), reply(0, 0, 0xA0, 0, "SHORT").toHex());
    }

    void meterMovesPlausibly()
    {
        SimMeter m(42);
        QSet<int> readings;
        for (int i = 0; i < 600; ++i) {
            m.advance(1.0);
            const SimMeterValues v = m.current();
            readings.insert(v.reading);
            QVERIFY2(v.reading >= 1000 && v.reading <= 5300, qPrintable(QString::number(v.reading)));
            if (v.attenuation > 0) // only when hot
                QVERIFY(m.celsius() > 60.0);
        }
        QVERIFY(readings.size() > 50);
        // The sensor reading falls as the temperature rises.
        QVERIFY(SimMeter::readingForCelsius(70) < SimMeter::readingForCelsius(40));
        QVERIFY(qAbs(SimMeter::readingForCelsius(70) - 1123) < 40);
        QVERIFY(qAbs(SimMeter::readingForCelsius(10) - 5118) < 40);
    }

    void meterCanBeForced()
    {
        SimBus bus({1});
        SimMeter &m = bus.device(1)->meter();
        m.force({0xFFFF, 9, 2, 5, 6});
        QCOMPARE(one(bus, read(0, 0, 0x2B)).mid(10, 8).toHex(), QByteArray("0000ffff09020506"));
        m.release();
        QVERIFY(!m.isForced());
        QCOMPARE(one(bus, read(0, 0, 0x2B)).mid(10, 8), SimMeter::replyData(m.current()));
    }
};

QTEST_GUILESS_MAIN(TestSimDevice)
#include "tst_simdevice.moc"
