// What a screen reader finds in the window (every visible control through its accessible
// interface: a name, and the value it shows), and the window without a mouse: Tab in reading
// order, the boxes that take the focus, F10, the graph's points stepped by keys.
#include "windowfixture.h"

#include "editors/buttonface.h"
#include "editors/editundo.h"
#include "graph/graphview.h"
#include "model/layout.h"
#include "model/valuetext.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QUndoStack>

using namespace spk;

namespace {

QString valueOf(QAccessibleInterface *iface)
{
    return iface->text(QAccessible::Value);
}

QString textOf(QAccessibleInterface *iface)
{
    QAccessibleTextInterface *t = iface->textInterface();
    return t ? t->text(0, t->characterCount()) : QStringLiteral("<no text interface>");
}

// Why a control fails a reader; empty when it does not.
QString fault(QWidget *w, QAccessibleInterface *iface)
{
    if (iface->text(QAccessible::Name).trimmed().isEmpty()) return QStringLiteral("no name");
    switch (iface->role()) {
    case QAccessible::ComboBox: {
        const auto *list = static_cast<QComboBox *>(w);
        if (valueOf(iface) != list->currentText() || textOf(iface) != list->currentText())
            return QStringLiteral("value %1, text %2").arg(valueOf(iface), textOf(iface));
        QAccessibleInterface *items = iface->childCount() ? iface->child(0) : nullptr;
        QString selected;
        for (int i = 0; items && i < items->childCount(); ++i)
            if (items->child(i)->state().selected) selected += items->child(i)->text(QAccessible::Name);
        return selected == list->currentText() ? QString() : QStringLiteral("selected child ") + selected;
    }
    case QAccessible::EditableText:
        return valueOf(iface) == static_cast<QLineEdit *>(w)->text() ? QString() : QStringLiteral("value");
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::ProgressBar: {
        QAccessibleValueInterface *v = iface->valueInterface();
        const auto *slider = qobject_cast<QAbstractSlider *>(w);
        const auto *bar = qobject_cast<QProgressBar *>(w);
        const int value = slider ? slider->value() : bar->value();
        const int top = slider ? slider->maximum() : bar->maximum();
        return v && v->currentValue().toInt() == value && v->maximumValue().toInt() == top
                   ? QString()
                   : QStringLiteral("value or range");
    }
    case QAccessible::CheckBox: {
        const auto *b = static_cast<QAbstractButton *>(w);
        const bool on = hasButtonFace(b) ? buttonIsOn(b) : b->isChecked();
        return iface->state().checkable && bool(iface->state().checked) == on ? QString()
                                                                              : QStringLiteral("state");
    }
    case QAccessible::SpinBox:
    case QAccessible::Indicator:
    case QAccessible::Chart:
        return !valueOf(iface).isEmpty() && textOf(iface) == valueOf(iface) ? QString()
                                                                            : QStringLiteral("text");
    case QAccessible::StaticText: {
        // A label named apart from what it shows reads its text as its value.
        const auto *label = qobject_cast<QLabel *>(w);
        if (label && (label->accessibleName().isEmpty() || label->accessibleName() == label->text()))
            return {};
        const QString shown = label ? label->text() : valueOf(iface);
        return !shown.isEmpty() && valueOf(iface) == shown && textOf(iface) == shown
                   ? QString()
                   : QStringLiteral("figure");
    }
    default:
        return {};
    }
}

// The names of the window's controls that fail a reader, with why.
QStringList faults(QWidget *window, int *visited)
{
    QStringList out;
    *visited = 0;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->isWindow()) continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface) {
            out << w->objectName() + QStringLiteral(": no interface");
            continue;
        }
        // Containers and captions are no controls, but every focus stop is.
        const QAccessible::Role role = iface->role();
        const bool control = (w->focusPolicy() & Qt::TabFocus) || role == QAccessible::SpinBox ||
                             role == QAccessible::Indicator || role == QAccessible::ProgressBar ||
                             role == QAccessible::Chart ||
                             (role == QAccessible::StaticText && !w->accessibleName().isEmpty());
        if (!control) continue;
        ++*visited;
        if (const QString why = fault(w, iface); !why.isEmpty())
            out << QStringLiteral("%1 (%2): %3").arg(w->objectName(), w->metaObject()->className(), why);
    }
    return out;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyControlReadable();
    void graphSummary();
    void tabFollowsReadingOrder();
    void boxesTakeTheFocus();
    void graphPointsByKeys_data();
    void graphPointsByKeys();
};

