// The window as it comes up: the default image in the controls, the menu, the status bar, the
// timers, the warning window, the progress box and what a screen reader finds.
#include "windowfixture.h"

#include "editors/buttonface.h"
#include "graph/responsegraph.h"
#include "window/progressbox.h"
#include "window/statuspanels.h"
#include "window/warningwindow.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>

using namespace spk;

class TestWindowStartup : public QObject
{
    Q_OBJECT
private slots:
    void windowFrame();
    void defaultTexts_data();
    void defaultTexts();
    void bandsAndCrossover();
    void startState();
    void menu();
    void statusBar();
    void timers();
    void warningWindow();
    void progressBox();
    void buttonsUseArial();
    void accessibleNames();
    void phaseViewHidden();
};

void TestWindowStartup::windowFrame()
{
    WindowFixture f;
    QCOMPARE(f.window->size(), QSize(747, 765));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    QCOMPARE(f.window->windowTitle(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    auto *graph = f.ctl<QWidget>(QStringLiteral("img_eqbackground"));
    QCOMPARE(graph->size(), QSize(720, 188));
    // Every panel lies inside the window's client area.
    const QRect client = f.window->centralWidget()->rect();
    for (const char *name : {"grp1", "grp2", "rzgrpbx5", "rzgrpbx9", "img1"}) {
        auto *w = f.ctl<QWidget>(QString::fromLatin1(name));
        QVERIFY2(client.contains(w->geometry()), name);
        QVERIFY2(w->isVisible(), name);
    }
}

void TestWindowStartup::defaultTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("system level") << "edt_ip0_gain"
                                  << "mute";
    QTest::newRow("satellite level") << "edt_op0_gain"
                                     << "-60.0dB";
    QTest::newRow("subwoofer level") << "edt_op2_gain"
                                     << "-60.0dB";
    QTest::newRow("system delay") << "edt_ip0_delay"
                                  << "0.000ms";
    QTest::newRow("satellite delay") << "edt_op0_delay"
                                     << "0.000ms";
    QTest::newRow("subwoofer delay") << "edt_op2_delay"
                                     << "0.000ms";
    QTest::newRow("high-pass") << "edt_ip0hpf_freq"
                               << "19.7Hz";
    QTest::newRow("low-pass") << "edt_ip0lpf_freq"
                              << "20100.0Hz";
    QTest::newRow("band 1") << "edt_ip0eq_freq_00"
                            << "19.7Hz";
    QTest::newRow("band 5") << "edt_ip0eq_freq_04"
                            << "62.5Hz";
    QTest::newRow("band 10") << "edt_ip0eq_freq_09"
                             << "265.0Hz";
}

void TestWindowStartup::defaultTexts()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    WindowFixture f;
    QCOMPARE(f.text(control), text);
}

void TestWindowStartup::bandsAndCrossover()
{
    WindowFixture f;
    const QStringList freqs = {"19.7Hz", "26.3Hz",  "35.1Hz",  "46.8Hz",  "62.5Hz",
                               "83.4Hz", "111.0Hz", "149.0Hz", "198.0Hz", "265.0Hz"};
    for (int b = 0; b < 10; ++b) {
        const QString s = QStringLiteral("_0") + QString::number(b);
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq") + s), freqs[b]);
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain") + s), QStringLiteral("0.0dB"));
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval") + s), QStringLiteral("4.072"));
        QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type") + s)->currentText(),
                 QStringLiteral("PEQ"));
        QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval") + s)->isEnabled());
        QVERIFY(!f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + s)->isChecked());
        QCOMPARE(f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + s)->text(), QStringLiteral("Bypass"));
    }
    auto *hpf = f.ctl<QComboBox>(QStringLiteral("cbb_ip0hpf_type"));
    QCOMPARE(hpf->count(), 12);
    QCOMPARE(hpf->currentText(), QStringLiteral("12db-Bworth"));
    QCOMPARE(hpf->itemText(11), QStringLiteral("48db-Bessel"));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0lpf_type"))->currentText(),
             QStringLiteral("12db-Bworth"));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_03"))->itemText(4), QStringLiteral("HS 12dB"));
    for (const char *name : {"lbl_edt_ip0_delay_m", "lbl_edt_op0_delay_m", "lbl_edt_op2_delay_m"})
        QCOMPARE(f.ctl<QLabel>(QString::fromLatin1(name))->text(), QStringLiteral("0.000m"));
    for (const char *name : {"lbl_ip0_delay_ft", "lbl_op0_delay_ft", "lbl_op2_delay_ft"})
        QCOMPARE(f.ctl<QLabel>(QString::fromLatin1(name))->text(), QStringLiteral("0.000ft"));
    // A flat image draws the 0 dB row from column 42 to 713.
    const QImage &img = f.window->graph().image();
    QCOMPARE(img.pixelColor(500, 66), QColor(46, 121, 255));
    QCOMPARE(img.pixelColor(713, 66), QColor(46, 121, 255));
}

