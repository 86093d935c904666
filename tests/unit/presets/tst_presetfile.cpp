#include "model/paramimage.h"
#include "presets/presetfile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace spk;

namespace {

using Status = PresetFile::Status;

ParamImage sampleImage(int seed)
{
    ParamImage image;
    for (int i = 0; i < ImageSize; ++i)
        image[i] = std::uint8_t((i * 7 + seed * 31) & 0xFF);
    return image;
}

QByteArray sampleRecord(int seed = 1)
{
    return PresetFile::recordText(sampleImage(seed).bytes(), 0, 0, 0x28);
}

// The record cut into pieces of the given lengths, joined with line breaks.
QByteArray split(const QByteArray &record, const QList<int> &lengths, const QByteArray &brk = "\r\n")
{
    QByteArray out;
    int at = 0;
    for (int n : lengths) {
        out += record.mid(at, n) + brk;
        at += n;
    }
    return out + record.mid(at);
}

QByteArray groupText(const QList<int> &breaks)
{
    QByteArray text;
    for (int k = 0; k < PresetFile::PresetCount; ++k) {
        const QByteArray r = PresetFile::recordText(sampleImage(k).bytes(), 0, std::uint8_t(k + 1), 0x29);
        const int b = breaks[k % breaks.size()];
        text += r.left(b) + "\r\n" + r.mid(b) + "\r\n";
    }
    return text;
}

} // namespace

class TestPresetFile : public QObject
{
    Q_OBJECT

private slots:
    void recordText();
    void oneRecordAnyLines_data();
    void oneRecordAnyLines();
    void oneRecordDamaged_data();
    void oneRecordDamaged();
    void emptyIsNotDamaged();
    void groupFile_data();
    void groupFile();
    void writeAndRead();
    void writerRefusesBadRecords();
    void fileLimits();
};

void TestPresetFile::recordText()
{
    const QByteArray r = sampleRecord();
    QCOMPARE(r.size(), 1304);
    QVERIFY(r.startsWith("A5A5A500520028000280"));
    QVERIFY(r.endsWith("AA"));
    const QByteArray bytes = QByteArray::fromHex(r);
    std::uint8_t sum = 0;
    for (int i = 3; i < 651; ++i)
        sum ^= std::uint8_t(bytes[i]);
    QCOMPARE(sum, std::uint8_t(0)); // checksum byte cancels the rest
    const auto image = PresetFile::imageOfRecord(r);
    QVERIFY(std::equal(image.begin(), image.end(), sampleImage(1).bytes().begin()));
}

void TestPresetFile::oneRecordAnyLines_data()
{
    QTest::addColumn<QByteArray>("text");
    const QByteArray r = sampleRecord();
    QTest::newRow("one line") << r + "\r\n";
    QTest::newRow("no final break") << r;
    QTest::newRow("two lines") << split(r, {652});
    QTest::newRow("uneven") << split(r, {1, 1000, 3, 200});
    QTest::newRow("LF") << split(r, {300, 300}, "\n");
    QTest::newRow("CR") << split(r, {300, 300}, "\r");
    QTest::newRow("blank lines between") << split(r, {652}, "\r\n\r\n\r\n");
    QTest::newRow("lower case") << r.toLower() + "\r\n";
    QByteArray oneCharLines;
    for (char c : r)
        oneCharLines += QByteArray(1, c) + "\r\n";
    QTest::newRow("1304 lines") << oneCharLines;
    QByteArray header = r;
    header.replace(0, 20, QByteArray(20, 'f'));
    header.replace(1300, 4, "0123");
    QTest::newRow("any hex header") << header;
}

void TestPresetFile::oneRecordAnyLines()
{
    QFETCH(QByteArray, text);
    const PresetFile::Content c = PresetFile::parseSdat(text);
    QCOMPARE(c.status, Status::Ok);
    QCOMPARE(c.records.size(), 1);
    const auto image = PresetFile::imageOfRecord(c.records[0]);
    QVERIFY(std::equal(image.begin(), image.end(), sampleImage(1).bytes().begin()));
}

void TestPresetFile::oneRecordDamaged_data()
{
    QTest::addColumn<QByteArray>("text");
    const QByteArray r = sampleRecord();
    QTest::newRow("1303") << r.left(1303);
    QTest::newRow("1305") << r + "0";
    QTest::newRow("blank") << QByteArray(r).replace(700, 1, " ");
    QTest::newRow("blank added") << split(r, {652}, " \r\n");
    QTest::newRow("G") << QByteArray(r).replace(5, 1, "G");
    QTest::newRow("g in trailer") << QByteArray(r).replace(1303, 1, "g");
    QTest::newRow("tab") << QByteArray(r).replace(0, 1, "\t");
    QTest::newRow("NUL") << QByteArray(r).replace(40, 1, QByteArray(1, '\0'));
    QTest::newRow("two records") << r + "\r\n" + r;
    QTest::newRow("binary") << QByteArray(5000, '\xFF');
}

void TestPresetFile::oneRecordDamaged()
{
    QFETCH(QByteArray, text);
    QCOMPARE(PresetFile::parseSdat(text).status, Status::Damaged);
}

void TestPresetFile::emptyIsNotDamaged()
{
    QCOMPARE(PresetFile::parseSdat("").status, Status::Empty);
    QCOMPARE(PresetFile::parseSdat("\r\n\r\n\n").status, Status::Empty);
    QCOMPARE(PresetFile::parseSdat(" ").status, Status::Damaged);
    QCOMPARE(PresetFile::parseGdat("").status, Status::Empty);
    QCOMPARE(PresetFile::parseGdat("\r\n").status, Status::Damaged); // one line, not forty
}

