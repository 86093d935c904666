// The addressing controls in the window: the ID box's checks and key filter, the result text, a
// search with no port, and the window as a screen reader walks it.
#include "windowfixture.h"

#include "fakes/fakeportcatalog.h"
#include "session/foundtable.h"
#include "session/idchange.h"
#include "session/idsearch.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace spk;

using Findings = QList<QPair<int, int>>; // (port, ID byte)

namespace {

struct Node
{
    QString name;
    QAccessible::Role role;
    bool invisible;
};

void walk(QAccessibleInterface *iface, QList<Node> &out, int depth = 0)
{
    if (!iface || depth > 40) return;
    out.append({iface->text(QAccessible::Name).simplified(), iface->role(), bool(iface->state().invisible)});
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), out, depth + 1);
}

} // namespace

class TestAddressingPanel : public QObject
{
    Q_OBJECT
private slots:
    void setIdInput_data();
    void setIdInput();
    void resultLines_data();
    void resultLines();
    void searchWithoutPorts();
    void accessibilityWalk();
    void placesAreFree();
};

void TestAddressingPanel::setIdInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("queued");
    const QStringList refused{QStringLiteral("Please input 1~250 number.")};
    QTest::newRow("0") << "0"
                       << "5" << refused << false;
    QTest::newRow("251") << "251"
                         << "5" << refused << false;
    QTest::newRow("empty") << ""
                           << "5" << refused << false;
    QTest::newRow("four digits") << "0007"
                                 << "5" << refused << false;
    QTest::newRow("letters dropped") << "2x5o0"
                                     << "250" << QStringList{"Want to change device id?"} << true;
    QTest::newRow("1") << "1"
                       << "1" << QStringList{"Want to change device id?"} << true;
}