void TestWindowStartup::startState()
{
    WindowFixture f;
    EditorState &s = f.state();
    QVERIFY(s.Loading);
    QVERIFY(!s.Link.Connected);
    QVERIFY(!s.Target.EditTarget());
    QVERIFY(!s.Target.WheelOpen());
    QVERIFY(s.Target.EditTargetName().isEmpty());
    QVERIFY(!s.DirtyFlags.first());
    QCOMPARE(s.GraphChannel, 0);
    QCOMPARE(s.SavedSystemLevel, 0);
    // The level is 0, so the system mute shows muted; the outputs are not muted.
    QCOMPARE(buttonFace(f.ctl<QPushButton>(QStringLiteral("btn_ip0_mute"))), MuteRed);
    QVERIFY(!buttonFace(f.ctl<QPushButton>(QStringLiteral("btn_op0_mute"))).isValid());
    for (const char *name : {"btn_ip0_pol", "btn_op0_pol", "btn_op2_pol"}) {
        QCOMPARE(f.ctl<QPushButton>(QString::fromLatin1(name))->text(), QStringLiteral("Pol(+)"));
        QCOMPARE(buttonFace(f.ctl<QPushButton>(QString::fromLatin1(name))), LightGrey);
    }
    auto *ingain = f.ctl<QSlider>(QStringLiteral("rztrckbr_ingain"));
    QCOMPARE(ingain->orientation(), Qt::Vertical);
    QCOMPARE(ingain->maximum(), 300);
    QCOMPARE(f.ctl<QSlider>(QStringLiteral("rztrckbr_op2_gain"))->orientation(), Qt::Horizontal);
    auto *delay = f.ctl<QScrollBar>(QStringLiteral("scrlbr_op0_delay"));
    QCOMPARE(delay->maximum(), 1440);
    QCOMPARE(delay->pageStep(), 0);
}

void TestWindowStartup::menu()
{
    WindowFixture f;
    QMenuBar *bar = f.window->menuBar();
    const QList<QAction *> top = bar->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("File"));
    QCOMPARE(top[1]->text(), QStringLiteral("Edit")); // Undo and Redo: tst_undo
    QCOMPARE(top[2]->text(), QStringLiteral("Help"));
    QStringList file;
    for (QAction *a : top[0]->menu()->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(file, QStringList({"Load a preset from PC", "Load all presets from PC", "-",
                                "Save this preset to PC", "Save all presets to PC", "-", "Open preset file...",
                                "Save preset file", "Save preset file as...", "Preset in file", "-", "Exit"}));
    // The offline file's items wait for a file.
    const QStringList needFile{"Save preset file", "Save preset file as...", "Preset in file"};
    for (QAction *a : top[0]->menu()->actions())
        if (!a->isSeparator()) QVERIFY2(a->isEnabled() != needFile.contains(a->text()), qPrintable(a->text()));
    QStringList help;
    for (QAction *a : top[2]->menu()->actions())
        help << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(help.size(), 6);
    QCOMPARE(help.mid(0, 3), QStringList({"Consult the supplied PDF file ", "    or ", "Visit our website"}));
    QCOMPARE(help.mid(4), QStringList({"-", "VELUMA Version 4.0.1"}));

    f.window->findChild<QAction *>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!f.window->isVisible());
}

void TestWindowStartup::statusBar()
{
    WindowFixture f;
    StatusPanels &p = f.window->statusPanels();
    QCOMPARE(p.bar()->objectName(), QStringLiteral("stat1"));
    QCOMPARE(p.caption()->text(), QStringLiteral("CONNECTION STATUS:"));
    QCOMPARE(p.caption()->width(), 150);
    QCOMPARE(p.connection()->width(), 250);
    QCOMPARE(p.connection()->text(), QStringLiteral(" Disconnected"));
    QCOMPARE(p.meter()->text(), QStringLiteral("Temperature: 10'C   Attenuation dB: 0 dB"));
    // Red until a connect button says otherwise.
    QCOMPARE(p.connection()->textColour(), QColor(255, 0, 0));
    QPushButton connect(QStringLiteral("Connect"));
    p.connection()->setConnectButton(&connect);
    QCOMPARE(p.connection()->textColour(), QColor(255, 0, 0));
    connect.setText(QStringLiteral("Disconnect"));
    QCOMPARE(p.connection()->textColour(), QColor(0, 128, 0));
}

void TestWindowStartup::timers()
{
    setTimeScale(1.0);
    {
        ScriptedDialogs d;
        MainWindow w(MainWindowOptions{&d, nullptr, false});
        const QList<QTimer *> list = w.state().timers();
        QCOMPARE(list.size(), 10);
        for (QTimer *t : list) {
            QCOMPARE(t->interval(), nominalInterval(t->objectName().toStdString()));
            // Only the port list refresh runs from the start.
            QCOMPARE(t->isActive(), t == &w.state().tmr_reflashcomport);
        }
        QCOMPARE(w.state().tmr_reseteq_in.interval(), 700);
    }
    WindowFixture f; // time scale 0.02
    QCOMPARE(f.state().tmr_pulseframe.interval(), 7);
}