void TestPresetFile::groupFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    const QByteArray good = groupText({652});
    QTest::newRow("written form") << good << true;
    QTest::newRow("other breaks") << groupText({1, 1303, 700, 20}) << true;
    QTest::newRow("LF and lower case") << QByteArray(good).replace("\r\n", "\n").toLower() << true;
    QTest::newRow("no final break") << good.chopped(2) << true;
    QTest::newRow("39 lines") << good.left(good.lastIndexOf("\r\n", good.size() - 3) + 2) << false;
    QTest::newRow("41 lines") << good + "\r\n" << false;
    QTest::newRow("41 lines with data") << good + "00\r\n" << false;
    // Forty lines, but the first pair joins to 1303 characters and the second to 1305.
    QList<QByteArray> lines = good.split('\n'); // each line keeps its CR
    lines[2].prepend(lines[1].at(lines[1].size() - 2));
    lines[1].remove(lines[1].size() - 2, 1);
    const QByteArray shifted = lines.join('\n');
    QTest::newRow("records 1303 and 1305") << shifted << false;
    QTest::newRow("one bad digit") << QByteArray(good).replace(9000, 1, "x") << false;
}

void TestPresetFile::groupFile()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    const PresetFile::Content c = PresetFile::parseGdat(text);
    QCOMPARE(c.status, ok ? Status::Ok : Status::Damaged);
    if (!ok) return;
    QCOMPARE(c.records.size(), 20);
    for (int k = 0; k < 20; ++k) {
        const auto image = PresetFile::imageOfRecord(c.records[k]);
        QVERIFY(std::equal(image.begin(), image.end(), sampleImage(k).bytes().begin()));
    }
}

void TestPresetFile::writeAndRead()
{
    QTemporaryDir dir;
    const QString one = dir.filePath("data_flie.sdat");
    QVERIFY(PresetFile::writeSdat(one, sampleRecord().toLower()));
    QFile f(one);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), sampleRecord() + "\r\n");
    f.close();
    QCOMPARE(PresetFile::readSdat(one).records, QList<QByteArray>{sampleRecord()});

    const QString all = dir.filePath("grp_data1.gdat");
    QList<QByteArray> records;
    for (int k = 0; k < 20; ++k)
        records << PresetFile::recordText(sampleImage(k).bytes(), 0, std::uint8_t(k + 1), 0x29);
    QVERIFY(PresetFile::writeGdat(all, records));
    QFile g(all);
    QVERIFY(g.open(QIODevice::ReadOnly));
    const QByteArray text = g.readAll();
    QCOMPARE(text.count("\r\n"), 40);
    QCOMPARE(text.count('\n'), 40);
    QCOMPARE(text, groupText({652}));
    const PresetFile::Content back = PresetFile::readGdat(all);
    QCOMPARE(back.status, Status::Ok);
    QCOMPARE(back.records, records);
}

void TestPresetFile::writerRefusesBadRecords()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.sdat");
    QVERIFY(!PresetFile::writeSdat(path, sampleRecord().left(1302)));
    QVERIFY(!PresetFile::writeSdat(path, QByteArray(sampleRecord()).replace(3, 1, "Z")));
    QVERIFY(!QFile::exists(path));
    QList<QByteArray> nineteen(19, sampleRecord());
    QVERIFY(!PresetFile::writeGdat(dir.filePath("x.gdat"), nineteen));
    QVERIFY(!PresetFile::writeSdat(dir.filePath("no/such/dir/x.sdat"), sampleRecord()));
}

void TestPresetFile::fileLimits()
{
    QTemporaryDir dir;
    QCOMPARE(PresetFile::readSdat(dir.filePath("missing.sdat")).status, Status::Unreadable);
    QCOMPARE(PresetFile::readGdat(dir.path()).status, Status::Unreadable); // a directory

    const QString empty = dir.filePath("empty.sdat");
    QFile e(empty);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.close();
    QCOMPARE(PresetFile::readSdat(empty).status, Status::Empty);
    QCOMPARE(PresetFile::readGdat(empty).status, Status::Empty);

    // A valid record buried in more than a mebibyte of line breaks is not read at all.
    const QString huge = dir.filePath("huge.sdat");
    QFile h(huge);
    QVERIFY(h.open(QIODevice::WriteOnly));
    h.write(sampleRecord());
    h.write(QByteArray(PresetFile::MaxFileSize, '\n'));
    h.close();
    QCOMPARE(PresetFile::readSdat(huge).status, Status::Damaged);
    // A device is not read at all (a pipe would block the open).
    QCOMPARE(PresetFile::readSdat("/dev/zero").status, Status::Unreadable);
    QCOMPARE(PresetFile::readSdat("/dev/zero").error, QStringLiteral("is not a regular file"));

    // An editor may have put a UTF-8 byte order mark in front.
    const QString marked = dir.filePath("bom.sdat");
    QFile b(marked);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write("\xEF\xBB\xBF" + sampleRecord() + "\r\n");
    b.close();
    QCOMPARE(PresetFile::readSdat(marked).records, QList<QByteArray>{sampleRecord()});
}

QTEST_GUILESS_MAIN(TestPresetFile)
#include "tst_presetfile.moc"
