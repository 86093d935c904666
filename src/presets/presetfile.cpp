#include "presets/presetfile.h"

#include "protocol/commands.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace spk {

namespace {

constexpr int ImageFirstChar = 20; // 0-based: characters 21..1300

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c)
{
    if (c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

} // namespace

QList<QByteArray> PresetFile::splitLines(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

bool PresetFile::isRecord(const QByteArray &record)
{
    return record.size() == RecordChars && std::all_of(record.begin(), record.end(), isHexDigit);
}

std::array<std::uint8_t, ImageSize> PresetFile::imageOfRecord(const QByteArray &record)
{
    std::array<std::uint8_t, ImageSize> image{};
    if (!isRecord(record)) return image;
    for (int i = 0; i < ImageSize; ++i) {
        const int at = ImageFirstChar + 2 * i;
        image[i] = std::uint8_t(hexValue(record[at]) << 4 | hexValue(record[at + 1]));
    }
    return image;
}

PresetFile::Content PresetFile::parseSdat(const QByteArray &text)
{
    const QByteArray joined = splitLines(text).join();
    if (joined.isEmpty()) return {Status::Empty, {}, {}};
    if (!isRecord(joined)) return {Status::Damaged, {}, {}};
    return {Status::Ok, {joined}, {}};
}

PresetFile::Content PresetFile::parseGdat(const QByteArray &text)
{
    const QList<QByteArray> lines = splitLines(text);
    if (lines.isEmpty()) return {Status::Empty, {}, {}};
    if (lines.size() != GroupLineCount) return {Status::Damaged, {}, {}};
    Content content{Status::Ok, {}, {}};
    for (int k = 0; k < PresetCount; ++k) {
        QByteArray record = lines[2 * k] + lines[2 * k + 1];
        if (!isRecord(record)) return {Status::Damaged, {}, {}};
        content.records.append(record);
    }
    return content;
}

PresetFile::Content PresetFile::readFile(const QString &path, Content (*parse)(const QByteArray &))
{
    // Opening a pipe with no writer would block, and a device would never end.
    const QFileInfo info(path);
    if (info.isDir()) return {Status::Unreadable, {}, QStringLiteral("is a directory")};
    if (info.exists() && !info.isFile())
        return {Status::Unreadable, {}, QStringLiteral("is not a regular file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {Status::Unreadable, {}, file.errorString()};
    // Devices and pipes report no size, so the read itself is bounded too.
    if (file.size() > MaxFileSize) return {Status::Damaged, {}, {}};
    QByteArray text = file.read(MaxFileSize + 1);
    if (text.size() > MaxFileSize) return {Status::Damaged, {}, {}};
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    return parse(text);
}

PresetFile::Content PresetFile::readSdat(const QString &path)
{
    return readFile(path, parseSdat);
}

PresetFile::Content PresetFile::readGdat(const QString &path)
{
    return readFile(path, parseGdat);
}

bool PresetFile::writeLines(const QString &path, const QList<QByteArray> &lines, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error) *error = why;
        return false;
    };
    // QSaveFile would only say that it cannot write into a directory's temporary name.
    if (QFileInfo(path).isDir()) return fail(QStringLiteral("is a directory"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    for (const QByteArray &line : lines) {
        file.write(line.toUpper());
        file.write("\r\n");
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

bool PresetFile::writeSdat(const QString &path, const QByteArray &record, QString *error)
{
    if (!isRecord(record)) {
        if (error) *error = QStringLiteral("not a preset record");
        return false;
    }
    return writeLines(path, {record}, error);
}

bool PresetFile::writeGdat(const QString &path, const QList<QByteArray> &records, QString *error)
{
    if (records.size() != PresetCount || !std::all_of(records.begin(), records.end(), isRecord)) {
        if (error) *error = QStringLiteral("not 20 preset records");
        return false;
    }
    QList<QByteArray> lines;
    for (const QByteArray &record : records) {
        lines.append(record.left(RecordChars / 2));
        lines.append(record.mid(RecordChars / 2));
    }
    return writeLines(path, lines, error);
}

QByteArray PresetFile::recordText(std::span<const std::uint8_t, ImageSize> image, std::uint8_t idByte,
                                  std::uint8_t slot, std::uint8_t command)
{
    QByteArray frame;
    frame.reserve(ImageSize + FrameOverhead);
    frame.append(3, char(SyncByte));
    for (std::uint8_t b : {idByte, DirReply, slot, command, std::uint8_t(0), std::uint8_t(ImageSize >> 8),
                           std::uint8_t(ImageSize & 0xFF)})
        frame.append(char(b));
    frame.append(reinterpret_cast<const char *>(image.data()), ImageSize);
    std::uint8_t sum = 0;
    for (qsizetype i = 3; i < frame.size(); ++i)
        sum ^= std::uint8_t(frame[i]);
    frame.append(char(sum));
    frame.append(char(EndByte));
    return frame.toHex().toUpper();
}

} // namespace spk