void TestWindowStartup::warningWindow()
{
    WindowFixture f;
    WarningWindow *w = f.window->warningWindow();
    QVERIFY(w);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Warning"));
    QCOMPARE(w->label()->text(), QStringLiteral("Connection has been unexpectedly closed!"));
    QCOMPARE(w->button()->objectName(), QStringLiteral("btn1"));
    QCOMPARE(w->button()->text(), QStringLiteral("OK"));
    QVERIFY(!w->isModal());
    QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(w->windowFlags() & Qt::WindowSystemMenuHint));
    w->showCentredOn(f.window.get());
    QVERIFY(w->isVisible());
    QVERIFY(qAbs(w->frameGeometry().center().x() - f.window->frameGeometry().center().x()) <= 1);
    QTest::mouseClick(w->button(), Qt::LeftButton);
    QVERIFY(!w->isVisible());
}

void TestWindowStartup::progressBox()
{
    WindowFixture f;
    ProgressBox &box = f.window->progressBox();
    auto *group = f.ctl<QGroupBox>(QStringLiteral("rzgrpbx_data_tx_bar"));
    auto *bar = f.ctl<QProgressBar>(QStringLiteral("rzprgrsbr_data_bar"));
    QVERIFY(group->isHidden());
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl413"))->text(),
             QStringLiteral("Please wait,The data is being transmitted.............. "));

    // Not connected: the bar does not move.
    box.start();
    QVERIFY(!group->isHidden());
    box.tmr_prgrsbrTimer();
    QCOMPARE(bar->value(), 0);

    // Connected: +2 a tick, gone after passing 99 without ever showing 100.
    f.state().tmr_prgrsbr.stop();
    f.state().Link.Connected = true;
    box.start();
    f.state().tmr_prgrsbr.stop();
    int highest = 0;
    for (int tick = 1; tick <= 49; ++tick) {
        box.tmr_prgrsbrTimer();
        highest = bar->value();
    }
    QCOMPARE(highest, 98);
    QVERIFY(!group->isHidden());
    box.tmr_prgrsbrTimer();
    QVERIFY(group->isHidden());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(f.state().ProgressValue, 0);

    // And by the timer itself.
    box.start();
    QTRY_VERIFY_WITH_TIMEOUT(group->isHidden(), 5000);
    QVERIFY(!f.state().tmr_prgrsbr.isActive());
}

void TestWindowStartup::buttonsUseArial()
{
    WindowFixture f;
    const QList<QPushButton *> buttons = f.window->findChildren<QPushButton *>();
    QVERIFY(buttons.size() >= 10);
    for (QPushButton *b : buttons)
        QCOMPARE(b->font().family(), QStringLiteral("Arial"));
}

void TestWindowStartup::accessibleNames()
{
    WindowFixture f;
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_gain_03"))->accessibleName(),
             QStringLiteral("EQ band 4 gain"));
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("cbb_ip0hpf_type"))->accessibleName(),
             QStringLiteral("High-pass type"));
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("edt_ip0_delay"))->accessibleName(),
             QStringLiteral("System delay"));

    // Every visible control a screen reader can land on has a name; buttons keep their captions.
    const QList<QWidget *> all = f.window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisibleTo(f.window.get()) || w->focusPolicy() == Qt::NoFocus) continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        const QString name = iface->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(w->objectName() + " " + w->metaObject()->className()));
        if (auto *b = qobject_cast<QPushButton *>(w)) QCOMPARE(name, b->text());
    }
    // The spin buttons are no focus stops but still read out.
    auto *up = f.ctl<QWidget>(QStringLiteral("spinbtn_edt_ip0eq_qval_00"))
                   ->findChild<QWidget *>(QStringLiteral("up"));
    QCOMPARE(up->accessibleName(), QStringLiteral("Increase EQ band 1 Q"));
}

void TestWindowStartup::phaseViewHidden()
{
    WindowFixture f;
    auto *phase = f.ctl<QCheckBox>(QStringLiteral("chk_pha_response"));
    QVERIFY(phase->isHidden());
    QCOMPARE(phase->text(), QStringLiteral("Display Phase"));
    QVERIFY(!f.window->graph().phaseView());
    // Checked from code it turns red and the phase grid is drawn instead.
    const QImage before = f.window->graph().image();
    phase->setChecked(true);
    QVERIFY(f.window->graph().phaseView());
    QCOMPARE(phase->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(f.window->graph().image() != before);
    phase->setChecked(false);
    QCOMPARE(f.window->graph().image(), before);
}

QTEST_MAIN(TestWindowStartup)
#include "tst_windowstartup.moc"
