// Presets against the simulated processor: recall and store on the device, one preset to a file
// and back, all twenty presets to a file and back, and what damaged files, lost replies and a
// device that falls silent get.
#include "e2efixture.h"

#include "model/layout.h"
#include "presets/presetfile.h"
#include "protocol/receiver.h"
#include "session/bulktransfer.h"
#include "session/presetactivity.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace spk;
using namespace spk::sim;

namespace {

// A factory image with a few bytes of its own, so that presets can be told apart.
QByteArray markedImage(int seed)
{
    QByteArray image = SimDevice::factoryImage(1);
    image[levelRecord(Ip0) * RecordSize + LevelByte::Level] = char(100 + seed);
    image[bandRecord(Ip0, 3) * RecordSize + BandByte::Gain] = char(60 + seed);
    image[ImageSize - 1] = char(seed);
    return image;
}

QByteArray recordOf(const QByteArray &image, int idByte, int slot, int command)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(image.constData());
    return PresetFile::recordText(std::span<const std::uint8_t, ImageSize>(data, ImageSize),
                                  std::uint8_t(idByte), std::uint8_t(slot), std::uint8_t(command));
}

QByteArray imageOf(const EditorState &s)
{
    QByteArray out;
    for (int i = 0; i < ImageSize; ++i)
        out += char(s.ParamImage[i]);
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray groupFile(int seed)
{
    QByteArray text;
    for (int n = 1; n <= PresetCount; ++n) {
        const QByteArray r = recordOf(markedImage(seed + n), 0, n, CMD_Rw_20_Group);
        text += r.left(652) + "\r\n" + r.mid(652) + "\r\n";
    }
    return text;
}

int spktoolShow(const QString &path, int preset)
{
    QProcess p;
    p.start(QStringLiteral(SPKTOOL_PATH),
            {QStringLiteral("show"), path, QStringLiteral("--preset"), QString::number(preset)});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void click(const E2eFixture &f, const char *name)
{
    QTest::mouseClick(f.ctl<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton);
}

QList<int> barSteps(int first, int last)
{
    QList<int> out;
    for (int v = first; v <= last; v += 5)
        out << v;
    return out;
}

QList<int> values(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

// Commands the simulator received, meter polls left out.
QList<int> exchanges(const E2eFixture &f)
{
    QList<int> out = f.receivedCommands();
    out.removeAll(CMD_Meter);
    return out;
}

const QString SaveOneQuestion = QStringLiteral("Saving a Preset to PC.Do you want\nto proceed?");

} // namespace

class TestPresets : public QObject
{
    Q_OBJECT
private slots:
    void recallAndStore();
    void saveAndLoadOne();
    void saveAllAndLoadAll();
    void damagedFileReachesNothing_data();
    void damagedFileReachesNothing();
    void lostReplyOfSaveAll_data();
    void lostReplyOfSaveAll();
    void silentDeviceEndsTheTransfer();
    void disconnectWhileSavingOne();
    void unansweredExchangeGivesUp_data();
    void unansweredExchangeGivesUp();

private:
    QTemporaryDir m_dir;
};

void TestPresets::recallAndStore()
{
    E2eFixture f;
    SimDevice *dev = f.sim->device(1);
    dev->setPreset(1, markedImage(1));
    dev->setPresetName(8, "Concert hall set 8XY");
    QByteArray sys = dev->sysData();
    sys[0] = 8;
    dev->setSysData(sys);
    QVERIFY(f.connectAndRun());
    auto *name = f.ctl<QLineEdit>(QStringLiteral("edt_save2dev"));
    QCOMPARE(name->text(), QStringLiteral("Concert hall set 8XY"));
    // A store right after connecting keeps all 20 characters.
    click(f, "btn_save2dev");
    QVERIFY(f.waitFor([&] { return f.dialogs.shown == QStringList{"Save success!!"}; }));
    QCOMPARE(dev->presetName(8), QByteArray("Concert hall set 8XY"));

    f.sim->clearFrames();
    f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"))->setCurrentIndex(0);
    click(f, "btn_load2dev");
    QVERIFY(f.window->progressBox().isShown());
    QVERIFY(f.waitFor([&] { return f.running() && imageOf(f.state()) == markedImage(1); }));
    QCOMPARE(exchanges(f), QList<int>{CMD_RW_One_Group});
    QCOMPARE(quint8(f.sim->receivedFrames(CMD_RW_One_Group).at(0).at(5)), quint8(1));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_lastgroup"))->text(),
             QStringLiteral("Last loaded Preset: Pre0"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03"))->text(), QStringLiteral("-11.8dB"));
    QVERIFY(!f.window->progressBox().isShown());
    QVERIFY(f.state().tmr_disconnect.isActive());

    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(5, name->height() / 2));
    QTest::keyClicks(name, QStringLiteral("Stage left1  "));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2; }));
    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("Save success!!"));
    QCOMPARE(dev->presetName(8), QByteArray("Stage left1         "));
    QCOMPARE(dev->preset(8), imageOf(f.state()));
    QCOMPARE(f.sim->receivedFrames(CMD_W_ProName).size(), 1);
    QCOMPARE(name->text(), QStringLiteral("Stage left1"));
    auto *load = f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"));
    QCOMPARE(load->itemText(7), QStringLiteral("Usr7:Stage left1"));
    QCOMPARE(load->currentIndex(), 7);
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_lastgroup"))->text(),
             QStringLiteral("Last loaded Preset: Usr7"));
}

