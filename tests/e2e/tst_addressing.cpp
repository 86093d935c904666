// Device addressing against simulated RS-485 lines on real pseudo-terminals: the quick search at
// start-up, the full search with its result, Cancel and vanishing ports, changing a device's ID and
// broadcast mode.
#include "e2efixture.h"
#include "ser2net.h"

#include "fakes/fakeportcatalog.h"
#include "presets/presetfile.h"
#include "protocol/commands.h"
#include "session/broadcast.h"
#include "session/idchange.h"
#include "session/idsearch.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>

using namespace spk;
using namespace spk::sim;

namespace {

constexpr double SearchScale = 0.05;

// Picks an item with the keyboard, as the user does (the list's handler runs).
void choose(QComboBox *list, int index)
{
    list->setFocus(Qt::MouseFocusReason);
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

void typeInto(QLineEdit *e, const QString &keys)
{
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, e->height() / 2));
    e->selectAll();
    QTest::keyClicks(e, keys);
    QTest::keyClick(e, Qt::Key_Return);
}

// Two simulated lines listed as ttySIM<a> and ttySIM<b>, and the window over them.
struct TwoLines
{
    TwoLines(const QList<int> &first, const QList<int> &second, bool bootSearch, double scale = SearchScale)
    {
        setTimeScale(scale);
        a = std::make_unique<SimPtyServer>(first);
        b = std::make_unique<SimPtyServer>(second);
        started = a->start() && b->start();
        for (SimPtyServer *s : {a.get(), b.get()})
            s->setPacing(false);
        catalog.setPorts({{a->portName(), a->linkPath()}, {b->portName(), b->linkPath()}});
        f = std::make_unique<E2eFixture>(QList<int>{}, false, &catalog, bootSearch, scale);
    }
    ~TwoLines() { f.reset(); }

    QString memo() const { return f->ctl<QPlainTextEdit>(QStringLiteral("mmo_s_result"))->toPlainText(); }
    QWidget *box(const char *name) const { return f->ctl<QWidget>(QString::fromLatin1(name)); }
    bool mainGroupsShown() const
    {
        for (const char *name : {"grp1", "grp2", "rzgrpbx5", "rzgrpbx9", "img1"})
            if (box(name)->isHidden() || !box(name)->isEnabled()) return false;
        return true;
    }
    // ID bytes of the meter polls a line received.
    static QList<int> polledIds(const SimPtyServer &s)
    {
        QList<int> out;
        for (const QByteArray &frame : s.receivedFrames(CMD_Meter))
            out << quint8(frame.at(3));
        return out;
    }
    // The search runs inside the click, in waits that serve events: what a test does or looks at
    // meanwhile runs from a timer, once, when the condition first holds.
    void when(const std::function<bool()> &condition, const std::function<void()> &action)
    {
        auto *timer = new QTimer(f->window.get());
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, [=] {
            if (!condition()) return;
            timer->stop();
            timer->deleteLater();
            action();
        });
        timer->start();
    }
    void click(const char *name)
    {
        QTest::mouseClick(f->ctl<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    FakePortCatalog catalog;
    std::unique_ptr<SimPtyServer> a, b;
    std::unique_ptr<E2eFixture> f;
    bool started = false;
};

} // namespace

class TestAddressing : public QObject
{
    Q_OBJECT
private slots:
    void quickSearchAtStart();
    void fullSearch_data();
    void fullSearch();
    void cancelKeepsWhatWasFound();
    void portVanishes_data();
    void portVanishes();
    void changeDeviceIdAndRefusals();
    void broadcastMode();
};

