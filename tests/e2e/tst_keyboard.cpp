// The editor used with the keyboard alone against the simulator: Tab to each control, keys to
// choose and press. A connect, an EQ edit, a channel, a preset recall and a save to a file.
#include "e2e/e2efixture.h"

#include "editors/channelview.h"
#include "model/layout.h"
#include "protocol/commands.h"

#include <QFile>
#include <QTemporaryDir>

using namespace spk;

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void wholeSessionByKeys();
};

namespace {
void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}
} // namespace

void TestKeyboard::wholeSessionByKeys()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    sim::SimDevice *dev = f.sim->device(1);
    QByteArray preset = dev->image();
    const int gainAt = bandRecord(Ip0, 5) * RecordSize + BandByte::Gain;
    preset[gainAt] = char(100);
    dev->setPreset(2, preset);
    QVERIFY(f.waitFor([&] { return f.portItems().contains(f.sim->portName()); }));
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

    // Connect: the port by arrow keys, then the button.
    QVERIFY(tabTo(QStringLiteral("cbb_comport")));
    for (int i = 0; i < f.ports()->count() && f.ports()->currentText() != f.sim->portName(); ++i)
        press(f.ports()->currentIndex() < f.ports()->findText(f.sim->portName()) ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(f.ports()->currentText(), f.sim->portName());
    QVERIFY(tabTo(QStringLiteral("btn_connect")));
    press(Qt::Key_Space);
    QVERIFY(f.waitFor([&] { return f.running(); }));

    // An EQ edit typed and committed with Enter reaches the device.
    QVERIFY(tabTo(QStringLiteral("edt_ip0eq_gain_03")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    press(Qt::Key_Return);
    const int band4Gain = bandRecord(Ip0, 3) * RecordSize + BandByte::Gain;
    QVERIFY(f.waitFor([&] { return quint8(dev->image().at(band4Gain)) == 135; }));

    // The channel selector moves with the arrow keys.
    QVERIFY(tabTo(QStringLiteral("rdo_ip0")));
    press(Qt::Key_Right);
    QCOMPARE(f.window->channelView().channel(), int(Op0));
    press(Qt::Key_Left);
    QCOMPARE(f.window->channelView().channel(), int(Ip0));

    // Recall preset 2 into the device and the window.
    QVERIFY(tabTo(QStringLiteral("cbb_load2dev")));
    press(Qt::Key_Down);
    QVERIFY(tabTo(QStringLiteral("btn_load2dev")));
    press(Qt::Key_Space);
    QVERIFY(f.waitFor(
        [&] { return f.running() && f.state().ParamImage.byte(bandRecord(Ip0, 5), BandByte::Gain) == 100; }));
    QCOMPARE(f.sim->receivedFrames(CMD_RW_One_Group).isEmpty()
                 ? -1
                 : int(f.sim->receivedFrames(CMD_RW_One_Group).last().at(5)),
             2);

    // Save it to a file: the question and the file dialog answer from the script.
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("keys.sdat"));
    f.dialogs.answers = {true};
    f.dialogs.files = {saved};
    QVERIFY(tabTo(QStringLiteral("btn_save_onegrp2pc")));
    press(Qt::Key_Space);
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    QVERIFY(f.dialogs.shown.contains(QStringLiteral("Saving a Preset to PC.Do you want\nto proceed?")));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
