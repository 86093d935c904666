// The pieces that keep start-up short: the connection bar's fixed-width lists, the control lookup
// that files the whole tree at once, and the port catalog whose first scan runs while the window
// is built. Each must give what the plain way gives.
#include "app/fixedwidthlist.h"
#include "app/prefetchportcatalog.h"
#include "window/controllookup.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace spk;

class TestStartupParts : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listHintMatchesQComboBox_data();
    void listHintMatchesQComboBox();
    void listLaysOutAsQComboBox();

    void lookupAgreesWithFindChild_data();
    void lookupAgreesWithFindChild();
    void lookupFindsLaterControls();
    void lookupForgetsDeletedControls();

    void prefetchGivesTheScan();
    void laterCallsScanAfresh();
    void unusedPrefetchIsHarmless();

private:
    QString linkPort(const QString &name);

    std::unique_ptr<QTemporaryDir> m_runtime;
    QByteArray m_oldRuntime;
};

void TestStartupParts::init()
{
    // Every catalog here looks for virtual adapters in a folder of this test's own.
    m_runtime = std::make_unique<QTemporaryDir>();
    m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_runtime->path().toLocal8Bit());
    QDir().mkpath(SystemPortCatalog::virtualPortDir());
}

void TestStartupParts::cleanup()
{
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    m_runtime.reset();
}

// A live ttySIM link, as the simulator publishes one.
QString TestStartupParts::linkPort(const QString &name)
{
    const QString target = m_runtime->filePath(name + QStringLiteral(".pty"));
    QFile f(target);
    if (!f.open(QIODevice::WriteOnly)) qWarning("cannot create %s", qPrintable(target));
    const QString link = SystemPortCatalog::virtualPortDir() + u'/' + name;
    if (!QFile::link(target, link)) qWarning("cannot link %s", qPrintable(link));
    return link;
}

void TestStartupParts::listHintMatchesQComboBox_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("items");
    QTest::newRow("window font, device IDs") << 0 << 250;
    QTest::newRow("window font, empty") << 0 << 0;
    QTest::newRow("small font") << 9 << 250;
    QTest::newRow("large font") << 22 << 3;
}

void TestStartupParts::listHintMatchesQComboBox()
{
    QFETCH(int, pixelSize);
    QFETCH(int, items);
    QWidget host;
    if (pixelSize) {
        QFont f = host.font();
        f.setPixelSize(pixelSize);
        host.setFont(f);
    }
    QStringList texts;
    for (int i = 1; i <= items; ++i)
        texts << QString::number(i);
    QComboBox plain(&host);
    plain.addItems(texts);
    plain.setFixedWidth(58);
    FixedWidthList list(58, &host);
    list.addItems(texts);

    // The height is what a layout takes from the hint; the width is fixed either way.
    QCOMPARE(list.sizeHint().height(), plain.sizeHint().height());
    QCOMPARE(list.minimumSizeHint().height(), plain.minimumSizeHint().height());
    QCOMPARE(list.sizeHint().width(), 58);
    QCOMPARE(list.minimumWidth(), 58);
    QCOMPARE(list.maximumWidth(), 58);
}

void TestStartupParts::listLaysOutAsQComboBox()
{
    // Two rows, one with stock lists and one with ours, laid out the same way once shown.
    QWidget host;
    auto *column = new QVBoxLayout(&host);
    QList<QWidget *> rows[2];
    for (int r = 0; r < 2; ++r) {
        auto *bar = new QWidget(&host);
        auto *row = new QHBoxLayout(bar);
        row->setContentsMargins(4, 1, 6, 1);
        row->addWidget(new QLabel(QStringLiteral("Port"), bar));
        QComboBox *ports = r == 0 ? new QComboBox(bar) : new FixedWidthList(112, bar);
        if (r == 0) ports->setFixedWidth(112);
        ports->addItem(QStringLiteral("ttyUSB0"));
        row->addWidget(ports);
        QComboBox *ids = r == 0 ? new QComboBox(bar) : new FixedWidthList(58, bar);
        if (r == 0) ids->setFixedWidth(58);
        for (int id = 1; id <= 250; ++id)
            ids->addItem(QString::number(id));
        row->addWidget(ids);
        column->addWidget(bar);
        rows[r] = {bar, ports, ids};
    }
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(rows[1][0]->sizeHint(), rows[0][0]->sizeHint());
    for (int i = 1; i < 3; ++i)
        QCOMPARE(rows[1][i]->geometry(), rows[0][i]->geometry());
}

