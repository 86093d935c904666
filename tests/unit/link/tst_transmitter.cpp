#include "fakes/faketransport.h"
#include "link/transmitter.h"

#include <QTest>

using namespace spk;

class TestTransmitter : public QObject
{
    Q_OBJECT
private slots:
    void frameGoesToTheLinkInUse_data();
    void frameGoesToTheLinkInUse();
    void nothingWhileNotConnected();
    void bulkWriteOrder();
};

void TestTransmitter::frameGoesToTheLinkInUse_data()
{
    QTest::addColumn<bool>("usbMode");
    QTest::addColumn<bool>("usbGiven");
    QTest::addColumn<bool>("usbOpen");
    QTest::addColumn<bool>("viaUsb");
    QTest::newRow("serial") << false << true << true << false;
    QTest::newRow("usb mode") << true << true << true << true;
    QTest::newRow("usb mode, no usb link yet") << true << false << false << false;
    // A USB device arrived during a serial link: the serial link carries on until closed.
    QTest::newRow("usb mode, serial link still open") << true << true << false << false;
}

void TestTransmitter::frameGoesToTheLinkInUse()
{
    QFETCH(bool, usbMode);
    QFETCH(bool, usbGiven);
    QFETCH(bool, usbOpen);
    QFETCH(bool, viaUsb);
    LinkState link;
    link.Connected = true;
    link.UsbMode = usbMode;
    FakeTransport serial, usb(Transport::Framing::Reports);
    Transmitter t(link, serial);
    if (usbGiven) t.setUsbTransport(&usb);
    usb.setOpen(usbOpen);
    const Frame frame = FrameBuilder::readRequest(link, 0, CMD_Version, 0);
    QVERIFY(t.transmit(frame));
    QCOMPARE(serial.writes, viaUsb ? QByteArrayList() : QByteArrayList{frame.TxFrame});
    QCOMPARE(usb.writes, viaUsb ? QByteArrayList{frame.hidReport} : QByteArrayList());
    QCOMPARE(t.sentCount(), 1);
}

void TestTransmitter::nothingWhileNotConnected()
{
    LinkState link;
    link.Connected = true;
    const Frame frame = FrameBuilder::readRequest(link, 0, CMD_Version, 0);
    link.Connected = false;
    FakeTransport serial;
    Transmitter t(link, serial);
    QVERIFY(!t.transmit(frame));
    link.Connected = true;
    QVERIFY(!t.transmit(Frame{}));
    serial.setOpen(false); // a port that refuses the write
    QVERIFY(!t.transmit(frame));
    QVERIFY(serial.writes.isEmpty());
}

void TestTransmitter::bulkWriteOrder()
{
    LinkState link;
    link.Connected = true;
    const std::vector<std::uint8_t> data(ImageSize, 0x5A);
    const BulkWrite bulk = FrameBuilder::bulkWrite(link, 3, CMD_Rw_20_Group, data);
    FakeTransport serial, usb(Transport::Framing::Reports);
    Transmitter t(link, serial);
    t.setUsbTransport(&usb);
    QVERIFY(t.transmitBulk(bulk));
    QCOMPARE(serial.writes, (QByteArrayList{bulk.header.TxFrame, bulk.TxFrame}));

    link.UsbMode = true;
    QVERIFY(t.transmitBulk(bulk));
    QCOMPARE(usb.writes, QByteArrayList{bulk.header.hidReport} + bulk.hidReports);
    // A report that fails abandons the rest.
    usb.writes.clear();
    usb.setOpen(false);
    serial.setOpen(false);
    QVERIFY(!t.transmitBulk(bulk));
    QVERIFY(usb.writes.isEmpty());
}

int runTransmitterTests(int argc, char **argv)
{
    TestTransmitter t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_transmitter.moc"
