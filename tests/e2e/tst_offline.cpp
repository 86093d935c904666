// Connecting while a preset file is open offline: take the device's settings, send the open
// preset, or cancel.
#include "e2efixture.h"

#include "model/layout.h"
#include "presets/presetfile.h"
#include "protocol/commands.h"
#include "session/offlinefiles.h"
#include "simdevice.h"
#include "window/connectionindicator.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

using namespace spk;
using spk::sim::SimDevice;

namespace {

QByteArray withGain(QByteArray image, int gain)
{
    const int at = bandRecord(Ip0, 3) * RecordSize + BandByte::Gain;
    image[at] = char(gain & 0xFF);
    image[at + 1] = char(gain >> 8);
    return image;
}

QByteArray imageOf(const EditorState &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.ParamImage.bytes().data()), ImageSize);
}

} // namespace

class TestOffline : public QObject
{
    Q_OBJECT
private slots:
    void connectWithOpenFile_data()
    {
        QTest::addColumn<QList<int>>("answers"); // take / send / cancel, then Save / Discard / Cancel
        QTest::addColumn<QString>("outcome");
        QTest::newRow("take, discard the edit") << QList<int>{0, 1} << "device";
        QTest::newRow("take, then cancel the save question") << QList<int>{0, 2} << "closed";
        QTest::newRow("send") << QList<int>{1} << "sent";
        QTest::newRow("cancel") << QList<int>{2} << "closed";
    }
    void connectWithOpenFile()
    {
        QFETCH(QList<int>, answers);
        QFETCH(QString, outcome);
        QVERIFY(m_dir.isValid());
        E2eFixture f;
        QVERIFY2(f.simStarted, qPrintable(f.simError));
        SimDevice *dev = f.sim->device(1);
        const QByteArray deviceImage = dev->image();
        const QByteArray fileImage = withGain(deviceImage, 130);
        const QString path = m_dir.filePath(QStringLiteral("site.sdat"));
        const QByteArray saved = PresetFile::recordText(
                                     std::span<const std::uint8_t, ImageSize>(
                                         reinterpret_cast<const std::uint8_t *>(fileImage.constData()), ImageSize),
                                     0, 0, CMD_RW_One_Group) +
                                 "\r\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(saved) == saved.size());
        file.close();
        QVERIFY(f.window->offlineFiles().openPath(path));
        // Edited after opening: unsaved.
        f.state().ParamImage.setWord(bandRecord(Ip0, 3), BandByte::Gain, 150);
        f.state().setDirty(bandRecord(Ip0, 3));
        QVERIFY(f.window->isWindowModified());
        const QByteArray edited = withGain(deviceImage, 150);

        f.dialogs.choices = answers;
        if (outcome == "closed") {
            QVERIFY(f.pickPort(f.sim->portName()));
            f.click();
            QVERIFY(!f.state().Link.Connected);
            QCOMPARE(f.caption(), connectCaption());
            QVERIFY(f.window->offlineFiles().document().isOpen());
            QVERIFY(f.window->isWindowModified());
            QCOMPARE(imageOf(f.state()), edited);
            QVERIFY(f.sim->receivedFrames().isEmpty());
            return;
        }
        QVERIFY(f.connectAndRun());
        QVERIFY(!f.window->offlineFiles().document().isOpen());
        QVERIFY(!f.window->isWindowModified());
        QVERIFY(!f.window->findChild<QAction *>(QStringLiteral("Openpresetfile1"))->isEnabled());
        if (outcome == "device") {
            QCOMPARE(imageOf(f.state()), deviceImage);
            QCOMPARE(dev->image(), deviceImage);
        } else {
            // The write, then the read-back that shows what the device now holds.
            QVERIFY(f.waitFor([&] {
                return dev->image() == edited && f.running() && imageOf(f.state()) == edited &&
                       f.receivedCommands().count(CMD_RW_One_Group) >= 3;
            }));
        }
        // The file stays as it was saved.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        QCOMPARE(f.dialogs.shown.first(),
                 QStringLiteral("site.sdat is open.\nTake the settings of the device, or send this preset to the "
                                "device?"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestOffline)
#include "tst_offline.moc"
