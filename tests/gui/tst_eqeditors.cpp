// The crossover and equaliser editors: typed values, the key filter, leaving an edit, type lists,
// bypass boxes, arrow keys, spin buttons and what gets marked for sending.
#include "windowfixture.h"

#include "editors/crossovereqeditor.h"
#include "graph/responsegraph.h"
#include "model/layout.h"
#include "window/handlertable.h"

#include <QCheckBox>
#include <QComboBox>

using namespace spk;

class TestEqEditors : public QObject
{
    Q_OBJECT
private slots:
    void typedValue_data();
    void typedValue();
    void unparsableTextKeepsCode_data();
    void unparsableTextKeepsCode();
    void keyFilter();
    void enterReselectsBandText();
    void marksOnlyTheRecord();
    void nothingDirtyWhileLoading();
    void leavingCommitsAndDisarms();
    void leavingUnchangedMarksNothing();
    void eqTypeList();
    void crossoverTypeList();
    void bypassBox();
    void arrowKeys_data();
    void arrowKeys();
    void spinCommitsOtherEditFirst();
    void spinAtLimitStillMarks();
    void changeHandlerNeedsArmedWheel();
    void arrowStaysInTableForDeviceCodes();
};

void TestEqEditors::typedValue_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("code");

    QTest::newRow("freq above range") << "edt_ip0eq_freq_03"
                                      << "25000"
                                      << "21900Hz" << 5 << 0 << false << 243;
    QTest::newRow("freq below range") << "edt_ip0eq_freq_03"
                                      << "10"
                                      << "19.7Hz" << 5 << 0 << false << 0;
    QTest::newRow("freq tie goes low") << "edt_ip0eq_freq_03"
                                       << "1015"
                                       << "1000Hz" << 5 << 0 << false << 136;
    QTest::newRow("freq between") << "edt_ip0eq_freq_09"
                                  << "1016"
                                  << "1030Hz" << 11 << 0 << false << 137;
    QTest::newRow("hpf tie") << "edt_ip0hpf_freq"
                             << "1015"
                             << "1000Hz" << 1 << 0 << false << 136;
    QTest::newRow("lpf above") << "edt_ip0lpf_freq"
                               << "25000"
                               << "21900Hz" << 1 << 4 << false << 243;
    QTest::newRow("gain tie") << "edt_ip0eq_gain_03"
                              << "-0.1"
                              << "-0.2dB" << 5 << 2 << true << 119;
    QTest::newRow("gain below") << "edt_ip0eq_gain_03"
                                << "-30"
                                << "-24.0dB" << 5 << 2 << true << 0;
    QTest::newRow("gain above") << "edt_ip0eq_gain_00"
                                << "13"
                                << "12.0dB" << 2 << 2 << true << 180;
    QTest::newRow("gain") << "edt_ip0eq_gain_07"
                          << "-3.4"
                          << "-3.4dB" << 9 << 2 << true << 103;
    QTest::newRow("q above") << "edt_ip0eq_qval_03"
                             << "100"
                             << "92.302" << 5 << 6 << true << 78;
    QTest::newRow("q nearest") << "edt_ip0eq_qval_03"
                               << "4"
                               << "4.072" << 5 << 6 << true << 42;
    QTest::newRow("q below") << "edt_ip0eq_qval_05"
                             << ".1"
                             << "0.267" << 7 << 6 << true << 0;
}

void TestEqEditors::typedValue()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, record);
    QFETCH(int, offset);
    QFETCH(bool, wide);
    QFETCH(int, code);
    WindowFixture f;
    f.type(edit, typed);
    QCOMPARE(f.text(edit), shown);
    const ParamImage &image = f.state().ParamImage;
    QCOMPARE(wide ? image.word(record, offset) : image.byte(record, offset), code);
    QCOMPARE(f.state().Target.LastEdited(), record);
}

void TestEqEditors::unparsableTextKeepsCode_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("unit still in text") << "edt_ip0eq_freq_03"
                                        << ""
                                        << "46.8Hz";
    QTest::newRow("two points") << "edt_ip0eq_freq_03"
                                << "1.2.3"
                                << "46.8Hz";
    QTest::newRow("lone point") << "edt_ip0eq_gain_03"
                                << "."
                                << "0.0dB";
    QTest::newRow("minus inside") << "edt_ip0eq_gain_03"
                                  << "3-4"
                                  << "0.0dB";
    QTest::newRow("empty") << "edt_ip0eq_qval_03"
                           << ""
                           << "4.072";
    QTest::newRow("crossover") << "edt_ip0lpf_freq"
                               << ""
                               << "20100Hz";
}