void TestAccessibility::everyControlReadable()
{
    WindowFixture f(false);
    int visited = 0;
    QStringList failed = faults(f.window.get(), &visited);
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join(u'\n')));
    QVERIFY2(visited > 100, qPrintable(QString::number(visited)));

    // After changes by keyboard and click the values follow.
    f.choose(QStringLiteral("cbb_ip0eq_type_03"), 3);
    f.choose(QStringLiteral("cbb_ip0lpf_type"), 7);
    QTest::mouseClick(f.ctl<QPushButton>(QStringLiteral("btn_ip0_pol")), Qt::LeftButton);
    f.ctl<QAbstractSlider>(QStringLiteral("rztrckbr_op0_gain"))->setValue(200);
    QTest::mouseClick(f.ctl<QPushButton>(QStringLiteral("btn_op0_mute")), Qt::LeftButton);
    f.ctl<QCheckBox>(QStringLiteral("chk_ip0eq_byps_05"))->setChecked(true);
    failed = faults(f.window.get(), &visited);
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join(u'\n')));
    QAccessibleInterface *mute = QAccessible::queryAccessibleInterface(f.ctl(QStringLiteral("btn_op0_mute")));
    QVERIFY(mute->state().checked);
    QCOMPARE(mute->text(QAccessible::Name), QStringLiteral("Mute"));
    QCOMPARE(valueOf(QAccessible::queryAccessibleInterface(f.ctl(QStringLiteral("cbb_ip0eq_type_03")))),
             QStringLiteral("HS 6dB"));
    QCOMPARE(valueOf(QAccessible::queryAccessibleInterface(f.ctl(QStringLiteral("lbl_temperature")))),
             QStringLiteral("10'C"));
}

void TestAccessibility::graphSummary()
{
    WindowFixture f(false);
    f.type(QStringLiteral("edt_ip0eq_gain_02"), QStringLiteral("3"));
    f.choose(QStringLiteral("cbb_ip0eq_type_04"), 1);
    f.choose(QStringLiteral("cbb_ip0hpf_type"), 7);
    auto *graph = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(graph);
    QCOMPARE(iface->role(), QAccessible::Chart);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Response graph"));
    const QStringList lines = textOf(iface).split(u'\n');
    QCOMPARE(lines.size(), 2 + BandCount);
    QCOMPARE(lines[0], QStringLiteral("High-pass: 24db-LR, ") + f.text(QStringLiteral("edt_ip0hpf_freq")));
    QCOMPARE(lines[2 + 2], QStringLiteral("EQ 3: PEQ, %1, 3.0dB, Q %2")
                               .arg(f.text(QStringLiteral("edt_ip0eq_freq_02")),
                                    f.text(QStringLiteral("edt_ip0eq_qval_02"))));
    // A shelf has no Q.
    QVERIFY2(lines[2 + 4].startsWith(QStringLiteral("EQ 5: LS 6dB, ")) &&
                 !lines[2 + 4].contains(QStringLiteral(", Q ")),
             qPrintable(lines[2 + 4]));
    // The selected channel's curve.
    QTest::mouseClick(f.ctl<QWidget>(QStringLiteral("rdo_op0")), Qt::LeftButton);
    QVERIFY(textOf(iface) != lines.join(u'\n'));
    QVERIFY(textOf(iface).contains(QStringLiteral("EQ 3: PEQ")));
}

