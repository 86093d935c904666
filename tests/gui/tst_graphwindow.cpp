// The response graph in the window: dragging EQ points, the mouse-up that arms the wheel, the
// wheel itself, and the EQ reset walk.
#include "windowfixture.h"

#include "editors/crossovereqeditor.h"
#include "editors/eqreset.h"
#include "filters/graphgeometry.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "window/progressbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>

using namespace spk;

namespace {
void move(QWidget *view, QPoint to)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &e);
}
QPoint centre(WindowFixture &f, int band)
{
    const EqPoint p = f.window->graph().point(Ip0, band);
    return {p.x, p.y};
}
} // namespace

class TestGraphWindow : public QObject
{
    Q_OBJECT
private slots:
    void dragBeyondEdges_data();
    void dragBeyondEdges();
    void dragMarksAndRedraws();
    void hitIsStrict_data();
    void hitIsStrict();
    void overlappingPointsTakeLowerBand();
    void smallDragChangesNothing();
    void mouseUpArmsQOrGain();
    void frequencyEditCommitsAgainAfterDrag();
    void pressCommitsFocusedEditFirst();
    void missedPressLeavesFocusAlone();
    void wheelAtLimitStillCallsHandler();
    void wheelOnUnknownNameIsSwallowed();
    void wheelDisarmedWithoutName();
    void resetWalk();
    void resetCancel();
    void resetWalkKeepsItsOwnBand();
    void refreshKeepsBypassByte();
    void refreshShowsClampedValues();
    void refreshDoesNotArmWheelOrMark();
    void thirdOutputNeverShown();
};

void TestGraphWindow::dragBeyondEdges_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("freq");
    QTest::addColumn<int>("gain");
    QTest::addColumn<QString>("freqText");
    QTest::addColumn<QString>("gainText");
    // Band 3 starts at 46.8 Hz (code 30), 0 dB (code 120); x -1 keeps the point's column.
    // The drag writes the shortest form ("0dB"); untouched texts keep the refresh's form.
    QTest::newRow("right") << QPoint(2000, 66) << 243 << 120 << "21900Hz"
                           << "0.0dB";
    QTest::newRow("left") << QPoint(-300, 66) << 0 << 120 << "19.7Hz"
                          << "0.0dB";
    QTest::newRow("above") << QPoint(-1, -400) << 30 << 180 << "46.8Hz"
                           << "12dB";
    QTest::newRow("below") << QPoint(-1, 900) << 30 << 0 << "46.8Hz"
                           << "-24dB";
    QTest::newRow("up a little") << QPoint(-1, 60) << 30 << 129 << "46.8Hz"
                                 << "1.8dB";
}

void TestGraphWindow::dragBeyondEdges()
{
    QFETCH(QPoint, to);
    QFETCH(int, freq);
    QFETCH(int, gain);
    QFETCH(QString, freqText);
    QFETCH(QString, gainText);
    WindowFixture f;
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    const QPoint start = centre(f, 3);
    QCOMPARE(start, QPoint(FreqToPixelX(46.8), 66));
    if (to.x() == -1) to.setX(start.x());
    QTest::mousePress(view, Qt::LeftButton, {}, start);
    QVERIFY(f.state().GraphDragging);
    move(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    QVERIFY(!f.state().GraphDragging);
    QCOMPARE(f.band(3, BandByte::Freq), freq);
    QCOMPARE(f.bandWord(3, BandByte::Gain), gain);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_03")), freqText);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_03")), gainText);
    QCOMPARE(f.bandWord(3, BandByte::Q), 42); // never dragged
}

void TestGraphWindow::dragMarksAndRedraws()
{
    WindowFixture f(false);
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    const QPoint start = centre(f, 6);
    const QImage before = f.window->graph().image();
    QTest::mousePress(view, Qt::LeftButton, {}, start);
    move(view, QPoint(FreqToPixelX(1000), DbToPixelY(6)));
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(8));
    QCOMPARE(f.band(6, BandByte::Freq), 136);
    QCOMPARE(f.bandWord(6, BandByte::Gain), 150);
    QCOMPARE(centre(f, 6), QPoint(FreqToPixelX(1000), DbToPixelY(6)));
    QVERIFY(f.window->graph().image() != before);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(430, 46));
}

