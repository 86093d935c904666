#pragma once

#include "model/layout.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace spk {

// The two preset file formats: text lines of hexadecimal reply frames, each record one 652-byte
// frame carrying a parameter image.
//   .sdat  one record; the lines of the file joined must give exactly 1304 characters
//   .gdat  exactly 40 lines; record k (preset k + 1) is lines 2k and 2k + 1 joined
// Readers accept either case, any line break (CR LF, LF, CR) and a leading UTF-8 byte order mark;
// writers use upper case and CR LF.
class PresetFile
{
public:
    static constexpr int RecordChars = 1304;
    static constexpr int PresetCount = 20;
    static constexpr int GroupLineCount = 2 * PresetCount;
    // Anything larger cannot be a preset file; it is refused as damaged without being read whole.
    static constexpr qint64 MaxFileSize = 1 << 20;

    enum class Status {
        Ok,
        Empty,      // nothing to load: the caller stops silently
        Damaged,    // "File damaged."
        Unreadable, // the file could not be opened
    };

    struct Content
    {
        Content() = default;
        Content(Status s, QList<QByteArray> r = {}, QString why = {})
            : status(s), records(std::move(r)), error(std::move(why))
        {
        }

        Status status = Status::Damaged;
        QList<QByteArray> records; // when Ok: 1304 hex characters each, one (.sdat) or twenty (.gdat)
        QString error;             // when Unreadable: why
    };

    static Content readSdat(const QString &path);
    static Content readGdat(const QString &path);
    static Content parseSdat(const QByteArray &text);
    static Content parseGdat(const QByteArray &text);

    // Lines as a text-file reader sees them: no line break characters, no empty line after a final break.
    static QList<QByteArray> splitLines(const QByteArray &text);
    // 1304 characters, every pair a hexadecimal number.
    static bool isRecord(const QByteArray &record);
    // The parameter image of a valid record: characters 21..1300.
    static std::array<std::uint8_t, ImageSize> imageOfRecord(const QByteArray &record);

    // Refuse (false, nothing written) records that are not valid; false also when the file cannot be
    // written. error, when given, says why. The file appears whole or not at all.
    static bool writeSdat(const QString &path, const QByteArray &record, QString *error = nullptr);
    static bool writeGdat(const QString &path, const QList<QByteArray> &records, QString *error = nullptr);

    // A record as the device sends it: reply header with this ID byte, slot and command, the image,
    // the XOR checksum and the end byte, in upper-case hex.
    static QByteArray recordText(std::span<const std::uint8_t, ImageSize> image, std::uint8_t idByte,
                                 std::uint8_t slot, std::uint8_t command);

private:
    static Content readFile(const QString &path, Content (*parse)(const QByteArray &));
    static bool writeLines(const QString &path, const QList<QByteArray> &lines, QString *error);
};

} // namespace spk