void TestEqEditors::unparsableTextKeepsCode()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    WindowFixture f(false);
    const ParamImage before = f.state().ParamImage;
    auto *e = f.ctl<QLineEdit>(edit);
    QTest::mouseClick(e, Qt::LeftButton);
    if (!typed.isEmpty() || edit.contains(u"qval")) {
        e->clear();
        QTest::keyClicks(e, typed);
    }
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(e->text(), shown);
    QVERIFY(std::ranges::equal(before.bytes(), f.state().ParamImage.bytes()));
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestEqEditors::keyFilter()
{
    WindowFixture f;
    auto *freq = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_freq_02"));
    QTest::mouseClick(freq, Qt::LeftButton);
    freq->clear();
    QTest::keyClicks(freq, QStringLiteral("1a-0,0 Hz"));
    QCOMPARE(freq->text(), QStringLiteral("100"));
    auto *gain = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_02"));
    QTest::mouseClick(gain, Qt::LeftButton);
    gain->clear();
    QTest::keyClicks(gain, QStringLiteral("-3.5dB"));
    QCOMPARE(gain->text(), QStringLiteral("-3.5"));
    QTest::keyClick(gain, Qt::Key_Backspace);
    QCOMPARE(gain->text(), QStringLiteral("-3."));
    // Enter does not reach the text: it commits.
    QTest::keyClick(gain, Qt::Key_Return);
    QCOMPARE(gain->text(), QStringLiteral("-3.0dB"));
}

void TestEqEditors::enterReselectsBandText()
{
    WindowFixture f;
    f.type(QStringLiteral("edt_ip0eq_gain_01"), QStringLiteral("2"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_01"))->selectedText(), QStringLiteral("2.0dB"));
    f.type(QStringLiteral("edt_ip0hpf_freq"), QStringLiteral("100"));
    QCOMPARE(f.text(QStringLiteral("edt_ip0hpf_freq")), QStringLiteral("99.2Hz"));
    QVERIFY(!f.ctl<QLineEdit>(QStringLiteral("edt_ip0hpf_freq"))->hasSelectedText());
}

void TestEqEditors::marksOnlyTheRecord()
{
    WindowFixture f(false);
    const QImage before = f.window->graph().image();
    f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(5));
    f.state().DirtyFlags.clear(5);
    QVERIFY(!f.state().DirtyFlags.first());
    QVERIFY(f.window->graph().image() != before);    // the band was recomputed and drawn
    QCOMPARE(f.window->graph().point(Ip0, 3).y, 46); // +6 dB row
    f.type(QStringLiteral("edt_ip0lpf_freq"), QStringLiteral("1000"));
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(1));
}

void TestEqEditors::nothingDirtyWhileLoading()
{
    WindowFixture f(true);
    f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));
    f.type(QStringLiteral("edt_ip0hpf_freq"), QStringLiteral("80"));
    f.choose(QStringLiteral("cbb_ip0eq_type_01"), 2);
    QTest::mouseClick(f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps_04")), Qt::LeftButton);
    QCOMPARE(f.bandWord(3, BandByte::Gain), 150);
    QCOMPARE(f.band(1, BandByte::Type), 2);
    QCOMPARE(f.band(4, BandByte::Bypass), 1);
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestEqEditors::leavingCommitsAndDisarms()
{
    WindowFixture f;
    f.type(QStringLiteral("edt_ip0eq_qval_06"), QStringLiteral("10"), false);
    QVERIFY(f.state().Target.WheelOpen());
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("edt_eq_qval"));
    f.leave();
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_06")), QStringLiteral("10.279"));
    QCOMPARE(f.bandWord(6, BandByte::Q), 58);
    QVERIFY(!f.state().Target.WheelOpen());
    QVERIFY(f.state().Target.EditTargetName().isEmpty());
    QCOMPARE(f.state().Target.WheelMax(), 0);
    QCOMPARE(f.state().Target.EditTarget(), std::optional<int>(recordByte(8, 6))); // kept

    f.type(QStringLiteral("edt_ip0hpf_freq"), QStringLiteral("200"), false);
    f.leave();
    QCOMPARE(f.text(QStringLiteral("edt_ip0hpf_freq")), QStringLiteral("198Hz"));
    QCOMPARE(f.state().ParamImage.byte(1, 0), 80);
}