void TestGraphWindow::hitIsStrict_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("hit");
    QTest::newRow("10 left") << QPoint(-10, 0) << false;
    QTest::newRow("9 left") << QPoint(-9, 0) << true;
    QTest::newRow("10 right") << QPoint(10, 0) << false;
    QTest::newRow("9 below") << QPoint(0, 9) << true;
    QTest::newRow("10 above") << QPoint(0, -10) << false;
    QTest::newRow("corner 9,9") << QPoint(9, -9) << true;
}

void TestGraphWindow::hitIsStrict()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, hit);
    WindowFixture f;
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    const QPoint at = centre(f, 5) + offset;
    QTest::mousePress(view, Qt::LeftButton, {}, at);
    QCOMPARE(f.state().GraphDragging, hit);
    if (hit) {
        QCOMPARE(f.state().Target.EditTargetBand(), 5);
        QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_freq_05"))->hasFocus());
    } else {
        QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_empty"))->hasFocus());
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
}

void TestGraphWindow::overlappingPointsTakeLowerBand()
{
    WindowFixture f;
    f.type(QStringLiteral("edt_ip0eq_freq_05"), QStringLiteral("46.8"));
    QCOMPARE(centre(f, 5), centre(f, 3));
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mousePress(view, Qt::LeftButton, {}, centre(f, 3) + QPoint(2, 2));
    QCOMPARE(f.state().Target.EditTargetBand(), 3);
    QTest::mouseRelease(view, Qt::LeftButton, {}, centre(f, 3));
}

void TestGraphWindow::smallDragChangesNothing()
{
    WindowFixture f(false);
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    const QPoint start = centre(f, 8);
    QTest::mousePress(view, Qt::LeftButton, {}, start);
    const QImage before = f.window->graph().image();
    const qint64 key = before.cacheKey();
    move(view, start + QPoint(1, 0));
    QVERIFY(!f.state().DirtyFlags.first());
    QCOMPARE(f.window->graph().image().cacheKey(), key); // not even redrawn
    QTest::mouseRelease(view, Qt::LeftButton, {}, start);
}

void TestGraphWindow::mouseUpArmsQOrGain()
{
    WindowFixture f(false);
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mousePress(view, Qt::LeftButton, {}, centre(f, 2));
    QTest::mouseRelease(view, Qt::LeftButton, {}, centre(f, 2));
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval_02"))->hasFocus());
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("edt_eq_qval"));
    QVERIFY(f.state().Target.WheelOpen());
    QCOMPARE(f.state().Target.WheelMax(), 78);
    QVERIFY(f.wheel(view, 120));
    QCOMPARE(f.bandWord(2, BandByte::Q), 43);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_02")), QStringLiteral("4.319"));
    QVERIFY(f.state().DirtyFlags.test(4));

    // A shelf arms its gain instead.
    f.choose(QStringLiteral("cbb_ip0eq_type_07"), 3);
    QTest::mousePress(view, Qt::LeftButton, {}, centre(f, 7));
    QTest::mouseRelease(view, Qt::LeftButton, {}, centre(f, 7));
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_gain_07"))->hasFocus());
    QCOMPARE(f.state().Target.EditTargetName(), QStringLiteral("edt_eq_gain"));
    QCOMPARE(f.state().Target.WheelMax(), 180);
    f.wheel(view, -120);
    QCOMPARE(f.bandWord(7, BandByte::Gain), 119);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_07")), QStringLiteral("-0.2dB"));
}

void TestGraphWindow::frequencyEditCommitsAgainAfterDrag()
{
    WindowFixture f;
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mousePress(view, Qt::LeftButton, {}, centre(f, 3));
    move(view, QPoint(300, 66));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(300, 66));
    f.type(QStringLiteral("edt_ip0eq_freq_03"), QStringLiteral("1000"), false);
    f.leave();
    QCOMPARE(f.band(3, BandByte::Freq), 136);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_03")), QStringLiteral("1000Hz"));
    QVERIFY(!f.state().Target.WheelOpen());
}

void TestGraphWindow::pressCommitsFocusedEditFirst()
{
    WindowFixture f;
    f.type(QStringLiteral("edt_ip0eq_gain_09"), QStringLiteral("5"), false);
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(600, 150));
    QCOMPARE(f.bandWord(9, BandByte::Gain), 145);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(600, 150));
}

