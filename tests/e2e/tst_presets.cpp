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

// A factory image with bytes of its own, so that presets can be told apart.
QByteArray markedImage(int seed)
{
    QByteArray image = SimDevice::factoryImage(1);
    image[bandRecord(Ip0, 3) * RecordSize + BandByte::Gain] = char(60 + seed);
    image[ImageSize - 1] = char(seed);
    return image;
}

QByteArray recordOf(const QByteArray &image, int idByte, int slot, int command)
{
    return PresetFile::recordText(std::span<const std::uint8_t, ImageSize>(
                                      reinterpret_cast<const std::uint8_t *>(image.constData()), ImageSize),
                                  std::uint8_t(idByte), std::uint8_t(slot), std::uint8_t(command));
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

QByteArray imageOf(const EditorState &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.ParamImage.bytes().data()), ImageSize);
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

int spktoolShow(const QString &path, int preset)
{
    QProcess p;
    p.start(QStringLiteral(SPKTOOL_PATH), {"show", path, "--preset", QString::number(preset)});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void click(const E2eFixture &f, const QString &name)
{
    QTest::mouseClick(f.ctl<QPushButton>(name), Qt::LeftButton);
}

// The bar's values: 5, 10 .. 100, then 0 when the box closes.
void compareBar(QSignalSpy &bar)
{
    QList<int> expected, seen;
    for (int v = 5; v <= 100; v += 5)
        expected << v;
    for (const QList<QVariant> &args : bar)
        seen << args.at(0).toInt();
    QCOMPARE(seen, expected << 0);
    bar.clear();
}

// Commands the simulator received, meter polls left out.
QList<int> exchanges(const E2eFixture &f)
{
    QList<int> out = f.receivedCommands();
    out.removeAll(CMD_Meter);
    return out;
}

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
    dev->setSysData(QByteArray(1, 8) + dev->sysData().mid(1));
    QVERIFY(f.connectAndRun());
    // A name of 20 characters shows whole, and a store right away keeps all of them.
    auto *name = f.ctl<QLineEdit>(QStringLiteral("edt_save2dev"));
    QCOMPARE(name->text(), QStringLiteral("Concert hall set 8XY"));
    click(f, QStringLiteral("btn_save2dev"));
    QVERIFY(f.waitFor([&] { return f.dialogs.shown == QStringList{"Save success!!"}; }));
    QCOMPARE(dev->presetName(8), QByteArray("Concert hall set 8XY"));

    f.sim->clearFrames();
    f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"))->setCurrentIndex(0);
    click(f, QStringLiteral("btn_load2dev"));
    QVERIFY(f.window->progressBox().isShown());
    QVERIFY(f.waitFor([&] { return f.running() && imageOf(f.state()) == markedImage(1); }));
    QCOMPARE(exchanges(f), QList<int>{CMD_RW_One_Group});
    QCOMPARE(f.sim->receivedFrames(CMD_RW_One_Group).at(0).at(5), char(1));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_lastgroup"))->text(),
             QStringLiteral("Last loaded Preset: Pre0"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03"))->text(), QStringLiteral("-11.8dB"));
    QVERIFY(!f.window->progressBox().isShown() && f.state().tmr_disconnect.isActive());

    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(5, name->height() / 2));
    QTest::keyClicks(name, QStringLiteral("Stage left1  "));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2; }));
    QCOMPARE(dev->presetName(8), QByteArray("Stage left1         "));
    QCOMPARE(dev->preset(8), imageOf(f.state()));
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
    click(f, QStringLiteral("btn_save_onegrp2pc"));
    QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2 && f.running(); }));
    QVERIFY(f.dialogs.shown.last().startsWith(QLatin1String("Could not write")));
    QVERIFY(QDir().rmdir(saved));
    // Meter replies arrive while the dialog is open; the file still gets the image reply whole.
    f.dialogs.whileOpen = [&] { f.idleFor(8); };
    f.dialogs.answers = {true};
    f.dialogs.files = {saved};
    const qsizetype polls = f.sim->receivedFrames(CMD_Meter).size();
    click(f, QStringLiteral("btn_save_onegrp2pc"));
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    QVERIFY(f.sim->receivedFrames(CMD_Meter).size() > polls + 1);
    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("Saving a Preset to PC.Do you want\nto proceed?"));
    QCOMPARE(readFile(saved), recordOf(markedImage(2), 0, 0, CMD_RW_One_Group) + "\r\n");
    QCOMPARE(spktoolShow(saved, 1), 0);

    // A file from the device with ID 7, with a byte-order mark, CR-only lines and lower case, loads
    // through the menu; only its image is sent.
    const QByteArray record = recordOf(markedImage(3), 6, 0, CMD_RW_One_Group);
    const QString path = m_dir.filePath(QStringLiteral("other.sdat"));
    QVERIFY(writeFile(path, "\xEF\xBB\xBF" + record.left(600) + "\r" + record.mid(600).toLower() + "\r"));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    f.dialogs.files = {path};
    f.window->findChild<QAction *>(QStringLiteral("Loadapresetfrompc1"))->trigger();
    QVERIFY(f.waitFor([&] { return f.running() && imageOf(f.state()) == markedImage(3); }));
    QCOMPARE(dev->image(), markedImage(3));
    QCOMPARE(f.dialogs.fileDialogs,
             QStringList({"(*.sdat) (*.sdat)|sdat|data_flie|ask", "(*.sdat) (*.sdat)|sdat|data_flie|ask",
                          "*.sdat (*.sdat)|sdat"}));
    QCOMPARE(exchanges(f), QList<int>({CMD_RW_One_Group, CMD_RW_One_Group}));
    const QByteArray write = f.sim->receivedFrames(CMD_RW_One_Group).at(0);
    QCOMPARE(write.left(10).toHex(), QByteArray("a5a5a500a10028000280"));
    QCOMPARE(write.mid(10, ImageSize), markedImage(3));
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
    click(f, QStringLiteral("btn_save_20grp2pc"));
    // Nothing else starts while the presets are read.
    click(f, QStringLiteral("btn_save_onegrp2pc"));
    click(f, QStringLiteral("btn_load2dev"));
    click(f, QStringLiteral("btn_EQreset"));
    QVERIFY(f.ctl<QWidget>(QStringLiteral("rzgrpbx_resetalleq"))->isHidden());
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(exchanges(f).count(CMD_RW_One_Group), 1); // the connect sequence's
    compareBar(bar);
    QCOMPARE(readFile(saved), groupFile(10));
    QCOMPARE(spktoolShow(saved, 20), 0);
    // A late copy of a reply opens no second dialog.
    ReplyFrame late{0, DirReply, 5, CMD_Rw_20_Group, 0, ImageSize, EndByte, markedImage(15), {}};
    late.hexText = recordOf(markedImage(15), 0, 5, CMD_Rw_20_Group);
    f.window->bulkTransfer().Ack_Rw_20_Group_proc(late);
    QCOMPARE(f.dialogs.shown.size(), 1);

    // Back into the device, from a file broken elsewhere, in lower case and with LF lines.
    for (int n = 1; n <= PresetCount; ++n)
        dev->setPreset(n, markedImage(50 + n));
    const QString edited = m_dir.filePath(QStringLiteral("edited.gdat"));
    const QByteArray text = readFile(saved).replace("\r\n", "").toLower();
    QByteArray rebroken;
    for (int k = 0; k < PresetCount; ++k)
        rebroken += text.mid(1304 * k, 100) + "\n" + text.mid(1304 * k + 100, 1204) + "\n";
    QVERIFY(writeFile(edited, rebroken));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    f.dialogs.files = {edited};
    click(f, QStringLiteral("btn_load_20grp2pc"));
    QVERIFY(f.waitFor([&] { return f.running() && f.sim->receivedFrames(CMD_RW_One_Group).size() == 1; }));
    compareBar(bar);
    QList<int> expected(PresetCount, CMD_Rw_20_Group);
    QCOMPARE(exchanges(f), expected << CMD_R_20_Username << CMD_R_AllSysData << CMD_RW_One_Group);
    for (int n = 1; n <= PresetCount; ++n) {
        const QByteArray w = f.sim->receivedFrames(CMD_Rw_20_Group).at(n - 1);
        QCOMPARE(w.size(), 652);
        QCOMPARE(w.left(10), QByteArray::fromHex("A5A5A500A1") + char(n) + QByteArray::fromHex("29000280"));
        QCOMPARE(dev->preset(n), markedImage(10 + n));
    }
    QCOMPARE(imageOf(f.state()), dev->image());
    QVERIFY(!f.window->progressBox().isShown() && f.state().tmr_disconnect.isActive());
    QCOMPARE(f.dialogs.fileDialogs,
             QStringList({"(*.gdat) (*.gdat)|gdat|grp_data1|", "*.gdat (*.gdat)|gdat"}));
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
    QTest::newRow("records of 1303 and 1305")
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
    QVERIFY(text == "<cancel>" || (text == "<dir>" ? QDir().mkpath(path) : writeFile(path, text)));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    if (text != "<cancel>") f.dialogs.files = {path};
    click(f, QString::fromLatin1(all ? "btn_load_20grp2pc" : "btn_load_onegrp2pc"));
    QCOMPARE(f.dialogs.shown.size(), message.isEmpty() ? 1 : 2);
    QVERIFY(f.dialogs.shown.last().startsWith(message.isEmpty() ? QStringLiteral("Loading") : message));
    f.idleFor(4);
    QCOMPARE(exchanges(f), QList<int>());
    QVERIFY(f.running() && f.state().tmr_disconnect.isActive() && f.window->presetActivity().mayStart());
}

