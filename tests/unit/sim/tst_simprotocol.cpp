// The editor's own frame builders and receive path against the simulator, in process, over the
// serial form (paced bursts) and the HID form (reports).
#include "simline.h"

#include "model/timing.h"
#include "protocol/framebuilder.h"
#include "protocol/meter.h"
#include "protocol/receiver.h"
#include "protocol/replies.h"

#include <QSignalSpy>
#include <QTest>

using namespace spk;
using namespace spk::sim;

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray &b)
{
    return {reinterpret_cast<const std::uint8_t *>(b.constData()), std::size_t(b.size())};
}

} // namespace

class TestSimProtocol : public QObject
{
    Q_OBJECT

    // The editor's side of one link.
    struct Editor
    {
        LinkState state;
        Receiver receiver{state};
        QList<ReplyFrame> replies;
        bool usb = false;

        explicit Editor(SimLine &line, bool usbLink)
        {
            usb = usbLink;
            state.Connected = true;
            state.UsbMode = usbLink;
            for (int cmd : {CMD_Meter, CMD_Version, CMD_R_AllSysData, CMD_R_20_Username, CMD_RW_One_Group,
                            CMD_Rw_20_Group})
                receiver.setHandler(cmd, [this](const ReplyFrame &f) { replies.append(f); });
            QObject::connect(&line, &SimLine::bytesOut, &line,
                             [this](const QByteArray &b) { receiver.serialArrival(b); });
            QObject::connect(&line, &SimLine::reportOut, &line,
                             [this](const QByteArray &r) { receiver.ShowRead(r); });
        }
        void send(SimLine &line, const Frame &f)
        {
            if (usb)
                line.writeReport(f.hidReport);
            else
                line.writeBytes(f.TxFrame);
        }
        void send(SimLine &line, const BulkWrite &b)
        {
            send(line, b.header);
            if (usb)
                for (const QByteArray &r : b.hidReports)
                    line.writeReport(r);
            else
                line.writeBytes(b.TxFrame);
        }
        // Sends and waits for the reply to be dispatched.
        ReplyFrame ask(SimLine &line, const Frame &f)
        {
            const qsizetype before = replies.size();
            send(line, f);
            if (!QTest::qWaitFor([&] { return replies.size() > before; }, 5000)) return {};
            return replies.last();
        }
    };

private slots:
    void initTestCase() { setTimeScale(0.02); }

