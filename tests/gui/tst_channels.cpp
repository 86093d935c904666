// The channel selector and undo: each output's crossover/EQ editors, drag, wheel and reset read and
// write its own records; a refresh fills the selected channel; bad and empty records; the Edit
// menu; every kind of edit one undo step restoring bytes, controls and curve and marking the record.
#include "windowfixture.h"

#include "app/channelselectorform.h"
#include "editors/buttonface.h"
#include "editors/channelview.h"
#include "editors/editundo.h"
#include "editors/valueedit.h"
#include "filters/graphgeometry.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <cmath>

using namespace spk;

namespace {
void selectChannel(WindowFixture &f, int c)
{
    QTest::mouseClick(f.ctl(QStringLiteral("rdo_") + QLatin1String(ChannelGroups[c].name)), Qt::LeftButton);
}
void move(QWidget *w, QPoint to)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
// An edit as the user makes it, "<kind> <control> <args>"; several separated by ";".
void perform(WindowFixture &f, const QString &edits)
{
    for (const QString &edit : edits.split(u';')) {
        const QStringList a = edit.trimmed().split(u' ');
        const auto is = [&](const char *kind) { return a[0] == QLatin1String(kind); };
        QWidget *w = a.size() > 1 && !a[1].front().isDigit() ? f.ctl(a[1]) : nullptr;
        if (is("type")) {
            f.type(a[1], a[2]);
        } else if (is("arrow") || is("wheel")) { // one arrow key; notches up
            QTest::mouseClick(w, Qt::LeftButton);
            for (int i = 0; i < (is("arrow") ? 1 : a[2].toInt()); ++i)
                is("arrow") ? QTest::keyClick(w, a[2] == QLatin1String("up") ? Qt::Key_Up : Qt::Key_Down)
                            : void(f.wheel(w, 120));
        } else if (is("spin")) {
            f.spin(QStringLiteral("spinbtn_") + a[1], a[2] == QLatin1String("up"));
        } else if (is("choose")) {
            f.choose(a[1], a[2].toInt());
        } else if (is("click")) {
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
        } else if (is("slide")) { // a horizontal track bar's handle held, moved to two values
            auto *s = static_cast<QAbstractSlider *>(w);
            const int len = s->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, s);
            const auto at = [&](int v) {
                return QPoint(QStyle::sliderPositionFromValue(0, s->maximum(), v, s->width() - len) + len / 2,
                              5);
            };
            QTest::mousePress(s, Qt::LeftButton, {}, at(s->value()));
            move(s, at(a[2].toInt()));
            move(s, at(a[3].toInt()));
            QTest::mouseRelease(s, Qt::LeftButton, {}, at(a[3].toInt()));
        } else if (is("drag")) { // band, x, y
            const EqPoint p = f.window->graph().point(f.state().GraphChannel, a[1].toInt());
            const QPoint to(a[2].toInt(), a[3].toInt());
            QTest::mousePress(f.window->graphView(), Qt::LeftButton, {}, QPoint(p.x, p.y));
            move(f.window->graphView(), QPoint(300, 50));
            move(f.window->graphView(), to);
            QTest::mouseRelease(f.window->graphView(), Qt::LeftButton, {}, to);
        } else if (is("reset")) {
            QTest::mouseClick(f.ctl(QStringLiteral("btn_EQreset")), Qt::LeftButton);
            QTest::mouseClick(f.ctl(QStringLiteral("btn_op0_resetalleq")), Qt::LeftButton);
        } else if (is("walk")) {
            QTRY_VERIFY_WITH_TIMEOUT(!f.state().tmr_reseteq_in.isActive(), 5000);
        }
    }
}
// What the window shows of the image: edits, lists, boxes, bars, button faces.
QStringList shown(WindowFixture &f)
{
    QStringList out;
    for (ValueEdit *e : f.window->findChildren<ValueEdit *>())
        out << e->objectName() + e->text() + QString::number(e->isEnabled());
    for (QComboBox *c : f.window->findChildren<QComboBox *>(QRegularExpression(QStringLiteral("^cbb_ip0"))))
        out << c->objectName() + QString::number(c->currentIndex());
    for (QCheckBox *c : f.window->findChildren<QCheckBox *>(QRegularExpression(QStringLiteral("^chk_ip0"))))
        out << c->objectName() + QString::number(c->isChecked());
    for (QAbstractSlider *s : f.window->findChildren<QAbstractSlider *>())
        out << s->objectName() + QString::number(s->value());
    for (QPushButton *b :
         f.window->findChildren<QPushButton *>(QRegularExpression(QStringLiteral("_(pol|mute)$"))))
        out << b->objectName() + b->text() + buttonFace(b).name();
    return out;
}
QAction *action(WindowFixture &f, const char *name)
{
    return f.window->findChild<QAction *>(QString::fromLatin1(name));
}
// The shortcut pressed where the focus is (an edit too: undo is the window's, not the text's).
void keys(WindowFixture &f, QKeySequence::StandardKey key)
{
    QWidget *to = QApplication::focusWidget();
    QTest::keySequence(to ? to : f.window.get(), QKeySequence(key));
}
} // namespace