void TestAddressingPanel::setIdInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, shownAfter);
    QFETCH(QStringList, messages);
    QFETCH(bool, queued);
    WindowFixture f(false);
    // A link as far as the ID box can tell; nothing goes out without a transport.
    f.state().Link.Connected = true;
    f.state().Link.DevIdByte = 4;
    f.dialogs.answers = {true};
    auto *edit = f.ctl<QLineEdit>(QStringLiteral("edt22"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(f.text(QStringLiteral("edt22")), shownAfter);
    QCOMPARE(f.dialogs.shown, messages);
    QCOMPARE(f.state().DirtyFlags.test(DirtyFlags::SystemRecord), queued);
    if (queued) {
        QCOMPARE(int(f.state().SysData.bytes[SysData::DeviceId]), shownAfter.toInt());
        QCOMPARE(f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"))->currentIndex(), shownAfter.toInt() - 1);
        QCOMPARE(f.state().Link.DevIdByte, 4); // the record still goes to the old ID
    }
    f.state().Link.Connected = false;
}

void TestAddressingPanel::resultLines_data()
{
    QTest::addColumn<QList<SearchedPort>>("ports");
    QTest::addColumn<Findings>("found");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one device on the second port")
        << QList<SearchedPort>{{"COM3", 3}, {"COM5", 5}} << Findings{{5, 4}}
        << QStringList{"", "COM3--Device ID:", "COM5--Device ID:5 , "};
    QTest::newRow("ascending, whatever the finding order")
        << QList<SearchedPort>{{"ttySIM0", 1}} << Findings{{1, 249}, {1, 0}, {1, 8}}
        << QStringList{"", "ttySIM0--Device ID:1 , 9 , 250 , "};
    QTest::newRow("a port the table cannot hold")
        << QList<SearchedPort>{{"ttyUSB9", 300}, {"ttyS0", 255}} << Findings{{300, 1}, {255, 255}}
        << QStringList{"", "ttyUSB9--Device ID: not searched (port number 300 is out of range)",
                       "ttyS0--Device ID:256 , "};
    QTest::newRow("no port") << QList<SearchedPort>{} << Findings{} << QStringList{""};
}

void TestAddressingPanel::resultLines()
{
    QFETCH(QList<SearchedPort>, ports);
    QFETCH(Findings, found);
    QFETCH(QStringList, lines);
    FoundTable table;
    for (const auto &[port, id] : found)
        QCOMPARE(table.record(port, id), FoundTable::canRecord(port));
    QVERIFY(!table.record(3, 256) && !table.record(-1, 0));
    QCOMPARE(searchResultLines(ports, table), lines);
}

void TestAddressingPanel::searchWithoutPorts()
{
    setTimeScale(0.02);
    FakePortCatalog catalog;
    ScriptedDialogs dialogs;
    MainWindow window(MainWindowOptions{&dialogs, &catalog, true});
    window.show();
    auto *grp1 = window.findChild<QWidget *>(QStringLiteral("grp1"));
    auto *result = window.findChild<QWidget *>(QStringLiteral("rzgrpbx_sch_result"));
    QVERIFY(grp1->isHidden());
    // The quick search finds no port: an empty result at once, closed by tmr_close_seach.
    QVERIFY(QTest::qWaitFor([&] { return result->isVisible(); }, 5000));
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("mmo_s_result"))->toPlainText(), QString());
    QVERIFY(QTest::qWaitFor([&] { return result->isHidden() && grp1->isVisible(); }, 5000));
    window.idSearch().btn41Click();
    QVERIFY(result->isVisible());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestAddressingPanel::accessibilityWalk()
{
    WindowFixture f;
    QList<Node> nodes;
    walk(QAccessible::queryAccessibleInterface(f.window.get()), nodes);
    auto shown = [&](const QString &name, QAccessible::Role role) {
        for (const Node &n : nodes)
            if (n.name == name && n.role == role && !n.invisible) return true;
        return false;
    };
    const QList<QPair<QString, QAccessible::Role>> wanted = {
        {"Serial port", QAccessible::ComboBox},       {"Device ID", QAccessible::ComboBox},
        {"Connect", QAccessible::PushButton},         {"Connection indicator", QAccessible::Graphic},
        {"New device ID", QAccessible::EditableText}, {"OK", QAccessible::PushButton},
        {"Broadcast Mode", QAccessible::CheckBox},    {"Search device ID", QAccessible::PushButton},
        {"Search result", QAccessible::PushButton},   {"High-pass type", QAccessible::ComboBox},
        {"Low-pass type", QAccessible::ComboBox},
    };
    for (const auto &[name, role] : wanted)
        QVERIFY2(shown(name, role), qPrintable(name));
    for (int b = 1; b <= 10; ++b)
        QVERIFY2(shown(QStringLiteral("EQ band %1 type").arg(b), QAccessible::ComboBox),
                 qPrintable(QString::number(b)));
    // Hidden fields and closed boxes are not read out.
    for (const char *hidden :
         {"Limiter value", "Status value 6", "Status value 7", "Device IDs found", "Search progress"})
        for (const Node &n : nodes)
            QVERIFY2(n.name != QLatin1String(hidden) || n.invisible, hidden);
    // The list's value is its item; the caption follows the link.
    auto *connect = f.ctl<QPushButton>(QStringLiteral("btn_connect"));
    connect->setText(QStringLiteral("Disconnect"));
    QCOMPARE(QAccessible::queryAccessibleInterface(connect)->text(QAccessible::Name),
             QStringLiteral("Disconnect"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f.ctl<QWidget>(QStringLiteral("cbb_ip0eq_type_02")))
                 ->text(QAccessible::Value),
             QStringLiteral("PEQ"));
}

void TestAddressingPanel::placesAreFree()
{
    WindowFixture f;
    // The search buttons in the SYSTEM group clear of its controls.
    QWidget *system = f.ctl<QWidget>(QStringLiteral("grp2"));
    for (const char *name : {"btn41", "btn42"}) {
        QWidget *b = f.ctl<QWidget>(QString::fromLatin1(name));
        QCOMPARE(b->parentWidget(), system);
        QVERIFY(b->isVisible() && system->rect().contains(b->geometry()));
        for (QWidget *w : system->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w != b && w->isVisible())
                QVERIFY2(!w->geometry().intersects(b->geometry()), qPrintable(w->objectName()));
    }
}

QTEST_MAIN(TestAddressingPanel)
#include "tst_addressingpanel.moc"
