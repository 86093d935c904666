// Level, delay, mute and polarity controls of the system input and the two outputs.
#include "windowfixture.h"

#include "editors/buttonface.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

using namespace spk;

class TestLevelDelay : public QObject
{
    Q_OBJECT
private slots:
    void trackBarTexts_data();
    void trackBarTexts();
    void typedLevel_data();
    void typedLevel();
    void muteTextDoesNotParse();
    void arrowDownToMute();
    void typedDelay_data();
    void typedDelay();
    void delayByLeaving();
    void enterOnUnchangedDelayKeepsSpace();
    void systemMuteToggles();
    void outputMute();
    void polarity();
    void delayScrollBarArmsWheel();
    void wheelMovesArmedControls();
    void leavingTrackBarDisarms();
};

void TestLevelDelay::trackBarTexts_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("system top") << "rztrckbr_ingain" << 300 << "edt_ip0_gain"
                                << "0.0dB";
    QTest::newRow("system 1") << "rztrckbr_ingain" << 1 << "edt_ip0_gain"
                              << "-59.8dB";
    QTest::newRow("system 238") << "rztrckbr_ingain" << 238 << "edt_ip0_gain"
                                << "-12.4dB";
    QTest::newRow("output 0") << "rztrckbr_op0_gain" << 0 << "edt_op0_gain"
                              << "-60.0dB";
    QTest::newRow("output 150") << "rztrckbr_op2_gain" << 150 << "edt_op2_gain"
                                << "-30.0dB";
}

void TestLevelDelay::trackBarTexts()
{
    QFETCH(QString, slider);
    QFETCH(int, position);
    QFETCH(QString, edit);
    QFETCH(QString, shown);
    WindowFixture f(false);
    auto *s = f.ctl<QSlider>(slider);
    s->setValue(5); // so that every row is a change
    s->setValue(position);
    QCOMPARE(f.text(edit), shown);
    const int record = slider.contains(u"op2") ? 56 : slider.contains(u"op0") ? 18 : 0;
    QCOMPARE(f.state().ParamImage.word(record, LevelByte::Level), position);
    QVERIFY(f.state().DirtyFlags.test(record));
}

void TestLevelDelay::typedLevel_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("truncated") << "edt_ip0_gain"
                               << "-10.1" << 249 << "-10.2dB";
    QTest::newRow("above 0") << "edt_ip0_gain"
                             << "5" << 300 << "0.0dB";
    QTest::newRow("below -60 system") << "edt_ip0_gain"
                                      << "-75" << 0 << "mute";
    QTest::newRow("below -60 output") << "edt_op0_gain"
                                      << "-75" << 0 << "-60.0dB";
    QTest::newRow("shown value keeps code") << "edt_op2_gain"
                                            << "-59.6" << 2 << "-59.6dB";
    QTest::newRow("output") << "edt_op2_gain"
                            << "-12.4" << 238 << "-12.4dB";
}

void TestLevelDelay::typedLevel()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(int, code);
    QFETCH(QString, shown);
    WindowFixture f(false);
    f.type(edit, QStringLiteral("-20"));
    f.state().DirtyFlags.clearAll();
    f.type(edit, typed);
    const int record = edit.contains(u"op2") ? 56 : edit.contains(u"op0") ? 18 : 0;
    QCOMPARE(f.state().ParamImage.word(record, LevelByte::Level), code);
    QCOMPARE(f.text(edit), shown);
    const QString slider = record == 0
                               ? QStringLiteral("rztrckbr_ingain")
                               : QStringLiteral("rztrckbr_op") + edit.mid(6, 1) + QStringLiteral("_gain");
    QCOMPARE(f.ctl<QSlider>(slider)->value(), code);
    QVERIFY(f.state().DirtyFlags.test(record));
    QCOMPARE(f.ctl<QLineEdit>(edit)->selectedText(), shown);
}

void TestLevelDelay::muteTextDoesNotParse()
{
    WindowFixture f(false);
    auto *e = f.ctl<QLineEdit>(QStringLiteral("edt_ip0_gain"));
    QTest::mouseClick(e, Qt::LeftButton);
    QCOMPARE(e->text(), QStringLiteral("mute"));
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(e->text(), QStringLiteral("mute"));
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestLevelDelay::arrowDownToMute()
{
    WindowFixture f(false);
    f.ctl<QSlider>(QStringLiteral("rztrckbr_ingain"))->setValue(1);
    auto *e = f.ctl<QLineEdit>(QStringLiteral("edt_ip0_gain"));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_Down);
    QCOMPARE(e->text(), QStringLiteral("mute"));
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Level), 0);
    QTest::keyClick(e, Qt::Key_Down); // at the limit: nothing
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Level), 0);
    QTest::keyClick(e, Qt::Key_Up);
    QCOMPARE(e->text(), QStringLiteral("-59.8dB"));
    QCOMPARE(f.ctl<QSlider>(QStringLiteral("rztrckbr_ingain"))->value(), 1);

    auto *d = f.ctl<QLineEdit>(QStringLiteral("edt_op2_delay"));
    QTest::mouseClick(d, Qt::LeftButton);
    QTest::keyClick(d, Qt::Key_Up);
    QCOMPARE(d->text(), QStringLiteral("0.010ms"));
    QCOMPARE(f.ctl<QScrollBar>(QStringLiteral("scrlbr_op2_delay"))->value(), 1);
}