void TestAddressing::quickSearchAtStart()
{
    TwoLines t({3, 5, 20}, {2}, true);
    QVERIFY(t.started);
    // Hidden from the start, while the search runs.
    QVERIFY(t.box("grp1")->isHidden());
    QVERIFY(t.f->waitFor([&] { return t.box("rzgrpbx_sch_result")->isVisible(); }));
    QVERIFY(t.box("grp1")->isHidden() && t.box("rzgrpbx9")->isHidden());
    QVERIFY(t.box("rzgrpbx_searchID")->isHidden());
    QCOMPARE(t.box("rzgrpbx_sch_result")->pos(), IdSearch::ResultBoxAt);
    QCOMPARE(
        t.memo(),
        QStringLiteral("\n%1--Device ID:3 , 5 , \n%2--Device ID:2 , ").arg(t.a->portName(), t.b->portName()));
    // ID bytes 0..10 only.
    QCOMPARE(TwoLines::polledIds(*t.b), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(TwoLines::polledIds(*t.a), TwoLines::polledIds(*t.b));
    // The first ID found on the first listed port.
    QCOMPARE(t.f->ctl<QComboBox>(QStringLiteral("cbb_deviceid"))->currentIndex(), 2);
    QVERIFY(!t.f->state().Link.Connected);

    // tmr_close_seach closes the box and brings the groups back.
    QVERIFY(t.f->state().tmr_close_seach.isActive());
    QVERIFY(t.f->waitFor([&] { return t.box("rzgrpbx_sch_result")->isHidden(); }));
    QVERIFY(t.f->waitFor([&] { return !t.a->clientConnected() && !t.b->clientConnected(); }));
    QVERIFY(t.mainGroupsShown());
    QVERIFY(t.f->dialogs.shown.isEmpty());
    // The picked ID is the one a connect addresses.
    QVERIFY(t.f->pickPort(t.a->portName()));
    t.f->click();
    QVERIFY(t.f->waitFor([&] { return t.f->running(); }));
    QCOMPARE(t.f->state().Link.DevIdByte, 2);
}

void TestAddressing::fullSearch_data()
{
    QTest::addColumn<int>("extraDelayMs");
    QTest::addColumn<QByteArray>("noise");
    QTest::addColumn<QString>("found");
    QTest::newRow("prompt replies") << 0 << QByteArray() << "1 , 5 , 9 , 240 , ";
    // Answers that come during the next probe count for the ID they carry.
    QTest::newRow("late replies") << 100 << QByteArray() << "1 , 5 , 9 , 240 , ";
    // Noise that looks like a frame's start costs only the noise.
    QTest::newRow("noise before replies") << 0 << QByteArray("\x11\xA5\x22", 3) << "1 , 5 , 9 , 240 , ";
}

void TestAddressing::fullSearch()
{
    QFETCH(int, extraDelayMs);
    QFETCH(QByteArray, noise);
    QFETCH(QString, found);
    TwoLines t({1, 5, 9, 240}, {}, false);
    QVERIFY(t.started);
    t.a->faults().extraDelayMs = extraDelayMs;
    t.a->faults().noise = noise;

    QList<int> progress;
    connect(t.f->ctl<QProgressBar>(QStringLiteral("rzprgrsbr_searchid")), &QProgressBar::valueChanged,
            [&](int v) { progress << v; });
    // Disabled, not hidden, while a full search runs; no connect meanwhile.
    bool duringSearch = false;
    t.when([&] { return t.box("rzgrpbx_searchID")->isVisible(); },
           [&] {
               duringSearch = t.box("rzgrpbx_searchID")->pos() == IdSearch::SearchBoxAt &&
                              !t.box("grp1")->isEnabled() && !t.box("grp2")->isEnabled() &&
                              !t.box("rzgrpbx5")->isEnabled() && t.box("grp1")->isVisible() &&
                              !t.f->button()->isEnabled();
           });
    t.click("btn41");
    QVERIFY(duringSearch);
    QVERIFY(t.box("rzgrpbx_sch_result")->isVisible());
    QCOMPARE(
        t.memo(),
        QStringLiteral("\n%1--Device ID:%2\n%3--Device ID:").arg(t.a->portName(), found, t.b->portName()));
    QList<int> all;
    for (int id = 0; id <= 250; ++id)
        all << id;
    QCOMPARE(TwoLines::polledIds(*t.a), all);
    QCOMPARE(progress.last(), 100);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QVERIFY(t.box("rzgrpbx_searchID")->isHidden());
    QVERIFY(t.f->button()->isEnabled());
    QVERIFY(t.f->dialogs.shown.isEmpty());

    // Close restores the groups; "Search result" shows the box again, over the subwoofer.
    QTest::mouseClick(t.f->ctl<QPushButton>(QStringLiteral("btn_s_close")), Qt::LeftButton);
    QVERIFY(t.mainGroupsShown());
    QTest::mouseClick(t.f->ctl<QPushButton>(QStringLiteral("btn42")), Qt::LeftButton);
    QVERIFY(t.box("rzgrpbx_sch_result")->isVisible() && t.box("rzgrpbx9")->isHidden());
    QTest::mouseClick(t.f->ctl<QPushButton>(QStringLiteral("btn5")), Qt::LeftButton);
    QVERIFY(t.mainGroupsShown());
}

void TestAddressing::cancelKeepsWhatWasFound()
{
    // Waits long enough that a busy machine still hears each answer within its probe.
    TwoLines t({}, {2, 5, 9}, false, 0.2);
    QVERIFY(t.started);
    auto *cancel = t.f->ctl<QPushButton>(QStringLiteral("btn_searchid"));
    const QString line =
        QStringLiteral("\n%1--Device ID:\n%2--Device ID:").arg(t.a->portName(), t.b->portName());

    // During the first probe: that probe is finished, the other port never opened.
    t.when([&] { return !TwoLines::polledIds(*t.b).isEmpty(); },
           [&] { QTest::mouseClick(cancel, Qt::LeftButton); });
    t.click("btn41");
    QVERIFY(t.box("rzgrpbx_sch_result")->isVisible());
    QCOMPARE(t.memo(), line);
    QCOMPARE(TwoLines::polledIds(*t.b), QList<int>{0});
    QVERIFY(t.a->receivedFrames().isEmpty());

    t.click("btn_s_close");
    t.when([&] { return TwoLines::polledIds(*t.b).contains(6); },
           [&] { QTest::mouseClick(cancel, Qt::LeftButton); });
    t.click("btn41");
    QCOMPARE(t.memo(), line + QStringLiteral("2 , 5 , "));
    QVERIFY(!t.f->window->idSearch().SearchCancel);

    // After the last probe a Cancel changes nothing: the next search runs to its end.
    t.f->window->idSearch().btn_searchidClick();
    t.b->clearFrames();
    t.f->window->idSearch().btn_quicksearch();
    QCOMPARE(TwoLines::polledIds(*t.b), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(t.memo(), line + QStringLiteral("2 , 5 , 9 , "));
}

void TestAddressing::portVanishes_data()
{
    QTest::addColumn<QString>("gone"); // a line, before its turn or while probed; a device server that is off
    QTest::newRow("before its turn") << "before";
    QTest::newRow("while probed") << "probed";
    QTest::newRow("device server off") << "server";
}

void TestAddressing::portVanishes()
{
    QFETCH(QString, gone);
    TwoLines t({7}, {1, 200}, false);
    QVERIFY(t.started);
    const QString first = t.a->portName(), second = t.b->portName();
    const QString server = QStringLiteral("tcp://127.0.0.1:%1").arg(freeTcpPort());
    if (gone == "probed")
        t.when(
            [&] {
                return !t.f->window->idSearch().foundTable().idBytes(t.f->connection().PortNumber).isEmpty();
            },
            [&] { t.b->stop(); });
    if (gone == "before") t.b->stop(); // the list still shows it
    if (gone == "server") {
        t.catalog.addNetworkPort(server);
        t.f->connection().tmr_reflashcomportTimer();
    }
    t.click("btn41");
    QVERIFY(!t.f->window->idSearch().searching());
    QVERIFY(t.box("rzgrpbx_searchID")->isHidden());
    QVERIFY(t.mainGroupsShown() || t.box("rzgrpbx_sch_result")->isVisible());
    if (gone == "probed") {
        // What was found is shown; the other port was never reached.
        QVERIFY(t.f->dialogs.shown.isEmpty());
        QVERIFY(t.box("rzgrpbx_sch_result")->isVisible());
        QCOMPARE(t.memo(), QStringLiteral("\n%1--Device ID:\n%2--Device ID:1 , ").arg(first, second));
        QVERIFY(t.a->receivedFrames().isEmpty());
    } else if (gone == "server") {
        // Passed by, and the lines on either side of it searched.
        QVERIFY(t.f->dialogs.shown.isEmpty());
        QCOMPARE(t.memo(), QStringLiteral("\n%1--Device ID:\n%2--Device ID:7 , \n%3--Device ID:1 , 200 , ")
                               .arg(server, first, second));
    } else {
        QCOMPARE(t.f->dialogs.shown, QStringList{QStringLiteral("No port or in use.")});
        QVERIFY(t.box("rzgrpbx_sch_result")->isHidden());
        QVERIFY(t.mainGroupsShown());
        QCOMPARE(t.f->connection().PortNumber, 0);
    }
    QVERIFY(t.f->button()->isEnabled());
}

void TestAddressing::changeDeviceIdAndRefusals()
{
    E2eFixture f({5});
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    choose(f.ctl<QComboBox>(QStringLiteral("cbb_deviceid")), 4);
    QVERIFY(f.connectAndRun());
    IdSearch &search = f.window->idSearch();
    search.btn41Click();
    search.btn_quicksearch();
    QCOMPARE(f.dialogs.shown, QStringList(2, QStringLiteral("please disconnect and try again.")));
    f.dialogs.shown.clear();
    f.sim->clearFrames();

    f.dialogs.answers = {true};
    auto *edit = f.ctl<QLineEdit>(QStringLiteral("edt22"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("x7"));
    QCOMPARE(edit->text(), QStringLiteral("7"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(f.dialogs.shown, QStringList{QStringLiteral("Want to change device id?")});
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"))->currentIndex(), 6);

    QVERIFY(f.waitFor([&] { return f.sim->device(7) && f.sim->receivedFrames(CMD_Meter).size() >= 3; }));
    QVERIFY(!f.sim->device(5));
    const QList<QByteArray> frames = f.sim->receivedFrames();
    int system = -1;
    for (int i = 0; i < frames.size(); ++i)
        if (quint8(frames[i].at(6)) == CMD_W_SysData) system = i;
    QVERIFY(system >= 0);
    QCOMPARE(quint8(frames[system].at(3)), quint8(4)); // to the old ID
    QCOMPARE(quint8(frames[system].at(10 + 3)), quint8(7));
    for (int i = system + 1; i < frames.size(); ++i)
        QCOMPARE(quint8(frames[i].at(3)), quint8(6));
    // The device answers under its new ID: the link stays up.
    f.idleFor(16);
    QVERIFY(f.running() && !f.warningShown());

    f.click();
    f.dialogs.shown.clear();
    f.window->idChange().btn46Click();
    // On USB the full search says why; the quick one at start-up stays silent.
    f.state().Link.UsbMode = true;
    search.btn41Click();
    search.btn_quicksearch();
    QCOMPARE(f.dialogs.shown, QStringList({"Disconnect.", "Current connection is USB, not a 485."}));
    QVERIFY(f.ctl<QWidget>(QStringLiteral("rzgrpbx_searchID"))->isHidden());
    f.state().Link.UsbMode = false;
}

void TestAddressing::broadcastMode()
{
    E2eFixture f({1, 5});
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    auto *ids = f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"));
    auto *button = f.ctl<QPushButton>(QStringLiteral("btn_broadcase"));
    QCOMPARE(button->text(), QStringLiteral("Broadcast\nMode"));
    QCOMPARE(button->palette().color(QPalette::Button), BroadcastMode::OffColour);
    choose(ids, 4);

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(f.state().Link.Broadcast);
    QCOMPARE(f.state().Link.DevIdByte, 255);
    QCOMPARE(button->palette().color(QPalette::Button), BroadcastMode::OnColour);
    for (const char *name : {"rzgrpbx4", "btn41", "btn42"})
        QVERIFY2(!f.ctl<QWidget>(QString::fromLatin1(name))->isEnabled(), name);

    // The connect sequence reads the picked device; afterwards frames go to all.
    QVERIFY(f.connectAndRun());
    QCOMPARE(f.state().Link.DevIdByte, 255);
    f.sim->clearFrames();
    typeInto(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03")), QStringLiteral("6"));
    QVERIFY(f.waitFor([&] { return !f.sim->receivedFrames(CMD_Grp_ip0).isEmpty(); }));
    QCOMPARE(quint8(f.sim->receivedFrames(CMD_Grp_ip0).first().at(3)), quint8(0xFF));
    QCOMPARE(f.sim->device(1)->image(), f.sim->device(5)->image());
    // A pick while broadcasting moves only the polls.
    choose(ids, 0);
    QCOMPARE(f.state().Link.DevIdByte, 255);
    // A poll already on the wire may still arrive for the old pick.
    f.idleFor(2);
    f.sim->clearFrames();
    f.idleFor(16);
    QVERIFY(f.running() && !f.warningShown());
    const QList<QByteArray> polls = f.sim->receivedFrames(CMD_Meter);
    QVERIFY(polls.size() >= 3);
    for (const QByteArray &poll : polls)
        QCOMPARE(quint8(poll.at(3)), quint8(0));

    // Load all reaches every device, and the picked one answers the read-back that follows.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("all.gdat"));
    std::array<std::uint8_t, ImageSize> image{};
    image.fill(0x33);
    QVERIFY(PresetFile::writeGdat(file, QList<QByteArray>(PresetFile::PresetCount,
                                                           PresetFile::recordText(image, 0, 1, CMD_Rw_20_Group))));
    f.sim->clearFrames();
    f.dialogs.answers = {true};
    f.dialogs.files = {file};
    // The preset group is off in broadcast mode; the File menu's item is not.
    f.window->findChild<QAction *>(QStringLiteral("Loadallpresetsfrompc1"))->trigger();
    QVERIFY(f.waitFor([&] { return f.sim->receivedFrames(CMD_RW_One_Group).size() == 1; }));
    QVERIFY(f.waitFor([&] { return !f.window->progressBox().isShown(); }));
    for (int cmd : {CMD_R_20_Username, CMD_R_AllSysData, CMD_RW_One_Group})
        QCOMPARE(quint8(f.sim->receivedFrames(cmd).first().at(3)), quint8(0));
    QCOMPARE(f.sim->device(5)->preset(20), QByteArray(ImageSize, '\x33'));
    QVERIFY(f.running() && f.state().tmr_disconnect.isActive() && f.state().Link.DevIdByte == 255);

    // Not while connected.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("Please disconnect."));
    QVERIFY(f.state().Link.Broadcast && button->isChecked());
    f.click();
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!f.state().Link.Broadcast);
    QCOMPARE(f.state().Link.DevIdByte, ids->currentIndex());
    QCOMPARE(button->palette().color(QPalette::Button), BroadcastMode::OffColour);
    QVERIFY(f.ctl<QWidget>(QStringLiteral("btn41"))->isEnabled());
}

QTEST_MAIN(TestAddressing)
#include "tst_addressing.moc"