namespace {
// root
//   a "same" (QLabel)  b (QWidget)  c "only" (QLineEdit)
//   b: d "same" (QLineEdit)  e "deep" (QWidget) -> f "same" (QLabel)
//   an object that is no widget, named "plain"
struct Tree
{
    QWidget root;
    QLabel *a = new QLabel(&root);
    QWidget *b = new QWidget(&root);
    QLineEdit *c = new QLineEdit(&root);
    QLineEdit *d = new QLineEdit(b);
    QWidget *e = new QWidget(b);
    QLabel *f = new QLabel(e);
    QObject *plain = new QObject(&root);

    Tree()
    {
        root.setObjectName(QStringLiteral("root"));
        a->setObjectName(QStringLiteral("same"));
        c->setObjectName(QStringLiteral("only"));
        d->setObjectName(QStringLiteral("same"));
        e->setObjectName(QStringLiteral("deep"));
        f->setObjectName(QStringLiteral("same"));
        plain->setObjectName(QStringLiteral("plain"));
    }
};
} // namespace

void TestStartupParts::lookupAgreesWithFindChild_data()
{
    QTest::addColumn<QString>("name");
    for (const char *n : {"root", "same", "only", "deep", "plain", "missing"})
        QTest::newRow(n) << QString::fromLatin1(n);
}

void TestStartupParts::lookupAgreesWithFindChild()
{
    QFETCH(QString, name);
    Tree t;
    ControlLookup lookup(&t.root);
    QWidget *expected = name == QLatin1String("root") ? &t.root : t.root.findChild<QWidget *>(name);
    QCOMPARE(lookup.widget(name), expected);
    QCOMPARE(lookup.widget(name), expected); // and again, from the cache
    QCOMPARE(lookup.get<QLineEdit>(QStringLiteral("only")), t.c);
    QCOMPARE(lookup.get<QLineEdit>(QStringLiteral("deep")), nullptr);
}

void TestStartupParts::lookupFindsLaterControls()
{
    Tree t;
    ControlLookup lookup(&t.root);
    QCOMPARE(lookup.widget(QStringLiteral("only")), t.c); // files the tree
    auto *later = new QLineEdit(t.e);
    later->setObjectName(QStringLiteral("later"));
    QCOMPARE(lookup.widget(QStringLiteral("later")), later);
    // A later control that shares a filed name does not displace the filed one.
    auto *twin = new QLineEdit(&t.root);
    twin->setObjectName(QStringLiteral("only"));
    QCOMPARE(lookup.widget(QStringLiteral("only")), t.c);
}

void TestStartupParts::lookupForgetsDeletedControls()
{
    Tree t;
    ControlLookup lookup(&t.root);
    QCOMPARE(lookup.widget(QStringLiteral("only")), t.c);
    delete t.c;
    QCOMPARE(lookup.widget(QStringLiteral("only")), nullptr);
    auto *again = new QLineEdit(&t.root);
    again->setObjectName(QStringLiteral("only"));
    QCOMPARE(lookup.widget(QStringLiteral("only")), again);
}

void TestStartupParts::prefetchGivesTheScan()
{
    linkPort(QStringLiteral("ttySIM3"));
    linkPort(QStringLiteral("ttySIM1"));
    SystemPortCatalog plain;
    const QStringList expected = plain.names();
    QVERIFY(expected.contains(QStringLiteral("ttySIM1")));

    PrefetchPortCatalog catalog;
    const QList<PortInfo> first = catalog.ports();
    QVERIFY(!catalog.hasPrefetch());
    QStringList names;
    for (const PortInfo &p : first) {
        names << p.name;
        QCOMPARE(catalog.pathOf(p.number), p.path);
    }
    QCOMPARE(names, expected);
}

void TestStartupParts::laterCallsScanAfresh()
{
    linkPort(QStringLiteral("ttySIM0"));
    PrefetchPortCatalog catalog;
    int number = PortNone;
    for (const PortInfo &p : catalog.ports())
        if (p.name == QLatin1String("ttySIM0")) number = p.number;
    QVERIFY(number != PortNone);
    linkPort(QStringLiteral("ttySIM7"));
    QVERIFY(catalog.names().contains(QStringLiteral("ttySIM7")));
    // A port keeps its number across scans, the prefetched one included.
    bool seen = false;
    for (const PortInfo &p : catalog.ports()) {
        if (p.name != QLatin1String("ttySIM0")) continue;
        QCOMPARE(p.number, number);
        seen = true;
    }
    QVERIFY(seen);
}

void TestStartupParts::unusedPrefetchIsHarmless()
{
    linkPort(QStringLiteral("ttySIM2"));
    for (int i = 0; i < 5; ++i) {
        auto catalog = std::make_unique<PrefetchPortCatalog>();
        if (i % 2) QTest::qWait(1);
        catalog.reset(); // waits for its worker, which uses it
    }
    PrefetchPortCatalog catalog;
    QVERIFY(catalog.names().contains(QStringLiteral("ttySIM2")));
}

QTEST_MAIN(TestStartupParts)
#include "tst_startupparts.moc"
