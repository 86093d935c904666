// The USB link below the window: the HID transport and its read thread over the simulated device
// (report lengths both ways, the thread's life), and the hidapi backend on this machine (descriptor
// lengths, enumeration and monitor without devices, a refused open).
#include "link/hidapibackend.h"
#include "link/hidtransport.h"
#include "link/portcatalog.h"
#include "simhidbackend.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace spk;

namespace {
int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
} // namespace

class TestHid : public QObject
{
    Q_OBJECT
private slots:
    void writeLength_data();
    void writeLength();
    void readLength_data();
    void readLength();
    void threadEndsWithTheLink();
    void reportDescriptor_data();
    void reportDescriptor();
    void machineWithoutDevices();
};

void TestHid::writeLength_data()
{
    QTest::addColumn<int>("declared");
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("written");
    QTest::newRow("the processor's 65") << 65 << 65 << 65;
    QTest::newRow("a shorter output report") << 33 << 65 << 33;
    QTest::newRow("longer than a frame report") << 80 << 65 << 65;
    QTest::newRow("a short report is zero-filled") << 65 << 12 << 65;
}

void TestHid::writeLength()
{
    QFETCH(int, declared);
    QFETCH(int, given);
    QFETCH(int, written);
    SimHidBackend backend;
    backend.outputLength = declared;
    backend.plug(SimHidBackend::processor(), false);
    HidTransport t(backend);
    t.choose(SimHidBackend::processor());
    QVERIFY(t.open(PortUsb));
    QSignalSpy logged(&t, &HidTransport::reportWritten);
    QByteArray report(given, char(0x5A));
    report[0] = 0;
    QVERIFY(t.write(report));
    QCOMPARE(backend.written.size(), 1);
    QCOMPARE(backend.written.first().size(), written);
    QCOMPARE(backend.written.first().left(qMin(given, written)), report.left(qMin(given, written)));
    QCOMPARE(backend.written.first().mid(given), QByteArray(qMax(0, written - given), '\0'));
    QCOMPARE(logged.first().first().toByteArray(), backend.written.first());
}

void TestHid::readLength_data()
{
    QTest::addColumn<QList<int>>("sent");
    QTest::addColumn<QList<int>>("received");
    QTest::newRow("longer than declared: cut") << QList<int>{70} << QList<int>{64};
    QTest::newRow("shorter: what it holds") << QList<int>{10} << QList<int>{10};
    QTest::newRow("zero-length between reports") << QList<int>{64, 0, 5} << QList<int>{64, 5};
    QList<int> burst;
    for (int i = 0; i < 600; ++i)
        burst << 1 + i % 64;
    QTest::newRow("a burst, in order") << burst << burst;
}

void TestHid::readLength()
{
    QFETCH(QList<int>, sent);
    QFETCH(QList<int>, received);
    SimHidBackend backend;
    backend.plug(SimHidBackend::processor(), false);
    HidTransport t(backend);
    t.choose(SimHidBackend::processor());
    QVERIFY(t.open(PortUsb));
    QList<int> sizes;
    QThread *mainThread = QThread::currentThread();
    bool offThread = false;
    connect(&t, &Transport::received, this, [&](const QByteArray &r) {
        sizes << int(r.size());
        offThread = offThread || QThread::currentThread() != mainThread;
    });
    for (int n : sent)
        backend.deliver(QByteArray(n, char(n)));
    QVERIFY(QTest::qWaitFor([&] { return sizes.size() >= received.size(); }, 5000));
    QTest::qWait(20);
    QCOMPARE(sizes, received);
    QVERIFY(!offThread);
}

