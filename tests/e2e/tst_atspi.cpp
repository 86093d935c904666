// The window as a screen reader reads it: under an X server with the accessibility bus
// (e2e/onatspibus.sh), a reader on that bus finds the controls by walking the application's tree,
// reads the port, the device ID, a type list and a band's texts, and after a type is changed with
// the keyboard hears the new item and reads it back.
#include "e2e/e2efixture.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr auto Accessible = "org.a11y.atspi.Accessible";
constexpr uint RoleComboBox = 11, RoleChart = 80, AnyRole = ~0u; // AtspiRole
constexpr uint StateSelected = 23;                               // AtspiStateType

struct Node
{
    QString service;
    QString path;
    bool operator==(const Node &) const = default;
};

QList<Node> nodesOf(const QDBusArgument &arg)
{
    QList<Node> out;
    arg.beginArray();
    while (!arg.atEnd()) {
        Node n;
        QDBusObjectPath p;
        arg.beginStructure();
        arg >> n.service >> p;
        arg.endStructure();
        n.path = p.path();
        out << n;
    }
    arg.endArray();
    return out;
}

// A client of the accessibility bus on its own connection. Every call waits in an event loop, so
// the window in this process answers it meanwhile.
class BusReader : public QObject
{
    Q_OBJECT
public:
    bool open(QString *why)
    {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (reply.type() != QDBusMessage::ReplyMessage) {
            *why = reply.errorMessage();
            return false;
        }
        m_bus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(reply.arguments().value(0).toString(), QStringLiteral("reader")));
        if (!m_bus->isConnected()) *why = m_bus->lastError().message();
        return m_bus->isConnected();
    }

    QDBusMessage call(const Node &n, const char *interface, const char *method, const QVariantList &args = {})
    {
        QDBusMessage m = QDBusMessage::createMethodCall(n.service, n.path, QLatin1String(interface),
                                                        QLatin1String(method));
        m.setArguments(args);
        QDBusPendingCallWatcher watcher(m_bus->asyncCall(m, 5000));
        QEventLoop loop;
        connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        if (!watcher.isFinished()) loop.exec();
        return watcher.reply();
    }
    QVariant first(const Node &n, const char *interface, const char *method, const QVariantList &args = {})
    {
        return call(n, interface, method, args).arguments().value(0);
    }

    QList<Node> children(const Node &n)
    {
        return nodesOf(first(n, Accessible, "GetChildren").value<QDBusArgument>());
    }
    QString name(const Node &n)
    {
        return first(n, "org.freedesktop.DBus.Properties", "Get", {QString::fromLatin1(Accessible), "Name"})
            .value<QDBusVariant>()
            .variant()
            .toString();
    }
    uint role(const Node &n) { return first(n, Accessible, "GetRole").toUInt(); }
    QString text(const Node &n) { return first(n, "org.a11y.atspi.Text", "GetText", {0, -1}).toString(); }
    bool selected(const Node &n)
    {
        QList<uint> words;
        first(n, Accessible, "GetState").value<QDBusArgument>() >> words;
        return !words.isEmpty() && (words[0] & (1u << StateSelected));
    }

    // The application's root: the one child of the desktop with this process's tree.
    Node application()
    {
        const Node desktop{"org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"};
        for (const Node &app : children(desktop))
            if (name(app) == QCoreApplication::applicationName()) return app;
        return {};
    }
    // The first node with this name and role, breadth first; lists are not entered.
    Node find(const Node &root, const QString &wanted, uint wantedRole)
    {
        QList<Node> queue{root};
        while (!queue.isEmpty()) {
            const Node n = queue.takeFirst();
            const uint r = role(n);
            if ((wantedRole == AnyRole || r == wantedRole) && name(n) == wanted) return n;
            if (r != RoleComboBox) queue << children(n);
        }
        return {};
    }
    // The names of a list's selected items (the list is the list box's one child).
    QStringList selectedItems(const Node &list)
    {
        QStringList out;
        const QList<Node> view = children(list);
        for (const Node &item : view.isEmpty() ? QList<Node>{} : children(view.first()))
            if (selected(item)) out << name(item);
        return out;
    }

    // Asks the registry for every object event; the window starts sending them.
    bool listen()
    {
        for (const char *member : {"PropertyChange", "StateChanged", "TextChanged", "SelectionChanged"})
            if (!m_bus->connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                                QLatin1String(member), this, SLOT(heard(QDBusMessage))))
                return false;
        return call({"org.a11y.atspi.Registry", "/org/a11y/atspi/registry"}, "org.a11y.atspi.Registry",
                    "RegisterEvent", {QStringLiteral("object:"), QStringList(), QString()})
                   .type() == QDBusMessage::ReplyMessage;
    }
    // "<member> <kind> <any data>" of each event from the node, in order.
    QStringList heardFrom(const Node &n) const { return m_heard.value(n.path); }