void TestPresets::saveAndLoadOne()
{
    E2eFixture f;
    SimDevice *dev = f.sim->device(1);
    dev->setImage(markedImage(2));
    QVERIFY(f.connectAndRun());
    // A directory of that name cannot be written, and the user is told.
    const QString saved = m_dir.filePath(QStringLiteral("one.sdat"));
    QVERIFY(QDir().mkpath(saved));
    f.dialogs.answers = {true};
    f.dialogs.files = {saved};
    click(f, "btn_save_onegrp2pc");
    QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2 && f.running(); }));
    QVERIFY(f.dialogs.shown.last().startsWith(QLatin1String("Could not write")));
    QVERIFY(QDir().rmdir(saved));
    // Meter replies arrive while the dialog is open; the file still gets the image reply whole.
    f.dialogs.whileSaveOpen = [&] { f.idleFor(8); };
    f.dialogs.shown.clear();
    f.dialogs.answers = {true};
    f.dialogs.files = {saved};
    const qsizetype polls = f.sim->receivedFrames(CMD_Meter).size();
    click(f, "btn_save_onegrp2pc");
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    QVERIFY(f.sim->receivedFrames(CMD_Meter).size() > polls + 1);
    QCOMPARE(f.dialogs.shown, QStringList{SaveOneQuestion});
    QByteArray reply;
    for (const QByteArray &frame : f.sim->sentFrames())
        if (quint8(frame.at(6)) == CMD_RW_One_Group) reply = frame;
    QCOMPARE(readFile(saved), reply.toHex().toUpper() + "\r\n");
    QCOMPARE(spktoolShow(saved, 1), 0);

    // A file from the device with ID 7, with a byte-order mark, CR-only lines and lower case, loads
    // through the menu; only its image is sent.
    const QByteArray other = markedImage(3);
    const QByteArray record = recordOf(other, 6, 0, CMD_RW_One_Group);
    const QString path = m_dir.filePath(QStringLiteral("other.sdat"));
    QVERIFY(writeFile(path, "\xEF\xBB\xBF" + record.left(600) + "\r" + record.mid(600).toLower() + "\r"));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    f.dialogs.files = {path};
    f.window->findChild<QAction *>(QStringLiteral("Loadapresetfrompc1"))->trigger();
    QVERIFY(f.waitFor([&] { return f.running() && imageOf(f.state()) == other; }));
    QCOMPARE(dev->image(), other);
    QCOMPARE(exchanges(f), QList<int>({CMD_RW_One_Group, CMD_RW_One_Group}));
    const QByteArray write = f.sim->receivedFrames(CMD_RW_One_Group).at(0);
    QCOMPARE(write.left(10).toHex(), QByteArray("a5a5a500a10028000280"));
    QCOMPARE(write.mid(10, ImageSize), other);
    QCOMPARE(write.size(), 652);
}