void TestAccessibility::tabFollowsReadingOrder()
{
    WindowFixture f(false);
    const QStringList reading = {"cbb_comport",
                                 "cbb_deviceid",
                                 "edt22",
                                 "btn46",
                                 "btn_broadcase",
                                 "btn_connect",
                                 "rdo_ip0",
                                 "chk_overlay",
                                 "img_eqbackground",
                                 "edt_ip0hpf_freq",
                                 "cbb_ip0hpf_type",
                                 "edt_ip0lpf_freq",
                                 "cbb_ip0lpf_type",
                                 "btn_EQreset",
                                 "edt_ip0eq_freq_00",
                                 "edt_ip0eq_freq_09",
                                 "edt_ip0eq_gain_00",
                                 "edt_ip0eq_qval_09",
                                 "cbb_ip0eq_type_00",
                                 "chk_ip0eq_byps_09",
                                 "rztrckbr_ingain",
                                 "edt_ip0_gain",
                                 "btn_ip0_mute",
                                 "btn_ip0_pol",
                                 "btn41",
                                 "btn42",
                                 "scrlbr_ip0_delay",
                                 "edt_ip0_delay",
                                 "rztrckbr_op0_gain",
                                 "edt_op0_gain",
                                 "btn_op0_mute",
                                 "btn_op0_pol",
                                 "scrlbr_op0_delay",
                                 "edt_op0_delay",
                                 "rztrckbr_op2_gain",
                                 "edt_op2_delay",
                                 "cbb_load2dev",
                                 "btn_load2dev",
                                 "cbb_save2dev",
                                 "edt_save2dev",
                                 "btn_save2dev",
                                 "btn_load_onegrp2pc",
                                 "btn_load_20grp2pc",
                                 "btn_save_onegrp2pc",
                                 "btn_save_20grp2pc"};
    f.ctl(reading.first())->setFocus(Qt::TabFocusReason);
    // One round of Tab from the first control: every shown focus stop once, in that order.
    QStringList round;
    for (int i = 0; i < 400; ++i) {
        QWidget *w = QApplication::focusWidget();
        QVERIFY(w);
        if (!round.isEmpty() && w->objectName() == round.first()) break;
        round << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
    }
    qsizetype at = -1;
    for (const QString &name : reading) {
        const qsizetype i = round.indexOf(name);
        QVERIFY2(i > at, qPrintable(name + QStringLiteral(" out of order in ") + round.join(u' ')));
        at = i;
    }
    QCOMPARE(round.count(QStringLiteral("edt_ip0eq_gain_04")), 1);
    QVERIFY(!round.contains(QStringLiteral("edt_empty")));
    // F10 opens the first menu.
    QTest::keyClick(f.window.get(), Qt::Key_F10);
    QCOMPARE(f.window->menuBar()->activeAction()->text(), QStringLiteral("File"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
}

void TestAccessibility::boxesTakeTheFocus()
{
    WindowFixture f(false);
    auto *reset = f.ctl<QPushButton>(QStringLiteral("btn_EQreset"));
    reset->setFocus(Qt::TabFocusReason);
    QTest::keyClick(reset, Qt::Key_Space);
    QVERIFY(f.ctl(QStringLiteral("rzgrpbx_resetalleq"))->isVisible());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("btn_op0_resetalleq"));
    QVERIFY(tabTo(QStringLiteral("btn2"), 3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!f.ctl(QStringLiteral("rzgrpbx_resetalleq"))->isVisible());
    QCOMPARE(QApplication::focusWidget(), reset);
}

void TestAccessibility::graphPointsByKeys_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("keys"); // R, L, U, D
    QTest::addColumn<int>("freqSteps");
    QTest::addColumn<int>("gainSteps");

    QTest::newRow("peq right right up") << 0 << "RRU" << 2 << 1;
    QTest::newRow("shelf left down down") << 3 << "LDD" << -1 << -2;
}

void TestAccessibility::graphPointsByKeys()
{
    QFETCH(int, type);
    QFETCH(QString, keys);
    QFETCH(int, freqSteps);
    QFETCH(int, gainSteps);
    WindowFixture f(false);
    f.choose(QStringLiteral("cbb_ip0eq_type_03"), type);
    const int freq = f.band(3, BandByte::Freq), gain = f.bandWord(3, BandByte::Gain);
    auto *graph = f.ctl<GraphView>(QStringLiteral("img_eqbackground"));
    QVERIFY(tabTo(graph->objectName()));
    QTest::keyClick(graph, Qt::Key_4);
    QCOMPARE(graph->selectedPoint(), 3);
    const int undoBefore = f.window->undo().stack().count();
    const QMap<QChar, Qt::Key> key{
        {u'R', Qt::Key_Right}, {u'L', Qt::Key_Left}, {u'U', Qt::Key_Up}, {u'D', Qt::Key_Down}};
    for (QChar k : keys)
        QTest::keyClick(graph, key[k]);
    QCOMPARE(QApplication::focusWidget(), graph);
    QCOMPARE(f.band(3, BandByte::Freq), freq + freqSteps);
    QCOMPARE(f.bandWord(3, BandByte::Gain), gain + gainSteps);
    QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_03")), gainText(gain + gainSteps));
    QVERIFY(f.state().DirtyFlags.test(bandRecord(Ip0, 3)));
    // The wheel goes on with the field stepped last.
    QVERIFY(f.wheel(graph, 120));
    QCOMPARE(f.bandWord(3, BandByte::Gain), gain + gainSteps + 1);
    // Frequency presses, gain presses: one undo step each, the wheel's burst one more.
    QCOMPARE(f.window->undo().stack().count(), undoBefore + 3);
    // Page Up walks the bands down, never below the first.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(graph, Qt::Key_PageUp);
    QCOMPARE(graph->selectedPoint(), 0);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