public slots:
    void heard(const QDBusMessage &m)
    {
        const QVariantList a = m.arguments();
        const QVariant data = a.value(3).value<QDBusVariant>().variant();
        m_heard[m.path()] << QStringList{m.member(), a.value(0).toString(), data.toString()}.join(u' ');
    }

private:
    std::unique_ptr<QDBusConnection> m_bus;
    QHash<QString, QStringList> m_heard;
};

} // namespace

class TestAtspi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readAndHearAType();
};

void TestAtspi::initTestCase()
{
    const QString missing = qEnvironmentVariable("SPK_ATSPI_MISSING");
    if (!missing.isEmpty())
        QSKIP(
            qPrintable(QStringLiteral("no accessibility bus: %1 not installed (scripts/setup.sh installs it)")
                           .arg(missing)));
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("no accessibility bus: run under tests/e2e/onatspibus.sh");
}

void TestAtspi::readAndHearAType()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    QVERIFY(f.waitFor([&] { return f.portItems().contains(f.sim->portName()); }));
    QVERIFY(f.pickPort(f.sim->portName()));
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

    BusReader reader;
    QString why;
    QVERIFY2(reader.open(&why), qPrintable(why));
    Node app;
    QVERIFY2(f.waitFor([&] { return !(app = reader.application()).path.isEmpty(); }),
             "the window never joined the accessibility bus");

    // Label as the name, the current item as the text, and the item selected in the list.
    const struct
    {
        QString name, text;
    } lists[] = {{"Serial port", f.sim->portName()}, {"Device ID", "1"}, {"EQ band 4 type", "PEQ"}};
    for (const auto &l : lists) {
        const Node n = reader.find(app, l.name, RoleComboBox);
        QVERIFY2(!n.path.isEmpty(), qPrintable(l.name));
        QCOMPARE(reader.text(n), l.text);
        QCOMPARE(reader.selectedItems(n), QStringList{l.text});
    }
    for (const char *field : {"freq", "gain", "qval"}) {
        auto *edit = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_%1_03").arg(QLatin1String(field)));
        const Node n = reader.find(app, edit->accessibleName(), AnyRole);
        QVERIFY2(!n.path.isEmpty(), qPrintable(edit->accessibleName()));
        QCOMPARE(reader.text(n), edit->text());
    }
    const Node graph = reader.find(app, QStringLiteral("Response graph"), RoleChart);
    QVERIFY(reader.text(graph).contains(QStringLiteral("\nEQ 4: PEQ, ")));

    // The type changed with the keyboard: the reader hears the new item and reads it back.
    const Node type = reader.find(app, QStringLiteral("EQ band 4 type"), RoleComboBox);
    QVERIFY(reader.listen());
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto *list = f.ctl<QComboBox>(QStringLiteral("cbb_ip0eq_type_03"));
    list->setFocus(Qt::TabFocusReason);
    // Events flow once the window has taken the registration: the focus is heard.
    QVERIFY2(
        f.waitFor([&] { return reader.heardFrom(type).join(u'\n').contains(QStringLiteral("focused")); }),
        qPrintable(reader.heardFrom(type).join(u'\n')));
    // Keys go by the bus's key listeners first and reach the list a moment later.
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(f.waitFor([&] { return list->currentText() == QLatin1String("LS 6dB"); }));
    // Qt's own value change (heard as SelectionChanged) is sent after our text change and may
    // still be on its way when the text change has arrived.
    QVERIFY2(f.waitFor([&] {
        const QStringList heard = reader.heardFrom(type);
        return heard.contains(QStringLiteral("TextChanged insert LS 6dB"))
               && heard.join(u'\n').contains(QStringLiteral("SelectionChanged"));
    }),
             qPrintable(reader.heardFrom(type).join(u'\n')));
    QCOMPARE(reader.text(type), QStringLiteral("LS 6dB"));
    QCOMPARE(reader.selectedItems(type), QStringList{QStringLiteral("LS 6dB")});
    QVERIFY(f.waitFor([&] { return reader.text(graph).contains(QStringLiteral("\nEQ 4: LS 6dB, ")); }));
}

QTEST_MAIN(TestAtspi)
#include "tst_atspi.moc"