void TestPresets::saveAllAndLoadAll()
{
    E2eFixture f;
    // Unpaced replies leave the whole tick between them: a busy machine cannot run two into one read.
    f.sim->setPacing(false);
    SimDevice *dev = f.sim->device(1);
    for (int n = 1; n <= PresetCount; ++n)
        dev->setPreset(n, markedImage(10 + n));
    QVERIFY(f.connectAndRun());
    const QString saved = m_dir.filePath(QStringLiteral("all.gdat"));
    QSignalSpy bar(f.window->progressBox().bar(), &QProgressBar::valueChanged);
    f.dialogs.answers = {true, true};
    f.dialogs.files = {saved};
    click(f, "btn_save_20grp2pc");
    // Nothing else starts while the presets are read.
    click(f, "btn_save_onegrp2pc");
    click(f, "btn_load2dev");
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(exchanges(f).count(CMD_RW_One_Group), 1); // the connect sequence's
    QCOMPARE(values(bar), barSteps(5, 100) << 0);

    const QList<QByteArray> lines = readFile(saved).split('\n');
    QCOMPARE(lines.size(), 41);
    QCOMPARE(lines.last(), QByteArray());
    QList<QByteArray> replies;
    for (const QByteArray &frame : f.sim->sentFrames())
        if (quint8(frame.at(6)) == CMD_Rw_20_Group) replies << frame.toHex().toUpper();
    QCOMPARE(replies.size(), PresetCount);
    for (int k = 0; k < PresetCount; ++k)
        QCOMPARE(lines[2 * k].chopped(1) + lines[2 * k + 1].chopped(1), replies[k]);
    QCOMPARE(spktoolShow(saved, 20), 0);
    // A late copy of a reply opens no second dialog.
    ReplyFrame late;
    late.ReplyCmd = CMD_Rw_20_Group;
    late.ReplySlot = 5;
    late.ReplyLength = ImageSize;
    late.hexText = replies[4];
    late.data = QByteArray::fromHex(replies[4]).mid(10, ImageSize);
    f.window->bulkTransfer().Ack_Rw_20_Group_proc(late);
    QCOMPARE(f.dialogs.shown.size(), 1);

    // Back into the device, from a file broken elsewhere, in lower case and with LF lines.
    for (int n = 1; n <= PresetCount; ++n)
        dev->setPreset(n, markedImage(50 + n));
    QByteArray text;
    for (const QByteArray &r : replies)
        text += r.left(100).toLower() + "\n" + r.mid(100) + "\n";
    const QString edited = m_dir.filePath(QStringLiteral("edited.gdat"));
    QVERIFY(writeFile(edited, text));
    f.sim->clearFrames();
    bar.clear();
    f.dialogs.answers = {true};
    f.dialogs.files = {edited};
    click(f, "btn_load_20grp2pc");
    QVERIFY(f.waitFor([&] { return f.running() && f.sim->receivedFrames(CMD_RW_One_Group).size() == 1; }));
    QCOMPARE(values(bar), barSteps(5, 100) << 0);
    QList<int> expected(PresetCount, CMD_Rw_20_Group);
    QCOMPARE(exchanges(f), expected << CMD_R_20_Username << CMD_R_AllSysData << CMD_RW_One_Group);
    const QList<QByteArray> writes = f.sim->receivedFrames(CMD_Rw_20_Group);
    for (int n = 1; n <= PresetCount; ++n) {
        const QByteArray &w = writes[n - 1];
        QCOMPARE(w.size(), 652);
        QCOMPARE(w.left(10), QByteArray::fromHex("A5A5A500A1") + char(n) + QByteArray::fromHex("29000280"));
        QCOMPARE(w.mid(10, ImageSize), markedImage(10 + n));
        QCOMPARE(quint8(w.at(651)), quint8(0xAA));
        QCOMPARE(dev->preset(n), markedImage(10 + n));
    }
    QCOMPARE(imageOf(f.state()), dev->image());
    QVERIFY(!f.window->progressBox().isShown());
    QVERIFY(f.state().tmr_disconnect.isActive());
}

void TestPresets::damagedFileReachesNothing_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    const QByteArray r = recordOf(markedImage(4), 0, 0, CMD_RW_One_Group);
    const QString damaged = QStringLiteral("File damaged.");
    QTest::newRow("1303 characters") << false << r.left(1303) << damaged;
    QTest::newRow("1305 characters") << false << r + "0" << damaged;
    QTest::newRow("a blank") << false << QByteArray(r).replace(700, 1, " ") << damaged;
    QTest::newRow("a G") << false << QByteArray(r).replace(31, 1, "G") << damaged;
    QTest::newRow("empty") << false << QByteArray() << QString();
    QTest::newRow("huge") << false << QByteArray(3 << 20, '0') << damaged;
    QTest::newRow("binary") << false << QByteArray(3000, '\x01') << damaged;
    QTest::newRow("a directory") << false << QByteArray("<dir>") << QStringLiteral("Could not read");
    QTest::newRow("cancelled") << false << QByteArray("<cancel>") << QString();
    const QByteArray group = groupFile(0);
    QTest::newRow("39 lines") << true << group.left(group.lastIndexOf("\r\n", group.size() - 3) + 2)
                              << damaged;
    QTest::newRow("41 lines") << true << group + "00\r\n" << damaged;
    QTest::newRow("a record broken short")
        << true << QByteArray(group).remove(5000, 1).insert(6000, 'A') << damaged;
    QTest::newRow("all cancelled") << true << QByteArray("<cancel>") << QString();
}