void TestPresets::lostReplyOfSaveAll_data()
{
    QTest::addColumn<int>("lost");
    QTest::addColumn<bool>("silent"); // the device falls silent instead
    QTest::newRow("preset 7 lost") << 7 << false;
    QTest::newRow("the last preset lost") << 20 << false;
    QTest::newRow("silent from preset 5 on") << 5 << true;
}

void TestPresets::lostReplyOfSaveAll()
{
    QFETCH(int, lost);
    QFETCH(bool, silent);
    E2eFixture f;
    f.sim->setPacing(false);
    QVERIFY(f.connectAndRun());
    QObject::connect(f.sim.get(), &SimPtyServer::frameReceived, f.sim.get(), [&](const QByteArray &frame) {
        if (quint8(frame.at(6)) != CMD_Rw_20_Group || frame.at(5) != lost) return;
        f.sim->faults().dropNext = 1;
        f.sim->faults().silent = silent;
    });
    f.dialogs.answers = {true};
    f.dialogs.files = {m_dir.filePath(QStringLiteral("lost.gdat"))};
    click(f, QStringLiteral("btn_save_20grp2pc"));
    if (silent) {
        // The watchdog ends the link, and the transfer with it.
        QVERIFY(f.waitFor([&] { return f.warningShown(); }));
        QVERIFY(f.sim->receivedFrames(CMD_Rw_20_Group).size() < PresetCount);
        QCOMPARE(f.runningLinkTimers(), QStringList());
        QVERIFY(!f.window->progressBox().isShown());
        f.sim->faults().clear();
        QVERIFY(f.connectAndRun());
    } else {
        QVERIFY(f.waitFor([&] { return f.dialogs.shown.size() == 2; }));
        QCOMPARE(f.dialogs.shown.last(),
                 QStringLiteral("Preset %1 did not arrive from the device. No file was saved.").arg(lost));
        QVERIFY(f.running() && f.state().tmr_disconnect.isActive());
    }
    QCOMPARE(f.dialogs.files.size(), 1); // no save dialog
    QVERIFY(f.window->presetActivity().mayStart());
}

