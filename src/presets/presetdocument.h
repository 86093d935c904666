#pragma once

#include "model/layout.h"
#include "presets/presetfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace spk {

// A preset file opened for editing without a device: the file's records, which of them is being
// edited, and whether anything differs from the file as last read or written.
//
// A record whose image is unchanged keeps its characters exactly (another device's ID byte, its
// checksum, odd header bytes); an edited one becomes a record as the device would send it, ID
// byte 0. A file ending in ".gdat" holds all twenty presets, any other one preset.
class PresetDocument
{
public:
    using Image = std::array<std::uint8_t, ImageSize>;

    struct Result
    {
        PresetFile::Status status = PresetFile::Status::Ok;
        QString error; // why, when not Ok
        bool ok() const { return status == PresetFile::Status::Ok; }
    };

    static bool isGroupPath(const QString &path);

    // Reads path; on any failure the document stays as it was. preset is 1..20 (.gdat only).
    Result open(const QString &path, int preset = 1);
    void close();
    // Writes all records to path (the current file when empty); the file appears whole or not at
    // all. On success the document belongs to path and is unmodified.
    bool save(const QString &path, QString *error);

    bool isOpen() const { return !m_path.isEmpty(); }
    bool isGroup() const { return m_group; }
    QString path() const { return m_path; }
    int preset() const { return m_preset; }
    int presetCount() const { return int(m_records.size()); }
    bool isModified() const { return m_records != m_saved; }
    // The file on disk is no longer the one read or written here (another program wrote it).
    bool changedOnDisk() const;

    Image image() const;
    // The image being edited, as the editors left it.
    void setImage(std::span<const std::uint8_t, ImageSize> image);
    // Edits another preset of a .gdat (1..20); the edits of the one before stay in the document.
    bool selectPreset(int preset);
    QList<QByteArray> records() const { return m_records; }

private:
    void remember(const QString &path);
    QByteArray editedRecord(std::span<const std::uint8_t, ImageSize> image) const;

    QString m_path;
    bool m_group = false;
    int m_preset = 1;
    QList<QByteArray> m_records;
    QList<QByteArray> m_saved;
    QDateTime m_stamp;
    qint64 m_size = -1;
};

} // namespace spk