void TestLevelDelay::typedDelay_data()
{
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("10 ms") << "ip0"
                           << "10" << 961 << QStringList({"9.994ms", "3.442m", "11.294ft"});
    QTest::newRow("20 ms") << "op0"
                           << "20" << 1440 << QStringList({"14.976ms", "5.158m", "16.924ft"});
    QTest::newRow("huge") << "op2"
                          << "99999999999999999999" << 1440
                          << QStringList({"14.976ms", "5.158m", "16.924ft"});
    QTest::newRow("0.998") << "op2"
                           << "0.9984" << 96 << QStringList({"0.998ms", "0.344m", "1.128ft"});
}

void TestLevelDelay::typedDelay()
{
    QFETCH(QString, channel);
    QFETCH(QString, typed);
    QFETCH(int, code);
    QFETCH(QStringList, shown);
    WindowFixture f(false);
    const QString edit = QStringLiteral("edt_") + channel + QStringLiteral("_delay");
    f.type(edit, typed);
    const int record = channel == u"ip0" ? 0 : channel == u"op0" ? 18 : 56;
    QCOMPARE(f.state().ParamImage.word(record, LevelByte::Delay), code);
    QCOMPARE(f.ctl<QScrollBar>(QStringLiteral("scrlbr_") + channel + QStringLiteral("_delay"))->value(),
             code);
    // The scroll bar's change handler wrote the text again, without the space.
    QCOMPARE(f.text(edit), shown[0]);
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_edt_") + channel + QStringLiteral("_delay_m"))->text(),
             shown[1]);
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_") + channel + QStringLiteral("_delay_ft"))->text(), shown[2]);
    QVERIFY(f.state().DirtyFlags.test(record));
}

void TestLevelDelay::delayByLeaving()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0_delay"), QStringLiteral("10"), false);
    f.leave();
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Delay), 961);
    QCOMPARE(f.text(QStringLiteral("edt_ip0_delay")), QStringLiteral("9.994ms"));
    // Unparsable on leaving: the stored value comes back, without the space.
    f.type(QStringLiteral("edt_ip0_delay"), QStringLiteral("."), false);
    f.leave();
    QCOMPARE(f.text(QStringLiteral("edt_ip0_delay")), QStringLiteral("9.994ms"));
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Delay), 961);
}

void TestLevelDelay::enterOnUnchangedDelayKeepsSpace()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_op0_delay"), QStringLiteral("0"));
    QCOMPARE(f.text(QStringLiteral("edt_op0_delay")), QStringLiteral("0.000 ms"));
    QVERIFY(!f.state().DirtyFlags.first());
    f.type(QStringLiteral("edt_op0_delay"), QStringLiteral("."));
    QCOMPARE(f.text(QStringLiteral("edt_op0_delay")), QStringLiteral("0.000 ms"));
}

void TestLevelDelay::systemMuteToggles()
{
    WindowFixture f(false);
    auto *mute = f.ctl<QPushButton>(QStringLiteral("btn_ip0_mute"));
    auto *slider = f.ctl<QSlider>(QStringLiteral("rztrckbr_ingain"));
    // At start the level is 0 and the button red: a click restores 0, nothing to see, and the
    // next move of the track bar is then not remembered.
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(slider->value(), 0);
    QVERIFY(f.state().MuteClickBusy);
    slider->setValue(100);
    QCOMPARE(f.state().SavedSystemLevel, 0);
    QVERIFY(!f.state().MuteClickBusy);
    slider->setValue(150);
    QCOMPARE(f.text(QStringLiteral("edt_ip0_gain")), QStringLiteral("-30.0dB"));
    QCOMPARE(buttonFace(mute), LightGrey);
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(f.text(QStringLiteral("edt_ip0_gain")), QStringLiteral("mute"));
    QCOMPARE(buttonFace(mute), MuteRed);
    QCOMPARE(f.state().SavedSystemLevel, 150);
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(slider->value(), 150);
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Level), 150);
    QVERIFY(!f.state().MuteClickBusy);
    // A level typed into the edit is what the button restores next.
    f.type(QStringLiteral("edt_ip0_gain"), QStringLiteral("-12.4"));
    QTest::mouseClick(mute, Qt::LeftButton);
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(slider->value(), 238);
}

void TestLevelDelay::outputMute()
{
    WindowFixture f(false);
    auto *mute = f.ctl<QPushButton>(QStringLiteral("btn_op2_mute"));
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(f.state().ParamImage.byte(56, LevelByte::Mute), 1);
    QCOMPARE(buttonFace(mute), MuteRed);
    QVERIFY(f.state().DirtyFlags.test(56));
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(f.state().ParamImage.byte(56, LevelByte::Mute), 0);
    QVERIFY(!buttonFace(mute).isValid());
    // A muted byte of another value (device data) shows muted and unmutes with one click.
    f.state().ParamImage.setByte(18, LevelByte::Mute, 7);
    f.window->UpdataToComponent();
    auto *sat = f.ctl<QPushButton>(QStringLiteral("btn_op0_mute"));
    QCOMPARE(buttonFace(sat), MuteRed);
    QTest::mouseClick(sat, Qt::LeftButton);
    QCOMPARE(f.state().ParamImage.byte(18, LevelByte::Mute), 0);
}

