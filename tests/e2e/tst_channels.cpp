// An output's edits on the wire: with the satellite or the subwoofer selected, a typed value and a
// drag reach the simulated processor as writes with the output's group command and sub-index, and
// the device keeps them in its image; an undo while connected sends the restored record.
#include "e2efixture.h"

#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "model/layout.h"

#include <QMouseEvent>
#include <QRadioButton>

using namespace spk;

namespace {
QByteArray editorRecord(const E2eFixture &f, int record)
{
    return QByteArray(reinterpret_cast<const char *>(f.state().ParamImage.record(record).data()), RecordSize);
}
QByteArray deviceRecord(const E2eFixture &f, int record)
{
    return f.sim->device(1)->image().mid(record * RecordSize, RecordSize);
}
// A record write of the group's command at the sub-index carrying these bytes reached the device.
bool written(const E2eFixture &f, int record, const QByteArray &bytes)
{
    const RecordAddress at = *addressOfRecord(record);
    for (const QByteArray &frame : f.sim->receivedFrames(at.command))
        if (quint8(frame.at(4)) == 0xA1 && quint8(frame.at(7)) == at.sub &&
            frame.mid(10, RecordSize) == bytes)
            return true;
    return false;
}
void drag(E2eFixture &f, int band, QPoint to)
{
    GraphView *view = f.window->graphView();
    const EqPoint p = f.window->graph().point(f.state().GraphChannel, band);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(p.x, p.y));
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}
} // namespace

class TestE2eChannels : public QObject
{
    Q_OBJECT
private slots:
    void outputEditsReachTheDevice();
};

void TestE2eChannels::outputEditsReachTheDevice()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    QVERIFY(f.connectAndRun());
    f.window->activateWindow();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    const QByteArray systemBand = deviceRecord(f, bandRecord(Ip0, 2));

    // Satellite: a typed gain (record 23: command 0x01, sub-index 5).
    QTest::mouseClick(f.ctl<QRadioButton>(QStringLiteral("rdo_op0")), Qt::LeftButton);
    auto *gain = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_02"));
    QTest::mouseClick(gain, Qt::LeftButton);
    gain->selectAll();
    QTest::keyClicks(gain, QStringLiteral("-6"));
    QTest::keyClick(gain, Qt::Key_Return);
    const int satellite = bandRecord(Op0, 2);
    QCOMPARE(f.state().ParamImage.word(satellite, BandByte::Gain), 90);
    QVERIFY(f.waitFor([&] { return written(f, satellite, editorRecord(f, satellite)); }));
    QCOMPARE(deviceRecord(f, satellite), editorRecord(f, satellite));

    // Subwoofer: a drag (record 63: command 0x03, sub-index 7), then its undo while connected.
    QTest::mouseClick(f.ctl<QRadioButton>(QStringLiteral("rdo_op2")), Qt::LeftButton);
    const int sub = bandRecord(Op2, 4);
    const QByteArray before = editorRecord(f, sub);
    drag(f, 4, QPoint(250, 40));
    QVERIFY(editorRecord(f, sub) != before);
    QVERIFY(f.waitFor([&] { return written(f, sub, editorRecord(f, sub)); }));
    QCOMPARE(deviceRecord(f, sub), editorRecord(f, sub));
    QTest::keySequence(f.window.get(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(editorRecord(f, sub), before);
    QVERIFY(f.waitFor([&] { return deviceRecord(f, sub) == before && written(f, sub, before); }));

    QCOMPARE(deviceRecord(f, bandRecord(Ip0, 2)), systemBand);
    QVERIFY(f.running());
}

QTEST_MAIN(TestE2eChannels)
#include "tst_channels.moc"