class TestChannels : public QObject
{
    Q_OBJECT
private slots:
    void selector();
    void editsWriteTheChannelsRecords_data();
    void editsWriteTheChannelsRecords();
    void refreshFillsSelectedChannelClamped();
    void allZeroChannelStaysFinite();
    void switchingSettlesTheOldChannel();
    void editMenu();
    void undoRedo_data();
    void undoRedo();
    void undoCommitsTypingAndShowsTheChannel();
    void refreshIsABoundary();
};

void TestChannels::selector()
{
    WindowFixture f;
    auto *panel = f.ctl<QGroupBox>(QStringLiteral("grp1"));
    QCOMPARE(panel->title(), QStringLiteral("SYSTEM EQ"));
    const QStringList spoken = {"System", "Satellite", "Third output", "Subwoofer"};
    for (int c = 0; c < 4; ++c) {
        auto *b = f.ctl<QRadioButton>(QStringLiteral("rdo_") + QLatin1String(ChannelGroups[c].name));
        QCOMPARE(b->accessibleName(), spoken[c]);
        QCOMPARE(b->isChecked(), c == 0);
        QVERIFY(b->isVisible() && b->width() >= b->sizeHint().width());
        QVERIFY(panel->fontMetrics().horizontalAdvance(ChannelSelectorForm::title(c)) + 12 <
                ChannelSelectorForm::Row.left());
    }
    QTest::keyClick(f.window.get(), Qt::Key_B, Qt::AltModifier); // Su&bwoofer
    QTRY_COMPARE(f.window->channelView().channel(), int(Op2));
    QCOMPARE(panel->title(), QStringLiteral("SUBWOOFER EQ"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right); // Third output
    QCOMPARE(f.window->channelView().channel(), int(Op1));
}

void TestChannels::editsWriteTheChannelsRecords_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("band"); // -1: the crossover record
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("code");
    const struct
    {
        const char *edit;
        int band, offset, code;
    } edits[] = {
        {"type edt_ip0hpf_freq 1000", -1, CrossoverByte::HpfFreq, 136},
        {"choose cbb_ip0lpf_type 7", -1, CrossoverByte::LpfType, 7},
        {"type edt_ip0eq_gain_03 -6", 3, BandByte::Gain, 90},
        {"arrow edt_ip0eq_qval_05 up", 5, BandByte::Q, 43},
        {"spin edt_ip0eq_freq_09 down", 9, BandByte::Freq, 89},
        {"choose cbb_ip0eq_type_02 3", 2, BandByte::Type, 3},
        {"click chk_ip0eq_byps_08", 8, BandByte::Bypass, 1},
        {"wheel edt_ip0eq_gain_04 2", 4, BandByte::Gain, 122},
        {"drag 6 430 46", 6, BandByte::Freq, 136},
    };
    for (int c : {Op0, Op1, Op2, Ip0})
        for (const auto &e : edits)
            QTest::addRow("%s: %s", ChannelGroups[c].name, e.edit)
                << c << e.edit << e.band << e.offset << e.code;
}