void TestHid::threadEndsWithTheLink()
{
    SimHidBackend backend;
    const HidDeviceInfo proc = SimHidBackend::processor();
    backend.plug(proc, false);
    HidTransport t(backend);
    QVERIFY(!t.open(PortUsb)); // nothing chosen
    t.choose(proc);
    QVERIFY(t.open(PortUsb));
    QVERIFY(t.readerRunning());
    // Closed while the thread waits inside a read slice: joined, device released.
    t.close();
    QVERIFY(!t.readerRunning());
    QCOMPARE(backend.liveDevices(), 0);

    // Choosing another device closes the open one; choosing the same keeps it.
    QVERIFY(t.open(PortUsb));
    t.choose(proc);
    QVERIFY(t.isOpen());
    HidDeviceInfo other = proc;
    other.path = QStringLiteral("sim-hidraw7");
    t.choose(other);
    QVERIFY(!t.isOpen());
    QVERIFY(!t.readerRunning());

    // Gone between enumeration and open.
    t.choose(proc);
    backend.vanish(proc);
    QVERIFY(!t.open(PortUsb));
    QVERIFY(t.lastError().contains(QStringLiteral("No such file or directory")));
    QVERIFY(t.accessHint().isEmpty());

    // Unplugged while open: the thread reports once and ends.
    backend.plug(proc, false);
    QVERIFY(t.open(PortUsb));
    QSignalSpy failed(&t, &HidTransport::readFailed);
    backend.unplug(proc);
    QVERIFY(failed.wait(5000));
    QVERIFY(!t.readerRunning());
    QCOMPARE(failed.first().first().value<HidError>().code, ENODEV);
}

void TestHid::reportDescriptor_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("input");
    // Vendor page, 64 bytes in and out, no report IDs: the processor's shape.
    QTest::newRow("64 in, 64 out, unnumbered") << QByteArray::fromHex("0600FF0901A101"
                                                                      "0901150026FF00750895409102"
                                                                      "0902150026FF00750895408102"
                                                                      "C0")
                                               << 65 << 64;
    QTest::newRow("numbered 8-byte reports") << QByteArray::fromHex("0600FF0901A101"
                                                                    "8501750895089102"
                                                                    "8501750895088102"
                                                                    "C0")
                                             << 9 << 9;
    QTest::newRow("push and pop keep the globals")
        << QByteArray::fromHex("75089520A4750195089102B49102C0") << 1 + 1 + 32 << 0;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("cut inside an item") << QByteArray::fromHex("0600") << 0 << 0;
}

void TestHid::reportDescriptor()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(int, output);
    QFETCH(int, input);
    const HidapiBackend::ReportLengths got = HidapiBackend::parseReportDescriptor(descriptor);
    QCOMPARE(got.output, output);
    QCOMPARE(got.input, input);
}

// This machine has no hidraw devices: an empty list, no error, no thread; the monitor starts where
// the machine has netlink, and a missing node is refused with the platform's reason.
void TestHid::machineWithoutDevices()
{
    const int threadsBefore = threadCount();
    HidapiBackend backend;
    QCOMPARE(backend.lastError().code, 0);
    const QList<HidDeviceInfo> devices = backend.enumerate();
    for (const HidDeviceInfo &d : devices)
        QVERIFY(d.path.startsWith(QStringLiteral("/dev/hidraw")));
    QCOMPARE(backend.lastError().code, 0);
    if (!backend.startMonitoring())
        qWarning("no udev monitor here: %s", qPrintable(backend.lastError().text));
    QCOMPARE(backend.startMonitoring(), backend.monitoring());
    QCoreApplication::processEvents();

    HidTransport t(backend);
    t.choose(HidDeviceInfo{QStringLiteral("/dev/hidraw-none"), 0x0483, 0x5750, {}, {}});
    QVERIFY(!t.open(PortUsb));
    QCOMPARE(backend.lastError().code, ENOENT);
    QVERIFY2(t.lastError().startsWith(QStringLiteral("/dev/hidraw-none: ")), qPrintable(t.lastError()));
    QVERIFY(!t.readerRunning());
    QCOMPARE(threadCount(), threadsBefore);
}

int runHidTests(int argc, char **argv)
{
    TestHid t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_hid.moc"