void TestGraphWindow::missedPressLeavesFocusAlone()
{
    WindowFixture f;
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(650, 150));
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_empty"))->hasFocus());
    QVERIFY(!f.state().Target.WheelOpen());
}

void TestGraphWindow::wheelAtLimitStillCallsHandler()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_freq_04"), QStringLiteral("30000"));
    QCOMPARE(f.band(4, BandByte::Freq), 243);
    f.state().DirtyFlags.clearAll();
    f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_freq_04"))->setText(QStringLiteral("x"));
    QVERIFY(f.wheel(f.ctl<QWidget>(QStringLiteral("grp2")), 120));
    QCOMPARE(f.band(4, BandByte::Freq), 243);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_04")), QStringLiteral("21900Hz"));
    QVERIFY(f.state().DirtyFlags.test(6));
    f.wheel(f.ctl<QWidget>(QStringLiteral("grp2")), -120);
    QCOMPARE(f.band(4, BandByte::Freq), 242);

    // The crossover the same way.
    f.type(QStringLiteral("edt_ip0hpf_freq"), QStringLiteral("10"), false);
    f.wheel(f.ctl<QWidget>(QStringLiteral("grp1")), -120);
    QCOMPARE(f.state().ParamImage.byte(1, 0), 0);
    f.wheel(f.ctl<QWidget>(QStringLiteral("grp1")), 120);
    QCOMPARE(f.state().ParamImage.byte(1, 0), 1);
    QCOMPARE(f.text(QStringLiteral("edt_ip0hpf_freq")), QStringLiteral("20.3Hz"));
}

void TestGraphWindow::wheelOnUnknownNameIsSwallowed()
{
    WindowFixture f(false);
    f.state().Target.targetSlider(QStringLiteral("cbb_something"), 10);
    const auto before = f.state().ParamImage.bytes();
    const std::vector<std::uint8_t> copy(before.begin(), before.end());
    QVERIFY(f.wheel(f.ctl<QWidget>(QStringLiteral("cbb_ip0eq_type_00")), 120));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_00"))->currentIndex(), 0);
    QVERIFY(std::ranges::equal(copy, f.state().ParamImage.bytes()));
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestGraphWindow::wheelDisarmedWithoutName()
{
    WindowFixture f;
    f.state().Target.disarm();
    f.state().Target.Set_OpenMouseWheel(0, 10);
    QVERIFY(!f.wheel(f.ctl<QWidget>(QStringLiteral("grp1")), 120));
    QVERIFY(!f.state().Target.WheelOpen());
}

void TestGraphWindow::resetWalk()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_gain_01"), QStringLiteral("6"));
    f.choose(QStringLiteral("cbb_ip0eq_type_02"), 4);
    // Band 5 bypassed by a device value that is not 1.
    f.state().ParamImage.setByte(bandRecord(Ip0, 5), BandByte::Bypass, 120);
    f.window->UpdataToComponent();
    f.state().DirtyFlags.clearAll();

    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("btn_EQreset")), Qt::LeftButton);
    auto *box = f.ctl<QGroupBox>(QStringLiteral("rzgrpbx_resetalleq"));
    QVERIFY(box->isVisible());
    QCOMPARE(box->pos(), QPoint(290, 544));
    const QImage before = f.window->graph().image();
    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("btn_op0_resetalleq")), Qt::LeftButton);
    QVERIFY(!box->isVisible());
    // The image holds the new bands at once; controls and curve follow band by band.
    QCOMPARE(f.band(2, BandByte::Type), 0);
    QCOMPARE(f.band(9, BandByte::Freq), 230);
    QCOMPARE(f.window->graph().image(), before);
    QVERIFY(f.window->progressBox().isShown());
    QVERIFY(!f.state().DirtyFlags.first());

    QTRY_VERIFY_WITH_TIMEOUT(!f.state().tmr_reseteq_in.isActive(), 5000);
    // The last band's code 230 is 15100 Hz in the table.
    const QStringList freqs = {"29.5Hz",   "60.7Hz",   "121.0Hz",  "250.0Hz",  "500.0Hz",
                               "1000.0Hz", "2000.0Hz", "4000.0Hz", "8000.0Hz", "15100.0Hz"};
    for (int b = 0; b < 10; ++b) {
        const QString s = QStringLiteral("_0") + QString::number(b);
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq") + s), freqs[b]);
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain") + s), QStringLiteral("0.0dB"));
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval") + s), QStringLiteral("4.072"));
        QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type") + s)->currentIndex(), 0);
        QVERIFY(f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + s)->isChecked());
        QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval") + s)->isEnabled());
        QVERIFY(f.state().DirtyFlags.test(2 + b));
        // Ticked by the walk: the box's own handling stored 1; band 5 was ticked already.
        QCOMPARE(f.band(b, BandByte::Bypass), b == 5 ? 120 : 1);
    }
    QVERIFY(f.state().Target.EditTargetName().isEmpty());
    QCOMPARE(f.state().ProgressValue, 100);
    // Offline the box closes with the walk.
    QVERIFY(!f.window->progressBox().isShown());
    // Flat: only the crossover shapes the curve.
    for (double v : f.window->graph().response(Ip0).total().magnitude)
        QVERIFY(std::abs(v) < 1e-9);
}