void TestEqEditors::leavingUnchangedMarksNothing()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_freq_05"), QStringLiteral("83.4"), false);
    f.leave();
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_05")), QStringLiteral("83.4Hz"));
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestEqEditors::eqTypeList()
{
    WindowFixture f(false);
    f.choose(QStringLiteral("cbb_ip0eq_type_03"), 1);
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_03"))->currentText(), QStringLiteral("LS 6dB"));
    QVERIFY(!f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval_03"))->isEnabled());
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_gain_03"))->isEnabled());
    QVERIFY(f.ctl<QWidget>(QStringLiteral("spinbtn_edt_ip0eq_qval_03"))->isEnabled());
    QCOMPARE(f.band(3, BandByte::Type), 1);
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(5));
    QCOMPARE(f.state().Target.EditTarget(), std::optional<int>(recordByte(5, 1)));
    QVERIFY(f.state().Target.EditTargetName().isEmpty());
    f.choose(QStringLiteral("cbb_ip0eq_type_03"), 0);
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval_03"))->isEnabled());
    QCOMPARE(f.band(3, BandByte::Type), 0);
    // A list set from code runs no handler.
    f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_04"))->setCurrentIndex(3);
    QCOMPARE(f.band(4, BandByte::Type), 0);
}

void TestEqEditors::crossoverTypeList()
{
    WindowFixture f(false);
    const auto before = f.window->graph().response(Ip0).total().magnitude;
    f.type(QStringLiteral("edt_ip0hpf_freq"), QStringLiteral("100"));
    f.state().DirtyFlags.clearAll();
    const auto flatType = f.window->graph().response(Ip0).total().magnitude;
    f.choose(QStringLiteral("cbb_ip0hpf_type"), 10);
    QCOMPARE(f.state().ParamImage.byte(1, CrossoverByte::HpfType), 10);
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(1));
    QVERIFY(f.window->graph().response(Ip0).total().magnitude != flatType);
    QVERIFY(flatType != before);
    f.choose(QStringLiteral("cbb_ip0lpf_type"), 4);
    QCOMPARE(f.state().ParamImage.byte(1, CrossoverByte::LpfType), 4);
}

void TestEqEditors::bypassBox()
{
    WindowFixture f(false);
    auto *box = f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps_02"));
    f.type(QStringLiteral("edt_ip0eq_gain_02"), QStringLiteral("9"));
    f.state().DirtyFlags.clearAll();
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(f.band(2, BandByte::Bypass), 1);
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(4));
    // Bypassed: the response is flat, the point stays on the +9 dB row.
    const auto &mag = f.window->graph().response(Ip0).band(2).magnitude;
    QVERIFY(std::ranges::all_of(mag, [](double v) { return v == 0.0; }));
    QCOMPARE(f.window->graph().point(Ip0, 2).y, 36);
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(f.band(2, BandByte::Bypass), 0);
}

void TestEqEditors::arrowKeys_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("gain up to 0") << "edt_ip0eq_gain_03" << 119 << int(Qt::Key_Up) << 120 << "0";
    QTest::newRow("gain down") << "edt_ip0eq_gain_03" << 104 << int(Qt::Key_Down) << 103 << "-3.4";
    QTest::newRow("gain at top") << "edt_ip0eq_gain_03" << 180 << int(Qt::Key_Up) << 180 << "12.0dB";
    QTest::newRow("q down") << "edt_ip0eq_qval_03" << 42 << int(Qt::Key_Down) << 41 << "3.842";
    QTest::newRow("q at bottom") << "edt_ip0eq_qval_03" << 0 << int(Qt::Key_Down) << 0 << "0.267";
    QTest::newRow("freq up") << "edt_ip0eq_freq_03" << 135 << int(Qt::Key_Up) << 136 << "1000";
    QTest::newRow("freq at top") << "edt_ip0eq_freq_03" << 243 << int(Qt::Key_Up) << 243 << "21900.0Hz";
    QTest::newRow("hpf up") << "edt_ip0hpf_freq" << 0 << int(Qt::Key_Up) << 1 << "20.3Hz";
    QTest::newRow("other key") << "edt_ip0eq_gain_03" << 119 << int(Qt::Key_Left) << 119 << "-0.2dB";
}

