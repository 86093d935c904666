#include "gui/windowfixture.h"

#include "model/layout.h"
#include "presets/presetdocument.h"
#include "protocol/commands.h"
#include "session/offlinefiles.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>

using namespace spk;

namespace {

// The window's own starting image with a gain of its own on band 3 (120 is 0 dB, 5 a dB).
QByteArray recordOf(WindowFixture &f, int gain, int slot = 0, int command = CMD_RW_One_Group)
{
    ParamImage image = f.state().ParamImage;
    image.setWord(bandRecord(Ip0, 3), BandByte::Gain, gain);
    return PresetFile::recordText(image.bytes(), 0, std::uint8_t(slot), std::uint8_t(command));
}

// Twenty presets as another device saved them: its ID byte, checksums nobody checks.
QByteArray groupOf(WindowFixture &f)
{
    QByteArray text;
    for (int n = 1; n <= PresetFile::PresetCount; ++n) {
        QByteArray r = recordOf(f, 100 + n, n, CMD_Rw_20_Group);
        r.replace(6, 2, "09").replace(1300, 2, "5A");
        text += r.left(652) + "\r\n" + r.mid(652) + "\r\n";
    }
    return text;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void trigger(WindowFixture &f, const QString &item)
{
    QAction *a = f.window->findChild<QAction *>(item);
    QVERIFY2(a && a->isEnabled(), qPrintable(item));
    a->trigger();
}

} // namespace

class TestOfflineFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void openEditSaveReopen()
    {
        WindowFixture f;
        const QString path = m_dir.filePath(QStringLiteral("show.sdat"));
        const QString other = m_dir.filePath(QStringLiteral("other.sdat"));
        QVERIFY(write(path, recordOf(f, 130) + "\r\n"));
        QVERIFY(write(other, recordOf(f, 90) + "\r\n"));
        QVERIFY(!f.window->findChild<QAction *>(QStringLiteral("Savepresetfile1"))->isEnabled());

        f.dialogs.files << path;
        trigger(f, QStringLiteral("Openpresetfile1"));
        QCOMPARE(f.bandWord(3, BandByte::Gain), 130);
        QCOMPARE(f.text(QStringLiteral("edt_ip0eq_gain_03")), QStringLiteral("2.0dB"));
        QVERIFY(f.window->windowTitle().startsWith(QStringLiteral("show.sdat[*] - ")));
        QVERIFY(!f.window->isWindowModified());