void TestChannels::editsWriteTheChannelsRecords()
{
    QFETCH(int, channel);
    QFETCH(QString, edit);
    QFETCH(int, band);
    QFETCH(int, offset);
    QFETCH(int, code);
    WindowFixture f(false);
    selectChannel(f, channel);
    const ParamImage before = f.state().ParamImage;
    perform(f, edit);
    const int record = band < 0 ? crossoverRecord(channel) : bandRecord(channel, band);
    const ParamImage &image = f.state().ParamImage;
    const bool wide = offset == BandByte::Gain || offset == BandByte::Q;
    QCOMPARE(wide ? image.word(record, offset) : image.byte(record, offset), code);
    for (int r = 0; r < RecordCount; ++r)
        if (r != record) QVERIFY(std::ranges::equal(image.record(r), before.record(r)));
    // Only that record is sent (with its group's command and sub-index, by the send queue).
    QCOMPARE(f.state().DirtyFlags.first(), std::optional<int>(record));
    f.state().DirtyFlags.clear(record);
    QCOMPARE(f.state().DirtyFlags.first(), std::nullopt);
}

void TestChannels::refreshFillsSelectedChannelClamped()
{
    WindowFixture f(false);
    ParamImage &image = f.state().ParamImage;
    const int r = bandRecord(Op0, 4);
    image.setByte(r, BandByte::Freq, 250);
    image.setByte(r, BandByte::Type, 9);
    image.setWord(r, BandByte::Gain, 999);
    image.setByte(bandRecord(Op0, 1), BandByte::Type, 2);
    image.setByte(crossoverRecord(Op0), CrossoverByte::LpfType, 40);
    selectChannel(f, Op0);
    image.setWord(r, BandByte::Q, 300);
    const ParamImage raw = image;
    f.state().Loading = true;
    f.window->UpdataToComponent();
    f.state().Loading = false;
    QCOMPARE(f.window->channelView().channel(), int(Op0));
    QVERIFY(f.ctl<QRadioButton>(QStringLiteral("rdo_op0"))->isChecked());
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_04")), QStringLiteral("21900.0Hz"));
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_04")), QStringLiteral("12.0dB"));
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_qval_04")), QStringLiteral("92.302"));
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_04"))->currentIndex(), -1);
    QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_ip0lpf_type"))->currentIndex(), -1);
    QVERIFY(!f.ctl(QStringLiteral("edt_ip0eq_qval_01"))->isEnabled());
    QCOMPARE(f.window->graph().point(Op0, 4).x, FreqToPixelX(21900));
    QVERIFY(std::ranges::equal(raw.bytes(), image.bytes()));
    QCOMPARE(f.state().DirtyFlags.first(), std::nullopt);
    perform(f, QStringLiteral("arrow edt_ip0eq_qval_04 down")); // from the table's end
    QCOMPARE(image.word(r, BandByte::Q), 77);
}

void TestChannels::allZeroChannelStaysFinite()
{
    WindowFixture f(false);
    for (int r = levelRecord(Op2); r < levelRecord(Op2) + 19; ++r)
        f.state().ParamImage.setRecord(r, {});
    selectChannel(f, Op2);
    perform(f, QStringLiteral("drag 0 300 90; type edt_ip0hpf_freq 50; wheel edt_ip0eq_qval_05 3"));
    const Curve &total = f.window->graph().response(Op2).total();
    for (const std::vector<double> *v : {&total.magnitude, &total.phase})
        QVERIFY(std::ranges::all_of(*v, [](double x) { return std::isfinite(x); }));
    QCOMPARE(f.state().ParamImage.word(bandRecord(Op2, 5), BandByte::Q), 3);
}