    void connectSequenceAndEdits_data()
    {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<bool>("pacing");
        QTest::newRow("serial, paced") << false << true;
        QTest::newRow("serial, at once") << false << false;
        QTest::newRow("usb") << true << false;
    }
    void connectSequenceAndEdits()
    {
        QFETCH(bool, usb);
        QFETCH(bool, pacing);
        SimLine line({1, 5});
        line.setPacing(pacing);
        SimDevice *dev = line.bus().device(5);
        Editor ed(line, usb);
        ed.state.DevIdByte = usb ? 0 : 4; // USB is point to point: the first device answers

        ReplyFrame r = ed.ask(line, FrameBuilder::readRequest(ed.state, 0, CMD_Version, 0));
        QVERIFY(versionMatches(r.bytes()));

        PresetNames names;
        r = ed.ask(line, FrameBuilder::readRequest(ed.state, 0, CMD_R_20_Username, 0));
        const auto items = decodeNames(r.bytes(), names);
        QVERIFY(items);
        QCOMPARE(items->at(0), QStringLiteral("Pre0:Flat                "));
        QCOMPARE(items->at(3), QStringLiteral("Pre3:Live Band           "));

        SysData sys;
        r = ed.ask(line, FrameBuilder::readRequest(ed.state, 0, CMD_R_AllSysData, 0));
        QVERIFY(decodeSysData(r.bytes(), sys, names));
        QCOMPARE(int(sys.bytes[3]), usb ? 1 : 5);

        ParamImage image;
        r = ed.ask(line, FrameBuilder::readRequest(ed.state, 0, CMD_RW_One_Group, 0));
        QVERIFY(decodeImage(r.bytes(), image));
        SimDevice *target = usb ? line.bus().device(1) : dev;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.bytes().data()), 640), target->image());

        // An edit: EQ band 3 of op2 gets a new gain; the device stores exactly that record.
        const int record = bandRecord(Op2, 3);
        image.setWord(record, BandByte::Gain, 150);
        ed.send(line, FrameBuilder::recordWrite(ed.state, image, record));
        QTRY_COMPARE_WITH_TIMEOUT(target->image().mid(record * 8, 8),
                                  QByteArray(reinterpret_cast<const char *>(image.record(record).data()), 8),
                                  5000);

        // Storing the user preset: a name write stores the working parameters as preset 8.
        sys.bytes[0] = 8;
        names.entries[8] = storedName(QStringLiteral("Stage"));
        ed.send(line, FrameBuilder::nameWrite(ed.state, sys, names));
        QTRY_COMPARE_WITH_TIMEOUT(target->presetName(8), QByteArray("Stage               "), 5000);
        QCOMPARE(target->preset(8), target->image());

        // Recalling preset 3 returns it and makes it the working image.
        r = ed.ask(line, FrameBuilder::readRequest(ed.state, 3, CMD_RW_One_Group, 0));
        QCOMPARE(r.ReplySlot, 3);
        QCOMPARE(r.data, target->preset(3));
        QCOMPARE(target->image(), target->preset(3));

        // A bulk write of preset 17 and reading it back.
        QByteArray stored(640, '\0');
        for (int i = 0; i < 640; ++i)
            stored[i] = char(255 - i % 251);
        ed.send(line, FrameBuilder::bulkWrite(ed.state, 17, CMD_Rw_20_Group, bytesOf(stored)));
        QTRY_COMPARE_WITH_TIMEOUT(target->preset(17), stored, 5000);
        r = ed.ask(line, FrameBuilder::readRequest(ed.state, 17, CMD_Rw_20_Group, 0));
        QCOMPARE(r.ReplyCmd, int(CMD_Rw_20_Group));
        QCOMPARE(r.data, stored);

        // The meter, forced.
        target->meter().force({1160, 3, 1, 0, 0});
        r = ed.ask(line, FrameBuilder::meterPoll(ed.state));
        const auto view = decodeMeter(ed.state, r.bytes());
        QVERIFY(view);
        QCOMPARE(view->statusText, QStringLiteral("Temperature: 68'C   Attenuation dB: 3 dB"));
        QVERIFY(view->limiterLed);
    }

    void idChangeThenNewAddress()
    {
        SimLine line({1, 5});
        line.setPacing(false);
        Editor ed(line, false);
        ed.state.DevIdByte = 0;
        SysData sys;
        sys.bytes[3] = 12;
        ed.send(line, FrameBuilder::systemRecordWrite(ed.state, sys));
        QTRY_COMPARE_WITH_TIMEOUT(line.bus().ids(), QList<int>({12, 5}), 5000);
        ed.state.DevIdByte = 11;
        const ReplyFrame r = ed.ask(line, FrameBuilder::meterPoll(ed.state));
        QCOMPARE(r.ReplyDevId, 11);
    }

    void broadcastIsNotAnswered()
    {
        SimLine line({1, 5});
        line.setPacing(false);
        Editor ed(line, false);
        ed.state.Broadcast = true;
        ed.state.DevIdByte = BroadcastIdByte;
        ParamImage image;
        image.initDefaults();
        ed.send(line, FrameBuilder::recordWrite(ed.state, image, 0));
        ed.send(line, FrameBuilder::readRequest(ed.state, 0, CMD_Version, 0));
        QTest::qWait(50);
        QVERIFY(ed.replies.isEmpty());
        for (SimDevice *d : line.bus().devices())
            QCOMPARE(d->image().left(8), QByteArray(8, '\0'));
        // Meter polls go to the picked ID even in broadcast mode.
        ed.state.PickedIdIndex = 4;
        QCOMPARE(ed.ask(line, FrameBuilder::meterPoll(ed.state)).ReplyDevId, 4);
    }

    void badEndByteIsNotDispatched()
    {
        SimLine line({1});
        line.setPacing(false);
        line.faults().badEndNext = 1;
        Editor ed(line, false);
        ed.state.SilenceCount = 7;
        ed.send(line, FrameBuilder::meterPoll(ed.state));
        QTRY_COMPARE_WITH_TIMEOUT(ed.state.SilenceCount, 0, 5000);
        QVERIFY(ed.replies.isEmpty());
        QCOMPARE(ed.ask(line, FrameBuilder::meterPoll(ed.state)).ReplyCmd, int(CMD_Meter));
    }
};

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_simprotocol.moc"