void TestPresets::unansweredExchangeGivesUp_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("end"); // how the link ends: the watchdog, the user, lost while asking
    QTest::newRow("recall") << "btn_load2dev"
                            << "watchdog";
    QTest::newRow("save one") << "btn_save_onegrp2pc"
                              << "watchdog";
    QTest::newRow("load one") << "btn_load_onegrp2pc"
                              << "watchdog";
    QTest::newRow("load all") << "btn_load_20grp2pc"
                              << "watchdog";
    QTest::newRow("save one, closed") << "btn_save_onegrp2pc"
                                      << "user";
    QTest::newRow("save all, lost while asking") << "btn_save_20grp2pc"
                                                 << "asking";
}

void TestPresets::unansweredExchangeGivesUp()
{
    QFETCH(QString, button);
    QFETCH(QString, end);
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    const QString one = m_dir.filePath(QStringLiteral("give-up.sdat"));
    const QString all = m_dir.filePath(QStringLiteral("give-up.gdat"));
    QVERIFY(writeFile(one, recordOf(markedImage(5), 0, 0, CMD_RW_One_Group)) && writeFile(all, groupFile(5)));
    f.dialogs.answers = {true};
    f.dialogs.files = {button.contains(QLatin1String("load_20")) ? all : one};
    if (end == QLatin1String("asking"))
        f.dialogs.whileOpen = [&] { QVERIFY(f.waitFor([&] { return f.warningShown(); })); };
    f.sim->faults().silent = true;
    click(f, button);
    if (end == QLatin1String("user")) f.click();
    // Without a reply the watchdog runs again, and ends the dead link.
    QVERIFY(f.waitFor([&] { return f.warningShown() || end == QLatin1String("user"); }));
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(!f.window->progressBox().isShown());
    // The next link's first image opens no save dialog.
    f.dialogs.whileOpen = nullptr;
    f.sim->faults().clear();
    QVERIFY(f.connectAndRun());
    QCOMPARE(f.dialogs.shown.size(), button == QLatin1String("btn_load2dev") ? 0 : 1);
    QCOMPARE(f.dialogs.files.isEmpty(), button.startsWith(QLatin1String("btn_load_")));
    QVERIFY(f.window->presetActivity().mayStart());
}

QTEST_MAIN(TestPresets)
#include "tst_presets.moc"