void TestGraphWindow::resetCancel()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_gain_01"), QStringLiteral("6"));
    f.state().DirtyFlags.clearAll();
    const std::vector<std::uint8_t> before(f.state().ParamImage.bytes().begin(),
                                           f.state().ParamImage.bytes().end());
    const QImage picture = f.window->graph().image();
    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("btn_EQreset")), Qt::LeftButton);
    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("btn2")), Qt::LeftButton);
    QVERIFY(!f.ctl<QWidget>(QStringLiteral("rzgrpbx_resetalleq"))->isVisible());
    QVERIFY(std::ranges::equal(before, f.state().ParamImage.bytes()));
    QCOMPARE(f.window->graph().image(), picture);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_01")), QStringLiteral("6.0dB"));
    QVERIFY(!f.state().tmr_reseteq_in.isActive());
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestGraphWindow::resetWalkKeepsItsOwnBand()
{
    WindowFixture f(false);
    EqReset &reset = f.window->eqReset();
    reset.btn_EQresetClick();
    reset.btn_op0_resetalleqClick();
    f.state().tmr_reseteq_in.stop(); // ticks by hand

    // The user works in band 7's gain while the walk ticks band 0's bypass box.
    f.type(QStringLiteral("edt_ip0eq_gain_07"), QStringLiteral("-6"), false);
    reset.tmr_reseteq_inTimer();
    QCOMPARE(reset.walkBand(), 1);
    QTest::keyClick(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_gain_07")), Qt::Key_Return);
    QCOMPARE(f.bandWord(7, BandByte::Gain), 90);
    QCOMPARE(f.band(0, BandByte::Type), 0); // not written through a stale target
    QCOMPARE(f.band(0, BandByte::Gain), 120);
    // Moving the edit target does not move the walk.
    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval_04")), Qt::LeftButton);
    for (int b = 1; b < 10; ++b) {
        QCOMPARE(reset.walkBand(), b);
        reset.tmr_reseteq_inTimer();
    }
    QCOMPARE(reset.walkBand(), 0);
    QCOMPARE(f.state().Target.EditTargetBand(), 9); // the last bypass box ticked took the target
    for (int b = 0; b < 10; ++b)
        QVERIFY(f.state().DirtyFlags.test(2 + b));
}

void TestGraphWindow::refreshKeepsBypassByte()
{
    WindowFixture f(true);
    const int r = bandRecord(Ip0, 4);
    f.state().ParamImage.setByte(r, BandByte::Bypass, 120);
    f.window->UpdataToComponent();
    QVERIFY(f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps_04"))->isChecked());
    QCOMPARE(f.state().ParamImage.byte(r, BandByte::Bypass), 120);
    f.state().ParamImage.setByte(r, BandByte::Bypass, 0);
    f.window->UpdataToComponent();
    QVERIFY(!f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps_04"))->isChecked());
    QCOMPARE(f.state().ParamImage.byte(r, BandByte::Bypass), 0);
}

void TestGraphWindow::refreshShowsClampedValues()
{
    WindowFixture f(true);
    ParamImage &image = f.state().ParamImage;
    const int band = bandRecord(Ip0, 2);
    image.setByte(band, BandByte::Freq, 250);
    image.setByte(band, BandByte::Type, 7);
    image.setWord(band, BandByte::Gain, 200);
    image.setWord(band, BandByte::Q, 300);
    image.setByte(1, CrossoverByte::HpfFreq, 255);
    image.setByte(1, CrossoverByte::HpfType, 12);
    image.setWord(0, LevelByte::Level, 400);
    image.setWord(18, LevelByte::Delay, 2000);
    image.setWord(56, LevelByte::Level, 65535);
    const std::vector<std::uint8_t> raw(image.bytes().begin(), image.bytes().end());
    f.window->UpdataToComponent();

    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_02")), QStringLiteral("21900.0Hz"));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_02"))->currentIndex(), -1);
    QVERIFY(f.ctl<QWidget>(QStringLiteral("edt_ip0eq_qval_02"))->isEnabled());
    QVERIFY(!f.ctl<QWidget>(QStringLiteral("edt_ip0eq_gain_02"))->isEnabled());
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_02")), QStringLiteral("12.0dB"));
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_02")), QStringLiteral("92.302"));
    QCOMPARE(f.text(QStringLiteral("edt_ip0hpf_freq")), QStringLiteral("21900.0Hz"));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0hpf_type"))->currentIndex(), -1);
    QCOMPARE(f.text(QStringLiteral("edt_ip0_gain")), QStringLiteral("0.0dB"));
    QCOMPARE(f.text(QStringLiteral("edt_op0_delay")), QStringLiteral("14.976ms"));
    QCOMPARE(f.text(QStringLiteral("edt_op2_gain")), QStringLiteral("0.0dB"));
    // The image keeps what the device sent.
    QVERIFY(std::ranges::equal(raw, f.state().ParamImage.bytes()));
    // All-pass point on the 0 dB row, at the right end.
    QCOMPARE(centre(f, 2), QPoint(FreqToPixelX(21900), 66));

    // Dragging an all-pass band moves its frequency only.
    auto *view = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QTest::mousePress(view, Qt::LeftButton, {}, centre(f, 2));
    move(view, QPoint(430, 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(430, 20));
    QCOMPARE(f.band(2, BandByte::Freq), 136);
    QCOMPARE(f.bandWord(2, BandByte::Gain), 200);
}

void TestGraphWindow::refreshDoesNotArmWheelOrMark()
{
    WindowFixture f(false);
    f.state().ParamImage.setWord(0, LevelByte::Delay, 96);
    f.state().ParamImage.setWord(18, LevelByte::Delay, 500);
    f.state().ParamImage.setWord(56, LevelByte::Level, 150);
    f.state().Loading = true;
    f.window->UpdataToComponent();
    f.state().Loading = false;
    QVERIFY(!f.state().Target.WheelOpen());
    QVERIFY(f.state().Target.EditTargetName().isEmpty());
    QVERIFY(!f.state().DirtyFlags.first());
    QCOMPARE(f.text(QStringLiteral("edt_ip0_delay")), QStringLiteral("0.998ms"));
    QCOMPARE(f.text(QStringLiteral("edt_op2_gain")), QStringLiteral("-30.0dB"));
    // The wheel reaches nothing after the refresh.
    QVERIFY(!f.wheel(f.ctl<QWidget>(QStringLiteral("grp1")), 120));
    QCOMPARE(f.state().ParamImage.word(18, LevelByte::Delay), 500);
}

void TestGraphWindow::thirdOutputNeverShown()
{
    WindowFixture f;
    QStringList before;
    const QList<QLineEdit *> edits = f.window->findChildren<QLineEdit *>();
    for (QLineEdit *e : edits)
        before << e->text();
    for (int r = 37; r < 56; ++r)
        for (int i = 0; i < 8; ++i)
            f.state().ParamImage.setByte(r, i, 77);
    f.window->UpdataToComponent();
    QStringList after;
    for (QLineEdit *e : edits)
        after << e->text();
    QCOMPARE(after, before);
}

QTEST_MAIN(TestGraphWindow)
#include "tst_graphwindow.moc"
