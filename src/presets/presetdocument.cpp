#include "presets/presetdocument.h"

#include "protocol/commands.h"

#include <QFileInfo>

#include <algorithm>

namespace spk {

bool PresetDocument::isGroupPath(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("gdat"), Qt::CaseInsensitive) == 0;
}

PresetDocument::Result PresetDocument::open(const QString &path, int preset)
{
    const bool group = isGroupPath(path);
    // A one-preset file has no other preset to choose.
    if (!group) preset = 1;
    if (preset < 1 || preset > PresetFile::PresetCount)
        return {PresetFile::Status::Unreadable, QStringLiteral("no preset %1 in a file").arg(preset)};
    const PresetFile::Content content = group ? PresetFile::readGdat(path) : PresetFile::readSdat(path);
    if (content.status != PresetFile::Status::Ok) return {content.status, content.error};
    m_group = group;
    m_preset = preset;
    m_records = content.records;
    m_saved = content.records;
    remember(path);
    return {};
}

void PresetDocument::close()
{
    *this = PresetDocument();
}

bool PresetDocument::save(const QString &path, QString *error)
{
    const QString target = path.isEmpty() ? m_path : path;
    // The format follows the document, whatever the new name says.
    const bool ok = m_group ? PresetFile::writeGdat(target, m_records, error)
                            : PresetFile::writeSdat(target, m_records.value(0), error);
    if (!ok) return false;
    m_saved = m_records;
    remember(target);
    return true;
}

void PresetDocument::remember(const QString &path)
{
    m_path = path;
    const QFileInfo info(path);
    m_stamp = info.lastModified();
    m_size = info.size();
}

bool PresetDocument::changedOnDisk() const
{
    if (!isOpen()) return false;
    const QFileInfo info(m_path);
    return info.exists() && (info.lastModified() != m_stamp || info.size() != m_size);
}

PresetDocument::Image PresetDocument::image() const
{
    return PresetFile::imageOfRecord(m_records.value(m_preset - 1));
}

void PresetDocument::setImage(std::span<const std::uint8_t, ImageSize> image)
{
    if (!isOpen()) return;
    const int k = m_preset - 1;
    const Image saved = PresetFile::imageOfRecord(m_saved[k]);
    // Back to what the file holds: its own characters again.
    if (std::equal(image.begin(), image.end(), saved.begin()))
        m_records[k] = m_saved[k];
    else if (!std::equal(image.begin(), image.end(), this->image().begin()))
        m_records[k] = editedRecord(image);
}

QByteArray PresetDocument::editedRecord(std::span<const std::uint8_t, ImageSize> image) const
{
    return m_group ? PresetFile::recordText(image, 0, std::uint8_t(m_preset), CMD_Rw_20_Group)
                   : PresetFile::recordText(image, 0, 0, CMD_RW_One_Group);
}

bool PresetDocument::selectPreset(int preset)
{
    if (!m_group || preset < 1 || preset > presetCount()) return false;
    m_preset = preset;
    return true;
}

} // namespace spk
