#include "model/paramimage.h"
#include "presets/presetdocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace spk;

namespace {

ParamImage sampleImage(int seed)
{
    ParamImage image;
    for (int i = 0; i < ImageSize; ++i)
        image[i] = std::uint8_t((i * 7 + seed * 31) & 0xFF);
    return image;
}

// As another device wrote it: its own ID byte, and a checksum nobody recomputed.
QByteArray foreignRecord(int seed, int slot, int command)
{
    QByteArray r = PresetFile::recordText(sampleImage(seed).bytes(), 9, std::uint8_t(slot), std::uint8_t(command));
    r.replace(1300, 2, "5A");
    return r;
}

// As the editor and the device-saving path write it: upper case, CR LF, each record cut in half.
QByteArray groupText()
{
    QByteArray text;
    for (int k = 0; k < PresetFile::PresetCount; ++k) {
        const QByteArray r = foreignRecord(k, k + 1, 0x29);
        text += r.left(652) + "\r\n" + r.mid(652) + "\r\n";
    }
    return text;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestPresetDocument : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void unchangedSaveIsByteIdentical_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("sdat of another device") << "a.sdat" << foreignRecord(3, 0, 0x28) + "\r\n";
        QTest::newRow("gdat with odd headers") << "a.gdat" << groupText();
    }
    void unchangedSaveIsByteIdentical()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(name);
        QVERIFY(write(path, bytes));
        PresetDocument doc;
        QVERIFY(doc.open(path, 1).ok());
        // An edit taken back leaves the file's own characters.
        ParamImage edited = sampleImage(50);
        doc.setImage(edited.bytes());
        QVERIFY(doc.isModified());
        doc.setImage(doc.isGroup() ? sampleImage(0).bytes() : sampleImage(3).bytes());
        QVERIFY(!doc.isModified());
        QString error;
        const QString copy = m_dir.filePath(QStringLiteral("copy.") + QFileInfo(name).suffix());
        QVERIFY2(doc.save(copy, &error), qPrintable(error));
        QCOMPARE(readAll(copy), bytes);
        QCOMPARE(doc.path(), copy);
    }

    void changedOnDiskAndFailedSave()
    {
        const QString path = m_dir.filePath(QStringLiteral("one.sdat"));
        const QByteArray original = foreignRecord(4, 0, 0x28) + "\r\n";
        QVERIFY(write(path, original));
        PresetDocument doc;
        QVERIFY(doc.open(path).ok());
        QVERIFY(!doc.changedOnDisk());
        QVERIFY(write(path, foreignRecord(5, 0, 0x28) + "\r\n\r\n"));
        QVERIFY(doc.changedOnDisk());

        doc.setImage(sampleImage(8).bytes());
        QString error;
        // No folder to write in: nothing changes, the reason is given.
        QVERIFY(!doc.save(QStringLiteral("/proc/spkedit-no-such-place/x.sdat"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(doc.path(), path);
        QVERIFY(doc.isModified());
        QVERIFY2(doc.save(QString(), &error), qPrintable(error));
        QVERIFY(!doc.changedOnDisk());
        QCOMPARE(readAll(path), PresetFile::recordText(sampleImage(8).bytes(), 0, 0, 0x28) + "\r\n");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestPresetDocument)
#include "tst_presetdocument.moc"
