#pragma once

#include "presets/presetfile.h"
#include "session/devicesession.h"

#include <QObject>

#include <optional>

namespace spk {

class BulkTransfer;
class PresetActivity;

// The preset files on the PC, each command a button and a File-menu item: save the working preset
// (.sdat) from the device's reply, load one into the device's working parameters, save all twenty
// stored presets (.gdat), load all twenty into the device. Every command asks first; a damaged
// file reaches nothing of the device.
class PresetFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int SaveSettleMs = 50;
    static constexpr int LoadWaitMs = 9700; // the device stores the image meanwhile

    PresetFiles(const SessionParts &parts, DeviceSession &session, PresetActivity &activity,
                BulkTransfer &bulk, QObject *parent = nullptr);
    // The buttons, the menu items, the save after the image read, the save after reading all.
    void attach();

    void btn_save_onegrp2pcClick();
    void btn_load_onegrp2pcClick();
    void btn_save_20grp2pcClick();
    void btn_load_20grp2pcClick();
    // The load of one preset after its question and file: the image is written as the working
    // preset, and read back into the controls once the device has stored it.
    void loadImage(std::span<const std::uint8_t, ImageSize> image);

private:
    // Asked only while a command may start, and true only if one still may after Yes.
    bool confirmed(const QString &question);
    void saveOneAfterRead(const ReplyFrame &reply);
    void saveAll(const QList<QByteArray> &records, const QList<int> &missing);
    // The records of the file the user picks; nullopt after Cancel, for an empty file and after a message.
    std::optional<QList<QByteArray>> open(const QString &filter, const QString &suffix,
                                          PresetFile::Content (*read)(const QString &));
    void written(bool ok, const QString &path, const QString &error);

    SessionParts m_parts;
    EditorState &m_state;
    DeviceSession &m_session;
    PresetActivity &m_activity;
    BulkTransfer &m_bulk;
};

} // namespace spk