void TestChannels::switchingSettlesTheOldChannel()
{
    WindowFixture f(false);
    const QImage system = f.window->graph().image();
    f.type(QStringLiteral("edt_ip0eq_gain_02"), QStringLiteral("3"), false);
    selectChannel(f, Op0); // the typed value commits on the system channel
    QCOMPARE(f.state().ParamImage.word(bandRecord(Ip0, 2), BandByte::Gain), 135);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_02")), QStringLiteral("0.0dB"));
    QVERIFY(!f.state().Target.WheelOpen());
    perform(f, QStringLiteral("reset"));
    selectChannel(f, Ip0); // the reset walk ends on the satellite first
    QVERIFY(!f.state().tmr_reseteq_in.isActive());
    QCOMPARE(f.state().ParamImage.byte(bandRecord(Op0, 9), BandByte::Bypass), 1);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_02")), QStringLiteral("3.0dB"));
    f.type(QStringLiteral("edt_ip0eq_gain_02"), QStringLiteral("0"));
    QCOMPARE(f.window->graph().image(), system);
}

void TestChannels::editMenu()
{
    WindowFixture f;
    const QList<QAction *> top = f.window->menuBar()->actions();
    QCOMPARE(top[1]->text(), QStringLiteral("Edit"));
    QCOMPARE(top[1]->menu()->actions(), QList<QAction *>({action(f, "Undo1"), action(f, "Redo1")}));
    QCOMPARE(action(f, "Undo1")->text(), QStringLiteral("Undo"));
    QVERIFY(!action(f, "Undo1")->isEnabled() && !action(f, "Redo1")->isEnabled());
    QCOMPARE(action(f, "Undo1")->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(action(f, "Redo1")->shortcut(), QKeySequence(QKeySequence::Redo));
}

void TestChannels::undoRedo_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("what");
    const auto row = [](const char *name, int channel, const char *prepare, const char *edit,
                        const char *what) { QTest::newRow(name) << channel << prepare << edit << what; };
    row("typed", Ip0, "", "type edt_ip0eq_gain_03 -6", "System EQ 4 gain");
    row("typed crossover", Op0, "", "type edt_ip0hpf_freq 1000", "Satellite high-pass frequency");
    row("arrow", Op2, "", "arrow edt_ip0eq_qval_05 up", "Subwoofer EQ 6 Q");
    row("spin", Op1, "", "spin edt_ip0eq_freq_09 up", "Third output EQ 10 frequency");
    row("eq type", Op0, "", "choose cbb_ip0eq_type_02 1", "Satellite EQ 3 type");
    row("crossover type", Ip0, "", "choose cbb_ip0lpf_type 1", "System low-pass type");
    row("bypass", Op2, "", "click chk_ip0eq_byps_08", "Subwoofer EQ 9 bypass");
    row("output mute", Ip0, "", "click btn_op0_mute", "Satellite mute");
    row("output polarity", Op2, "", "click btn_op2_pol", "Subwoofer polarity");
    row("system mute", Ip0, "type edt_ip0_gain -10", "click btn_ip0_mute", "System mute");
    row("system polarity", Ip0, "", "click btn_ip0_pol", "System polarity");
    row("typed delay", Ip0, "", "type edt_op2_delay 5", "Subwoofer delay");
    row("slider gesture", Op0, "", "slide rztrckbr_op0_gain 100 200", "Satellite level");
    row("wheel burst", Op0, "", "wheel edt_ip0eq_gain_04 3", "Satellite EQ 5 gain");
    row("drag", Ip0, "", "drag 3 430 46", "System EQ 4 frequency and gain");
    row("drag on output", Op2, "", "drag 7 200 120", "Subwoofer EQ 8 frequency and gain");
    row("reset walked", Ip0, "type edt_ip0eq_gain_01 6", "reset; walk", "System EQ reset");
    row("reset walking", Op0, "", "reset", "Satellite EQ reset");
}

