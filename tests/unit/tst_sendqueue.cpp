#include "hexbytes.h"
#include "protocol/sendqueue.h"

#include <QTest>

using namespace spk;

class TestSendQueue : public QObject
{
    Q_OBJECT

    LinkState m_state;
    DirtyFlags m_flags;
    ParamImage m_image;
    SysData m_sys;
    PresetNames m_names;

    static quint8 idByte(const SendStep &step) { return quint8(step.frame.TxFrame.at(3)); }
    static quint8 command(const SendStep &step) { return quint8(step.frame.TxFrame.at(6)); }
    static quint8 sub(const SendStep &step) { return quint8(step.frame.TxFrame.at(7)); }

private slots:
    void init();
    void idleTicksPollTheMeter();
    void flagsDrainInIndexOrder();
    void oneFramePerTick();
    void flagsWithoutFrame();
    void latestBytesAreSent();
    void nothingWhileDisconnected();
    void broadcastAddressing();
    void newDeviceId();
    void rereadAfterNameWrite();
};

void TestSendQueue::init()
{
    m_state = LinkState{};
    m_state.Connected = true;
    m_state.DevIdByte = 4;
    m_state.PickedIdIndex = 4;
    m_flags.clearAll();
    m_image.initDefaults();
    m_sys = SysData{};
    m_names = PresetNames{};
}

void TestSendQueue::idleTicksPollTheMeter()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    for (int i = 0; i < 3; ++i) {
        const SendStep step = q.tick();
        QCOMPARE(step.kind, SendKind::MeterPoll);
        QCOMPARE(hexRow(step.frame.TxFrame), QStringLiteral("A5 A5 A5 04 A2 00 2B 00 00 00 8D AA"));
    }
}

void TestSendQueue::flagsDrainInIndexOrder()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    m_sys.bytes[0] = 8;
    m_sys.bytes[3] = 5;
    for (int i : {79, 56, 78, 5, 18})
        m_flags.set(i);
    struct Expect
    {
        SendKind kind;
        int index;
        int cmd;
        int sub;
    };
    const Expect expected[] = {
        {SendKind::Record, 5, CMD_Grp_ip0, 5},          {SendKind::Record, 18, CMD_Grp_op0, 0},
        {SendKind::Record, 56, CMD_Grp_op2, 0},         {SendKind::PresetName, 78, CMD_W_ProName, 0},
        {SendKind::SystemRecord, 79, CMD_W_SysData, 0}, {SendKind::MeterPoll, -1, CMD_Meter, 0},
    };
    for (const Expect &e : expected) {
        const SendStep step = q.tick();
        QCOMPARE(step.kind, e.kind);
        QCOMPARE(step.index, e.index);
        QCOMPARE(int(command(step)), e.cmd);
        QCOMPARE(int(sub(step)), e.sub);
        if (e.index >= 0) QVERIFY(!m_flags.test(e.index));
    }
    QVERIFY(!m_flags.first());
}

void TestSendQueue::oneFramePerTick()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    m_flags.set(2);
    m_flags.set(3);
    QCOMPARE(q.tick().index, 2);
    QVERIFY(m_flags.test(3));
}

void TestSendQueue::flagsWithoutFrame()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    for (int i : {75, 76, 77, 80, 81}) {
        m_flags.set(i);
        const SendStep step = q.tick();
        QCOMPARE(step.kind, SendKind::Silent);
        QCOMPARE(step.index, i);
        QVERIFY(step.frame.isEmpty());
        QVERIFY(!m_flags.test(i));
    }
    QCOMPARE(q.tick().kind, SendKind::MeterPoll);
}

void TestSendQueue::latestBytesAreSent()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    m_image.setWord(5, BandByte::Gain, 100);
    m_flags.set(5);
    m_image.setWord(5, BandByte::Gain, 125);
    m_flags.set(5);
    const SendStep step = q.tick();
    QCOMPARE(hexRow(step.frame.TxFrame.mid(10, 8)), QStringLiteral("1E 00 7D 00 00 00 2A 00"));
    QCOMPARE(q.tick().kind, SendKind::MeterPoll);
}

void TestSendQueue::nothingWhileDisconnected()
{
    m_state.Connected = false;
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    m_flags.set(7);
    const SendStep step = q.tick();
    QCOMPARE(step.kind, SendKind::Nothing);
    QVERIFY(step.frame.isEmpty());
    QVERIFY(m_flags.test(7));
}

void TestSendQueue::broadcastAddressing()
{
    m_state.Broadcast = true;
    m_state.DevIdByte = 255;
    m_state.PickedIdIndex = 6;
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);

    m_state.SilenceCount = 9;
    SendStep poll = q.tick();
    QCOMPARE(poll.kind, SendKind::MeterPoll);
    QCOMPARE(idByte(poll), quint8(6));
    QCOMPARE(m_state.SilenceCount, 9); // the picked device answers polls itself

    m_flags.set(0);
    const SendStep record = q.tick();
    QCOMPARE(idByte(record), quint8(0xFF));
    QCOMPARE(m_state.SilenceCount, 0);

    m_state.SilenceCount = 9;
    m_flags.set(80);
    QCOMPARE(q.tick().kind, SendKind::Silent);
    QCOMPARE(m_state.SilenceCount, 0);

    m_state.Broadcast = false;
    m_state.DevIdByte = 3;
    m_state.SilenceCount = 9;
    m_flags.set(0);
    QCOMPARE(idByte(q.tick()), quint8(3));
    QCOMPARE(m_state.SilenceCount, 9);
}

void TestSendQueue::newDeviceId()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    m_sys.bytes[3] = 10;
    m_flags.set(79);
    m_flags.set(0);
    QCOMPARE(idByte(q.tick()), quint8(4)); // record 0 before the system record
    const SendStep sys = q.tick();
    QCOMPARE(sys.kind, SendKind::SystemRecord);
    QCOMPARE(hexRow(sys.frame.TxFrame),
             QStringLiteral("A5 A5 A5 04 A1 00 21 00 00 08 00 00 00 0A 00 00 00 00 86 AA"));
    QCOMPARE(m_state.DevIdByte, 9);
    QCOMPARE(idByte(q.tick()), quint8(9));
}

void TestSendQueue::rereadAfterNameWrite()
{
    SendQueue q(m_state, m_flags, m_image, m_sys, m_names);
    QVERIFY(q.afterNameWrite().isEmpty()); // addressed mode: no re-read
    QVERIFY(!m_state.TargetOnce);

    m_state.Broadcast = true;
    m_state.DevIdByte = 255;
    m_state.PickedIdIndex = 2;
    const Frame reread = q.afterNameWrite();
    QCOMPARE(hexRow(reread.TxFrame), QStringLiteral("A5 A5 A5 02 A2 00 28 00 00 00 88 AA"));
    QVERIFY(!m_state.TargetOnce);
    m_flags.set(1);
    QCOMPARE(idByte(q.tick()), quint8(0xFF));
}

QTEST_GUILESS_MAIN(TestSendQueue)
#include "tst_sendqueue.moc"
