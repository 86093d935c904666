// Every fault the simulator can inject against every long operation of the editor, end to end over
// a real pseudo-terminal (and the USB link through the simulated HID device). Whatever the fault,
// each operation comes to an end (or the watchdog ends a dead link), leaves the window responsive,
// writes no half file, sends the device nothing but whole images from a sound file, and the editor
// connects again once the fault is gone.
#include "e2efixture.h"

#include "fakes/fakeportcatalog.h"
#include "link/hidtransport.h"
#include "model/layout.h"
#include "presets/presetfile.h"
#include "protocol/commands.h"
#include "session/idsearch.h"
#include "session/presetactivity.h"
#include "simhidbackend.h"

#include <QDir>
#include <QTemporaryDir>

using namespace spk;
using namespace spk::sim;

namespace {

const QStringList Faults = {"silent", "drop", "drop rate", "bad end", "noise", "split", "slow", "unplug",
                            "wrong version"};
const QStringList Operations = {"connect",  "edit burst", "recall",          "store",           "save one",
                                "load one", "save all",   "load all",        "load damaged one", "load damaged all",
                                "EQ reset", "ID search",  "ID change"};
constexpr int PresetImages = 2 * PresetCount + 1;

QByteArray markedImage(int seed)
{
    QByteArray image = SimDevice::factoryImage(1);
    image[bandRecord(Ip0, 3) * RecordSize + BandByte::Gain] = char(60 + seed % 100);
    image[ImageSize - 1] = char(seed);
    return image;
}

QByteArray recordOf(const QByteArray &image, int slot, int command)
{
    return PresetFile::recordText(
        std::span<const std::uint8_t, ImageSize>(reinterpret_cast<const std::uint8_t *>(image.constData()),
                                                 ImageSize),
        0, std::uint8_t(slot), std::uint8_t(command));
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void apply(SimFaults &faults, SimDevice *device, const QString &fault)
{
    if (fault == QLatin1String("silent")) faults.silent = true;
    if (fault == QLatin1String("drop")) faults.dropNext = 1;
    if (fault == QLatin1String("drop rate")) faults.dropRate = 0.3;
    if (fault == QLatin1String("bad end")) faults.badEnd = true;
    if (fault == QLatin1String("noise")) faults.noise = QByteArray("\x11\xA5\xA5\x22", 4);
    if (fault == QLatin1String("split")) faults.splitParts = 4;
    if (fault == QLatin1String("slow")) faults.extraDelayMs = 1000;
    if (fault == QLatin1String("wrong version")) device->setVersionText("QUENDAL29 V9.9.9        ");
}

// A zero timer still runs: nothing holds the event loop.
bool responsive()
{
    QObject context;
    bool ran = false;
    QTimer::singleShot(0, &context, [&] { ran = true; });
    return QTest::qWaitFor([&] { return ran; }, E2eFixture::Patience);
}

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT
private slots:
    void serialOperation_data();
    void serialOperation();
    void usbConnectAndRemoval_data();
    void usbConnectAndRemoval();

private:
    QTemporaryDir m_dir;
};

void TestFaultMatrix::serialOperation_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("fault");
    for (const QString &operation : Operations)
        for (const QString &fault : Faults)
            QTest::addRow("%s, %s", qPrintable(operation), qPrintable(fault)) << operation << fault;
}

