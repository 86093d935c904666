// The preset controls without a device: the name box's key filter, and that nothing starts or is
// reported as saved while no link takes frames.
#include "windowfixture.h"

#include "session/devicepresets.h"
#include "session/devicesession.h"
#include "window/progressbox.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace spk;

class TestPresetPanel : public QObject
{
    Q_OBJECT
private slots:
    void keyFilter_data();
    void keyFilter();
    void nothingStartsOffline();
    void nameNotHandedOnIsNoSuccess();
};

void TestPresetPanel::keyFilter_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::newRow("digit space hyphen") << ""
                                        << "A1 -b"
                                        << "A1 -b";
    QTest::newRow("tab and a character above 126") << "ab" << QStringLiteral("\t\u00e9") << "ab";
    QTest::newRow("backspace") << "abc"
                               << "\b"
                               << "ab";
    QTest::newRow("typing stops at 19") << ""
                                        << "0123456789abcdefghijk"
                                        << "0123456789abcdefghi";
    QTest::newRow("nothing typed into 20") << "Concert hall set 8XY"
                                           << "z"
                                           << "Concert hall set 8XY";
}

void TestPresetPanel::keyFilter()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    WindowFixture f;
    auto *box = f.ctl<QLineEdit>(QStringLiteral("edt_save2dev"));
    box->setText(before);
    box->setFocus();
    box->end(false);
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, box,
                            c == u'\t'   ? Qt::Key_Tab
                            : c == u'\b' ? Qt::Key_Backspace
                                         : Qt::Key_A,
                            QString(c), Qt::NoModifier);
    QCOMPARE(box->text(), after);
    // A paste is held to the same rule; a click selects the whole name.
    box->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted\tname that is far too long"));
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("pastedname that is "));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QCOMPARE(box->selectedText(), box->text());
}

void TestPresetPanel::nothingStartsOffline()
{
    WindowFixture f;
    f.dialogs.answers = {true, true, true, true};
    f.type(QStringLiteral("edt_save2dev"), QStringLiteral("Offline"));
    for (const char *name : {"btn_load2dev", "btn_save2dev", "btn_save_onegrp2pc", "btn_load_onegrp2pc",
                             "btn_save_20grp2pc", "btn_load_20grp2pc"})
        QTest::mouseClick(f.ctl<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton);
    for (QAction *a : f.window->menuBar()->actions().first()->menu()->actions())
        if (a->objectName() != QLatin1String("Exit1")) a->trigger();
    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(!f.state().DirtyFlags.first());
    QCOMPARE(f.state().SysData.bytes[SysData::LastPreset], 0);
    QVERIFY(f.window->progressBox().box()->isHidden());
}

void TestPresetPanel::nameNotHandedOnIsNoSuccess()
{
    WindowFixture f(false);
    // The flag says connected, but no port is open: the link takes no frame.
    f.state().Link.Connected = true;
    f.state().SysData.bytes[SysData::LastPreset] = DevicePresets::UserPreset;
    f.state().DirtyFlags.set(DirtyFlags::PresetName);
    f.window->session().tmr_pulseframeTimer();
    QTest::qWait(scaled(2 * DeviceSession::NameWriteWaitMs));
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.shown.join('|')));
    QVERIFY(!f.state().DirtyFlags.test(DirtyFlags::PresetName));
    f.state().Link.Connected = false;
}

QTEST_MAIN(TestPresetPanel)
#include "tst_presetpanel.moc"