void TestLevelDelay::polarity()
{
    WindowFixture f(false);
    for (const auto &[name, record] :
         {std::pair{"btn_ip0_pol", 0}, {"btn_op0_pol", 18}, {"btn_op2_pol", 56}}) {
        auto *b = f.ctl<QPushButton>(QString::fromLatin1(name));
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(b->text(), QStringLiteral("Pol(-)"));
        QCOMPARE(buttonFace(b), PolarityYellow);
        QCOMPARE(f.state().ParamImage.byte(record, LevelByte::Polarity), 1);
        QVERIFY(f.state().DirtyFlags.test(record));
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(b->text(), QStringLiteral("Pol(+)"));
        QCOMPARE(buttonFace(b), LightGrey);
        QCOMPARE(f.state().ParamImage.byte(record, LevelByte::Polarity), 0);
    }
}

void TestLevelDelay::delayScrollBarArmsWheel()
{
    WindowFixture f(false);
    auto *bar = f.ctl<QScrollBar>(QStringLiteral("scrlbr_op0_delay"));
    bar->setValue(96);
    QCOMPARE(f.text(QStringLiteral("edt_op0_delay")), QStringLiteral("0.998ms"));
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("scrlbr_op0_delay"));
    QVERIFY(f.state().Target.WheelOpen());
    QCOMPARE(f.state().Target.WheelMax(), 1440);
}

void TestLevelDelay::wheelMovesArmedControls()
{
    WindowFixture f(false);
    // Targeting a level edit arms the wheel on its track bar, wherever the pointer is.
    f.type(QStringLiteral("edt_op2_gain"), QStringLiteral("-30"));
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("rztrckbr_op2_gain"));
    QVERIFY(f.wheel(f.ctl<QWidget>(QStringLiteral("img_eqbackground")), 120));
    QCOMPARE(f.ctl<QSlider>(QStringLiteral("rztrckbr_op2_gain"))->value(), 151);
    QCOMPARE(f.text(QStringLiteral("edt_op2_gain")), QStringLiteral("-29.8dB"));
    f.wheel(f.ctl<QWidget>(QStringLiteral("grp2")), -120);
    f.wheel(f.ctl<QWidget>(QStringLiteral("grp2")), -120);
    QCOMPARE(f.state().ParamImage.word(56, LevelByte::Level), 149);

    f.type(QStringLiteral("edt_ip0_delay"), QStringLiteral("14.976"));
    f.wheel(f.ctl<QWidget>(QStringLiteral("edt_ip0_delay")), 120); // at the top already
    QCOMPARE(f.ctl<QScrollBar>(QStringLiteral("scrlbr_ip0_delay"))->value(), 1440);
    f.wheel(f.ctl<QWidget>(QStringLiteral("edt_ip0_delay")), -120);
    QCOMPARE(f.state().ParamImage.word(0, LevelByte::Delay), 1439);
    QCOMPARE(f.text(QStringLiteral("edt_ip0_delay")), QStringLiteral("14.966ms"));

    // Clicking a track bar arms the wheel on it.
    auto *ingain = f.ctl<QSlider>(QStringLiteral("rztrckbr_ingain"));
    QTest::mouseClick(ingain, Qt::LeftButton, {}, QPoint(ingain->width() / 2, ingain->height() - 3));
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("rztrckbr_ingain"));
    const int before = ingain->value();
    f.wheel(f.ctl<QWidget>(QStringLiteral("rzgrpbx9")), 120);
    QCOMPARE(ingain->value(), before + 1);
}

void TestLevelDelay::leavingTrackBarDisarms()
{
    WindowFixture f(false);
    auto *slider = f.ctl<QSlider>(QStringLiteral("rztrckbr_op0_gain"));
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(4, slider->height() / 2));
    QVERIFY(slider->hasFocus());
    QVERIFY(f.state().Target.WheelOpen());
    f.leave();
    QVERIFY(!f.state().Target.WheelOpen());
    QVERIFY(f.state().Target.EditTargetName().isEmpty());
    // Nothing armed: the wheel goes to whatever is under the pointer.
    QVERIFY(!f.wheel(f.ctl<QWidget>(QStringLiteral("img_eqbackground")), 120));

    auto *bar = f.ctl<QScrollBar>(QStringLiteral("scrlbr_ip0_delay"));
    bar->setFocus(Qt::MouseFocusReason);
    bar->setValue(10);
    QVERIFY(f.state().Target.WheelOpen());
    f.leave();
    QVERIFY(!f.state().Target.WheelOpen());
}

QTEST_MAIN(TestLevelDelay)
#include "tst_leveldelay.moc"