void TestPresets::damagedFileReachesNothing()
{
    QFETCH(bool, all);
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    const QString path =
        m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + (all ? ".gdat" : ".sdat"));
    if (text == "<dir>")
        QVERIFY(QDir().mkpath(path));
    else if (text != "<cancel>")
        QVERIFY(writeFile(path, text));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    if (text != "<cancel>") f.dialogs.files = {path};
    click(f, all ? "btn_load_20grp2pc" : "btn_load_onegrp2pc");
    QCOMPARE(f.dialogs.shown.size(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty())
        QVERIFY2(f.dialogs.shown.last().startsWith(message), qPrintable(f.dialogs.shown.last()));
    f.idleFor(4);
    QCOMPARE(exchanges(f), QList<int>());
    QVERIFY(f.running() && f.state().tmr_disconnect.isActive());
    QVERIFY(f.window->presetActivity().mayStart());
}

void TestPresets::lostReplyOfSaveAll_data()
{
    QTest::addColumn<int>("lost");
    QTest::addColumn<QString>("message");
    QTest::newRow("preset 7") << 7 << "Preset 7 did not arrive from the device. No file was saved.";
    QTest::newRow("the last preset") << 20 << "Preset 20 did not arrive from the device. No file was saved.";
}

void TestPresets::lostReplyOfSaveAll()
{
    QFETCH(int, lost);
    QFETCH(QString, message);
    E2eFixture f;
    f.sim->setPacing(false);
    QVERIFY(f.connectAndRun());
    QObject::connect(f.sim.get(), &SimPtyServer::frameReceived, f.sim.get(), [&](const QByteArray &frame) {
        if (quint8(frame.at(6)) == CMD_Rw_20_Group && frame.at(5) == lost) f.sim->faults().dropNext = 1;
    });
    f.dialogs.answers = {true};
    f.dialogs.files = {m_dir.filePath(QStringLiteral("lost.gdat"))};
    click(f, "btn_save_20grp2pc");
    QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2; }));
    QCOMPARE(f.dialogs.shown.last(), message);
    QCOMPARE(f.dialogs.files.size(), 1); // no save dialog
    QVERIFY(f.running() && f.state().tmr_disconnect.isActive());
    QVERIFY(f.window->presetActivity().mayStart());
}

void TestPresets::silentDeviceEndsTheTransfer()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    QObject::connect(f.sim.get(), &SimPtyServer::frameReceived, f.sim.get(), [&](const QByteArray &frame) {
        if (quint8(frame.at(6)) == CMD_Rw_20_Group && frame.at(5) == 5) f.sim->faults().silent = true;
    });
    f.dialogs.answers = {true};
    f.dialogs.files = {m_dir.filePath(QStringLiteral("silent.gdat"))};
    click(f, "btn_save_20grp2pc");
    QVERIFY(f.waitFor([&] { return f.warningShown(); }));
    QVERIFY(f.sim->receivedFrames(CMD_Rw_20_Group).size() < PresetCount);
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(!f.window->progressBox().isShown());
    QCOMPARE(f.dialogs.shown.size(), 1);
    f.sim->faults().clear();
    QVERIFY(f.connectAndRun());
    QVERIFY(f.window->presetActivity().mayStart());
}

void TestPresets::disconnectWhileSavingOne()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    const QString path = m_dir.filePath(QStringLiteral("closed.sdat"));
    f.dialogs.answers = {true};
    f.dialogs.files = {path};
    f.sim->faults().silent = true;
    click(f, "btn_save_onegrp2pc");
    f.click();
    f.sim->faults().clear();
    // The next link's first image opens no save dialog.
    QVERIFY(f.connectAndRun());
    QCOMPARE(f.dialogs.files, QStringList{path});
    QVERIFY(f.window->presetActivity().mayStart());
}

void TestPresets::unansweredExchangeGivesUp_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("recall") << "btn_load2dev";
    QTest::newRow("save one") << "btn_save_onegrp2pc";
    QTest::newRow("load one") << "btn_load_onegrp2pc";
    QTest::newRow("load all") << "btn_load_20grp2pc";
}

void TestPresets::unansweredExchangeGivesUp()
{
    QFETCH(QString, button);
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    const QString one = m_dir.filePath(QStringLiteral("give-up.sdat"));
    const QString all = m_dir.filePath(QStringLiteral("give-up.gdat"));
    QVERIFY(writeFile(one, recordOf(markedImage(5), 0, 0, CMD_RW_One_Group)) && writeFile(all, groupFile(5)));
    f.dialogs.answers = {true};
    f.dialogs.files = {button.contains(QLatin1String("20grp")) ? all : one};
    f.sim->faults().silent = true;
    click(f, button.toLatin1().constData());
    // The watchdog runs again once the reply has had its time, and ends the dead link.
    QVERIFY(f.waitFor([&] { return f.warningShown(); }));
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(!f.window->progressBox().isShown());
    QCOMPARE(f.dialogs.shown.size(), button.startsWith(QLatin1String("btn_load2")) ? 0 : 1);
}

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"