void TestEqEditors::arrowKeys()
{
    QFETCH(QString, edit);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, code);
    QFETCH(QString, shown);
    WindowFixture f(false);
    // The image holds the start code as if read from the device.
    CrossoverEqEditor::Field field;
    int band;
    QVERIFY(CrossoverEqEditor::fieldOf(edit, &field, &band));
    const bool wide = CrossoverEqEditor::fieldSpec(field).wide;
    f.state().setCodeAt(CrossoverEqEditor::fieldByte(field, band), start, wide);
    f.state().Refreshing = false;
    f.window->UpdataToComponent();
    auto *e = f.ctl<QLineEdit>(edit);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key(key));
    QCOMPARE(f.state().codeAt(CrossoverEqEditor::fieldByte(field, band), wide), code);
    QCOMPARE(e->text(), shown);
    const int record = CrossoverEqEditor::fieldByte(field, band) / RecordSize;
    QCOMPARE(f.state().DirtyFlags.test(record), code != start);
}

void TestEqEditors::spinCommitsOtherEditFirst()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_gain_02"), QStringLiteral("-6"), false); // typed, not committed
    QCOMPARE(f.bandWord(2, BandByte::Gain), 120);
    f.spin(QStringLiteral("spinbtn_edt_ip0eq_qval_04"), true);
    QCOMPARE(f.bandWord(2, BandByte::Gain), 90);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_02")), QStringLiteral("-6.0dB"));
    QCOMPARE(f.bandWord(4, BandByte::Q), 43);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_04")), QStringLiteral("4.319"));
    QVERIFY(f.state().DirtyFlags.test(4));
    QVERIFY(f.state().DirtyFlags.test(6));
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("edt_eq_qval"));
    QVERIFY(!f.state().SpinUp && !f.state().SpinDown);
    // Down twice, on the crossover's own pair.
    f.spin(QStringLiteral("spinbtn_edt_ip0lpf_freq"), false);
    f.spin(QStringLiteral("spinbtn_edt_ip0lpf_freq"), false);
    QCOMPARE(f.state().ParamImage.byte(1, CrossoverByte::LpfFreq), 238);
    QCOMPARE(f.text(QStringLiteral("edt_ip0lpf_freq")), QStringLiteral("19000Hz"));
}

void TestEqEditors::spinAtLimitStillMarks()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_qval_01"), QStringLiteral("100"));
    f.state().DirtyFlags.clearAll();
    f.spin(QStringLiteral("spinbtn_edt_ip0eq_qval_01"), true);
    QCOMPARE(f.bandWord(1, BandByte::Q), 78);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_01")), QStringLiteral("92.302"));
    QVERIFY(f.state().DirtyFlags.test(3));
    f.spin(QStringLiteral("spinbtn_edt_ip0eq_gain_01"), false);
    QCOMPARE(f.bandWord(1, BandByte::Gain), 119);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_01")), QStringLiteral("-0.2dB"));
}

void TestEqEditors::changeHandlerNeedsArmedWheel()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_gain_05"), QStringLiteral("3"), false);
    f.leave(); // disarms
    f.state().DirtyFlags.clearAll();
    QVERIFY(f.window->CallHandlerByName(QStringLiteral("edt_eq_gainChange")));
    QVERIFY(!f.state().DirtyFlags.first());
    QVERIFY(!f.window->CallHandlerByName(QStringLiteral("edt_no_suchChange")));
}

void TestEqEditors::arrowStaysInTableForDeviceCodes()
{
    WindowFixture f(false);
    f.state().ParamImage.setWord(bandRecord(Ip0, 0), BandByte::Q, 100);
    f.window->UpdataToComponent();
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_00")), QStringLiteral("92.302"));
    auto *e = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_qval_00"));
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_Up);
    QCOMPARE(f.bandWord(0, BandByte::Q), 100); // at the table's end: nothing
    QTest::keyClick(e, Qt::Key_Down);
    QCOMPARE(f.bandWord(0, BandByte::Q), 77);
    QCOMPARE(e->text(), QStringLiteral("82.534"));
}

QTEST_MAIN(TestEqEditors)
#include "tst_eqeditors.moc"