        f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));
        QCOMPARE(f.bandWord(3, BandByte::Gain), 150);
        QVERIFY(f.window->isWindowModified());
        trigger(f, QStringLiteral("Savepresetfile1"));
        QVERIFY(!f.window->isWindowModified());

        // Another file dropped on the window in between, then the first again: the edit is what
        // the file holds.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.window.get(), &drop);
        QCOMPARE(f.bandWord(3, BandByte::Gain), 90);
        QVERIFY(f.window->offlineFiles().openPath(path));
        QCOMPARE(f.bandWord(3, BandByte::Gain), 150);
        QCOMPARE(readAll(path), recordOf(f, 150) + "\r\n");
        QCOMPARE(f.dialogs.shown, QStringList());
    }

    // Closing the window or opening another file with unsaved edits.
    void unsavedEditsAsk_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::addColumn<int>("answer"); // Save, Discard, Cancel
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<int>("gainInFile");
        QTest::newRow("close, save") << true << 0 << true << 150;
        QTest::newRow("close, discard") << true << 1 << true << 130;
        QTest::newRow("close, cancel") << true << 2 << false << 130;
        QTest::newRow("open another, save") << false << 0 << true << 150;
        QTest::newRow("open another, cancel") << false << 2 << false << 130;
    }
    void unsavedEditsAsk()
    {
        QFETCH(bool, byClosing);
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        QFETCH(int, gainInFile);
        WindowFixture f;
        const QString path = m_dir.filePath(QStringLiteral("ask.sdat"));
        const QString other = m_dir.filePath(QStringLiteral("next.sdat"));
        QVERIFY(write(path, recordOf(f, 130) + "\r\n"));
        QVERIFY(write(other, recordOf(f, 90) + "\r\n"));
        QVERIFY(f.window->offlineFiles().openPath(path));
        f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));

        f.dialogs.choices << answer;
        const bool wentOn = byClosing ? f.window->close() : f.window->offlineFiles().openPath(other);
        QCOMPARE(wentOn, goesOn);
        QCOMPARE(f.dialogs.shown, QStringList{"ask.sdat has changes that are not saved.\nSave them?"});
        QCOMPARE(PresetFile::imageOfRecord(readAll(path).trimmed())[bandRecord(Ip0, 3) * RecordSize +
                                                                     BandByte::Gain],
                 std::uint8_t(gainInFile));
        if (!goesOn) {
            QVERIFY(f.window->isVisible());
            QVERIFY(f.window->isWindowModified());
            QCOMPARE(f.bandWord(3, BandByte::Gain), 150);
        }
    }

    // Twenty presets: an unedited save gives the same bytes; preset 7 edited leaves the others.
    void groupFile()
    {
        WindowFixture f;
        const QString path = m_dir.filePath(QStringLiteral("all.gdat"));
        const QByteArray original = groupOf(f);
        QVERIFY(write(path, original));
        QVERIFY(f.window->offlineFiles().openPath(path));
        QCOMPARE(f.bandWord(3, BandByte::Gain), 101);
        trigger(f, QStringLiteral("Savepresetfile1"));
        QCOMPARE(readAll(path), original);

        trigger(f, QStringLiteral("Presetinfile7"));
        QCOMPARE(f.bandWord(3, BandByte::Gain), 107);
        QVERIFY(f.window->windowTitle().startsWith(QStringLiteral("all.gdat, preset 7[*]")));
        f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));
        trigger(f, QStringLiteral("Presetinfile2"));
        QVERIFY(f.window->isWindowModified());
        trigger(f, QStringLiteral("Savepresetfile1"));

        const QList<QByteArray> before = PresetFile::splitLines(original);
        const QList<QByteArray> after = PresetFile::splitLines(readAll(path));
        QCOMPARE(after.size(), before.size());
        for (int line = 0; line < before.size(); ++line)
            if (line / 2 != 6) QCOMPARE(after[line], before[line]);
        QCOMPARE(after[12] + after[13], recordOf(f, 150, 7, CMD_Rw_20_Group));
        // The command-line companion reads what was saved.
        QProcess show;
        show.start(QStringLiteral(SPKTOOL_PATH), {"show", path, "--preset", "7"});
        QVERIFY(show.waitForFinished(20000));
        QCOMPARE(show.exitCode(), 0);
    }

    void badFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // "<none>": no such file, "<dir>": a folder
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "gone.sdat" << QByteArray("<none>") << "Could not read";
        QTest::newRow("directory") << "dir.gdat" << QByteArray("<dir>") << "Could not read";
        QTest::newRow("empty") << "empty.sdat" << QByteArray() << "File damaged.";
        QTest::newRow("damaged") << "bad.sdat" << QByteArray(1303, 'A') << "File damaged.";
        QTest::newRow("binary") << "bin.sdat" << QByteArray(1304, '\xFE') << "File damaged.";
        QTest::newRow("huge") << "huge.gdat" << QByteArray(3 << 20, 'A') << "File damaged.";
        QTest::newRow("damaged group") << "bad.gdat" << QByteArray("00\r\n").repeated(40) << "File damaged.";
    }
    void badFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        WindowFixture f;
        const QString path = m_dir.filePath(name);
        if (bytes == "<dir>")
            QVERIFY(QDir().mkpath(path));
        else if (bytes != "<none>")
            QVERIFY(write(path, bytes));
        const QString title = f.window->windowTitle();
        const QByteArray image(reinterpret_cast<const char *>(f.state().ParamImage.bytes().data()), ImageSize);

        QVERIFY(!f.window->offlineFiles().openPath(path));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY2(f.dialogs.shown.first().startsWith(message), qPrintable(f.dialogs.shown.first()));
        QCOMPARE(f.window->windowTitle(), title);
        QVERIFY(!f.window->offlineFiles().document().isOpen());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.state().ParamImage.bytes().data()), ImageSize), image);
    }

    // A folder nobody may write in, and a file another program changed meanwhile.
    void saveRefusals()
    {
        WindowFixture f;
        const QString path = m_dir.filePath(QStringLiteral("kept.sdat"));
        QVERIFY(write(path, recordOf(f, 130) + "\r\n"));
        QVERIFY(f.window->offlineFiles().openPath(path));
        f.type(QStringLiteral("edt_ip0eq_gain_03"), QStringLiteral("6"));

        f.dialogs.files << QStringLiteral("/proc/kept.sdat");
        trigger(f, QStringLiteral("Savepresetfileas1"));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.shown.first().startsWith(QStringLiteral("Could not write /proc/kept.sdat:\n")));
        QVERIFY(f.dialogs.shown.first().endsWith(QStringLiteral("The file on disk was not changed.")));
        QVERIFY(f.window->isWindowModified());

        const QByteArray theirs = recordOf(f, 100) + "\r\n\r\n";
        QVERIFY(write(path, theirs));
        f.dialogs.shown.clear();
        f.dialogs.answers << false << true;
        trigger(f, QStringLiteral("Savepresetfile1"));
        QCOMPARE(readAll(path), theirs);
        trigger(f, QStringLiteral("Savepresetfile1"));
        QCOMPARE(f.dialogs.shown, QStringList(2, path + QStringLiteral(" was changed by another program.\nOverwrite it?")));
        QCOMPARE(readAll(path), recordOf(f, 150) + "\r\n");
        QVERIFY(!f.window->isWindowModified());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestOfflineFiles)
#include "tst_offlinefiles.moc"