void TestChannels::undoRedo()
{
    QFETCH(int, channel);
    QFETCH(QString, prepare);
    QFETCH(QString, edit);
    QFETCH(QString, what);
    WindowFixture f(false);
    QUndoStack &stack = f.window->undo().stack();
    selectChannel(f, channel);
    if (!prepare.isEmpty()) perform(f, prepare);
    const int steps = stack.count();
    const ParamImage before = f.state().ParamImage;
    const QStringList shownBefore = shown(f);
    const QImage curveBefore = f.window->graph().image();

    perform(f, edit);
    QCOMPARE(stack.count(), steps + 1);
    QCOMPARE(action(f, "Undo1")->text(), QStringLiteral("Undo ") + what);
    f.state().DirtyFlags.clearAll();
    keys(f, QKeySequence::Undo);
    QCOMPARE(stack.count(), steps + 1); // a reset's walk ended into the same step
    QVERIFY(std::ranges::equal(f.state().ParamImage.bytes(), before.bytes()));
    QCOMPARE(shown(f), shownBefore);
    QCOMPARE(f.window->graph().image(), curveBefore);
    const DirtyFlags marked = f.state().DirtyFlags;
    QCOMPARE(action(f, "Redo1")->text(), QStringLiteral("Redo ") + what);
    keys(f, QKeySequence::Redo);
    QList<int> changed;
    for (int r = 0; r < RecordCount; ++r)
        if (!std::ranges::equal(f.state().ParamImage.record(r), before.record(r))) changed << r;
    QVERIFY(!changed.isEmpty());
    for (int r = 0; r < DirtyFlags::Count; ++r)
        QVERIFY(marked.test(r) == changed.contains(r) && f.state().DirtyFlags.test(r) == changed.contains(r));
}

void TestChannels::undoCommitsTypingAndShowsTheChannel()
{
    WindowFixture f(false);
    selectChannel(f, Op0);
    perform(f, QStringLiteral("type edt_ip0eq_freq_05 5000"));
    selectChannel(f, Ip0);
    f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("-6"), false);
    keys(f, QKeySequence::Undo); // commits the typing, then undoes it
    QCOMPARE(f.bandWord(3, BandByte::Gain), 120);
    QCOMPARE(action(f, "Redo1")->text(), QStringLiteral("Redo System EQ 4 gain"));
    keys(f, QKeySequence::Undo); // the satellite's frequency: shown on its channel
    QCOMPARE(f.window->channelView().channel(), int(Op0));
    QVERIFY(f.ctl<QRadioButton>(QStringLiteral("rdo_op0"))->isChecked());
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_freq_05")), QStringLiteral("83.4Hz"));
    keys(f, QKeySequence::Redo);
    QCOMPARE(f.state().ParamImage.byte(bandRecord(Op0, 5), BandByte::Freq), 192);
}

void TestChannels::refreshIsABoundary()
{
    WindowFixture f(false);
    QUndoStack &stack = f.window->undo().stack();
    // Notches of one burst merge; after an undo the next notch is a step of its own.
    perform(f, QStringLiteral("wheel edt_ip0eq_gain_04 2; wheel edt_ip0eq_qval_04 2"));
    keys(f, QKeySequence::Undo);
    perform(f, QStringLiteral("wheel edt_ip0eq_gain_04 1"));
    QCOMPARE(stack.count(), 2);
    QVERIFY(stack.canUndo());
    f.state().ParamImage.setWord(bandRecord(Ip0, 6), BandByte::Gain, 150);
    f.window->UpdataToComponent();
    f.state().DirtyFlags.clearAll();
    QVERIFY(!stack.canUndo() && !stack.canRedo());
    keys(f, QKeySequence::Undo);
    QCOMPARE(f.bandWord(4, BandByte::Gain), 123);
    QCOMPARE(f.state().DirtyFlags.first(), std::nullopt);
    // What the refresh brought is where the next step starts from; a drag back is no step.
    perform(f, QStringLiteral("type edt_ip0eq_gain_06 0; drag 2 %1 66").arg(FreqToPixelX(35.1)));
    QCOMPARE(stack.count(), 1);
    keys(f, QKeySequence::Undo);
    QCOMPARE(f.bandWord(6, BandByte::Gain), 150);
}

QTEST_MAIN(TestChannels)
#include "tst_channels.moc"