void TestFaultMatrix::serialOperation()
{
    QFETCH(QString, operation);
    QFETCH(QString, fault);
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    SimDevice *dev = f.sim->device(1);
    for (int n = 1; n <= PresetCount; ++n)
        dev->setPreset(n, markedImage(n));
    const QByteArray deviceImage = dev->image();

    // Files of this cell: sound ones to load, and where saves go.
    QDir dir(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_').remove(u',')));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    const QString loadOne = dir.filePath(QStringLiteral("in.sdat"));
    const QString loadAll = dir.filePath(QStringLiteral("in.gdat"));
    const QString saved = dir.filePath(operation == QLatin1String("save all") ? "out.gdat" : "out.sdat");
    QByteArray group;
    for (int n = 1; n <= PresetCount; ++n) {
        const QByteArray r = recordOf(markedImage(PresetCount + n), n, CMD_Rw_20_Group);
        group += r.left(652) + "\r\n" + r.mid(652) + "\r\n";
    }
    QVERIFY(writeFile(loadOne, recordOf(markedImage(PresetImages), 0, CMD_RW_One_Group) + "\r\n"));
    QVERIFY(writeFile(loadAll, group));
    const QString damagedOne = dir.filePath(QStringLiteral("damaged.sdat"));
    const QString damagedAll = dir.filePath(QStringLiteral("damaged.gdat"));
    QVERIFY(writeFile(damagedOne, recordOf(markedImage(PresetImages), 0, CMD_RW_One_Group).chopped(3)));
    QVERIFY(writeFile(damagedAll, group.left(group.lastIndexOf("\r\n", group.size() - 3) + 2)));

    const bool search = operation == QLatin1String("ID search");
    if (operation != QLatin1String("connect") && !search) QVERIFY(f.connectAndRun());
    f.sim->clearFrames();
    f.dialogs.answers = {true, true};
    apply(f.sim->faults(), dev, fault);
    if (fault == QLatin1String("unplug")) f.sim->stop();

    auto click = [&](const char *name) { QTest::mouseClick(f.ctl<QWidget>(QString::fromLatin1(name)), Qt::LeftButton); };
    const bool wasConnected = f.state().Link.Connected;
    if (operation == QLatin1String("connect")) {
        if (f.pickPort(f.sim->portName()) || fault == QLatin1String("unplug")) f.click();
    } else if (operation == QLatin1String("edit burst")) {
        for (int b = 0; b < 5; ++b) {
            auto *e = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_0%1").arg(b));
            e->setFocus();
            e->selectAll();
            QTest::keyClicks(e, QString::number(b - 2));
            QTest::keyClick(e, Qt::Key_Return);
        }
    } else if (operation == QLatin1String("recall")) {
        f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"))->setCurrentIndex(1);
        click("btn_load2dev");
    } else if (operation == QLatin1String("store")) {
        click("btn_save2dev");
    } else if (operation == QLatin1String("save one") || operation == QLatin1String("save all")) {
        f.dialogs.files = {saved};
        click(operation == QLatin1String("save one") ? "btn_save_onegrp2pc" : "btn_save_20grp2pc");
    } else if (operation == QLatin1String("load one") || operation == QLatin1String("load all")) {
        f.dialogs.files = {operation == QLatin1String("load one") ? loadOne : loadAll};
        click(operation == QLatin1String("load one") ? "btn_load_onegrp2pc" : "btn_load_20grp2pc");
    } else if (operation.startsWith(QLatin1String("load damaged"))) {
        const bool one = operation.endsWith(QLatin1String("one"));
        f.dialogs.files = {one ? damagedOne : damagedAll};
        click(one ? "btn_load_onegrp2pc" : "btn_load_20grp2pc");
    } else if (operation == QLatin1String("EQ reset")) {
        click("btn_EQreset");
        click("btn_op0_resetalleq");
    } else if (search) {
        f.window->idSearch().btn_quicksearch();
    } else if (operation == QLatin1String("ID change")) {
        auto *edit = f.ctl<QLineEdit>(QStringLiteral("edt22"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("7"));
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // The operation ends: done and idle again, or the link is gone.
    const auto settled = [&] {
        if (f.window->progressBox().isShown() || f.window->idSearch().searching()) return false;
        if (!f.state().Link.Connected) return true;
        if (!f.window->presetActivity().mayStart()) return false;
        if (operation == QLatin1String("edit burst") || operation == QLatin1String("EQ reset") ||
            operation == QLatin1String("ID change"))
            return !f.state().DirtyFlags.first().has_value();
        return f.running();
    };
    QVERIFY(f.waitFor(settled));
    QVERIFY(responsive());
    // A link that died is ended by the watchdog or the failed port: a warning, no link timer left.
    if (wasConnected && (fault == QLatin1String("silent") || fault == QLatin1String("unplug")))
        QVERIFY(f.waitFor([&] { return f.warningShown() && !f.state().Link.Connected; }));
    if (!f.state().Link.Connected) {
        QVERIFY(f.waitFor([&] { return f.runningLinkTimers().isEmpty(); }));
        QVERIFY(!f.window->progressBox().isShown());
    }

    // No half-written file: a saved file is whole, or there is none (and nothing else in the folder).
    if (QFile::exists(saved)) {
        const PresetFile::Content content = operation == QLatin1String("save all") ? PresetFile::readGdat(saved)
                                                                                   : PresetFile::readSdat(saved);
        QCOMPARE(int(content.status), int(PresetFile::Status::Ok));
    }
    QStringList expected{"damaged.gdat", "damaged.sdat", "in.gdat", "in.sdat"};
    if (QFile::exists(saved)) expected << QFileInfo(saved).fileName();
    expected.sort();
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    // Nothing of a damaged file reaches the device.
    if (operation.startsWith(QLatin1String("load damaged"))) {
        for (const QByteArray &frame : f.sim->receivedFrames())
            QVERIFY(quint8(frame.at(4)) != 0xA1 || (quint8(frame.at(6)) != CMD_RW_One_Group &&
                                                    quint8(frame.at(6)) != CMD_Rw_20_Group));
    }
    // The device holds its own images or whole images from the files, nothing else.
    SimDevice *device = f.sim->bus().devices().value(0);
    QVERIFY(device->image() == deviceImage || device->image() == markedImage(PresetImages) ||
            operation == QLatin1String("edit burst") || operation == QLatin1String("EQ reset") ||
            operation == QLatin1String("recall") || operation == QLatin1String("load all"));
    for (int n = 1; n <= PresetCount; ++n)
        QVERIFY2(device->preset(n) == markedImage(n) || device->preset(n) == markedImage(PresetCount + n) ||
                     (operation == QLatin1String("store") && device->preset(n) == device->image()),
                 qPrintable(QString::number(n)));

    // Recovery: the fault gone, the editor connects again to the device as it now is.
    f.sim->faults().clear();
    device->setVersionText(SimDevice::versionTextDefault());
    if (!f.sim->isRunning()) QVERIFY(f.sim->start(&f.simError));
    if (f.state().Link.Connected && f.running() && fault != QLatin1String("unplug")) return;
    if (f.caption() != QLatin1String("Connect")) f.click();
    QVERIFY(f.waitFor([&] { return f.runningLinkTimers().isEmpty(); }));
    f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"))->setCurrentIndex(device->id() - 1);
    QVERIFY(f.waitFor([&] { return f.pickPort(f.sim->portName()); }));
    QVERIFY(f.connectAndRun());
}

void TestFaultMatrix::usbConnectAndRemoval_data()
{
    QTest::addColumn<QString>("fault");
    for (const QString &fault : Faults)
        QTest::newRow(qPrintable(fault)) << fault;
}

void TestFaultMatrix::usbConnectAndRemoval()
{
    QFETCH(QString, fault);
    setTimeScale(E2eFixture::Scale);
    ScriptedDialogs dialogs;
    FakePortCatalog catalog;
    SimHidBackend hid;
    MainWindow window(MainWindowOptions{&dialogs, &catalog, false, &hid});
    window.show();
    QCoreApplication::processEvents();
    EditorState &state = window.state();
    const auto running = [&] { return state.Link.Connected && state.tmr_pulseframe.isActive(); };
    apply(hid.line.faults(), hid.line.bus().device(1), fault);

    // Arrival connects; the fault ends the sequence or the link, or the link runs.
    hid.plug();
    if (fault == QLatin1String("unplug")) hid.unplug();
    QVERIFY(QTest::qWaitFor([&] { return running() || window.warningWindow()->isVisible() || !state.Link.Connected; },
                            E2eFixture::Patience));
    QVERIFY(responsive());
    // Removal drops the link at once and stops the read thread.
    hid.unplug();
    QVERIFY(QTest::qWaitFor([&] { return !state.Link.Connected && !window.hidTransport().readerRunning(); },
                            E2eFixture::Patience));
    QVERIFY(QTest::qWaitFor([&] { return !state.tmr_pulseframe.isActive(); }, E2eFixture::Patience));

    hid.line.faults().clear();
    hid.line.bus().device(1)->setVersionText(SimDevice::versionTextDefault());
    hid.plug();
    QVERIFY(QTest::qWaitFor(running, E2eFixture::Patience));
}

QTEST_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
