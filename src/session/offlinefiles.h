#pragma once

#include "presets/presetdocument.h"
#include "session/devicesession.h"

#include <QObject>

#include <optional>

class QAction;
class QMenu;

namespace spk {

class PresetActivity;
class PresetFiles;

// A preset file edited with no device: "Open preset file...", "Save preset file", "Save preset
// file as..." and "Preset in file" (the twenty of a .gdat) in the File menu, the file named in
// the window title with a modified mark, the Save / Discard / Cancel question before unsaved edits
// would go, and the choice on connecting: take the device's settings, or send the open preset.
// None of it works while a link is open; then the window shows the device, as always.
class OfflineFiles : public QObject
{
    Q_OBJECT
public:
    OfflineFiles(const SessionParts &parts, DeviceSession &session, PresetActivity &activity,
                 PresetFiles &files, QObject *parent = nullptr);
    // The menu items, the edit and connect hooks, the link's signals.
    void attach();

    // Opens path (the command line, a dropped file) after asking about unsaved edits; false when
    // nothing was opened (a message, or a question cancelled).
    bool openPath(const QString &path, int preset = 1);
    void Openpresetfile1Click();
    bool Savepresetfile1Click();
    bool Savepresetfileas1Click();
    void choosePreset(int preset);
    // Before the window closes or another file opens: true when no unsaved edit is lost silently.
    bool mayClose();

    const PresetDocument &document() const { return m_doc; }
    bool offline() const;

private:
    enum class OnConnect { Ask, Take, Send };

    bool load(const QString &path, int preset);
    bool saveTo(const QString &path);
    bool mayConnect();
    void linkOpened();
    void sendPending();
    void edited();
    void sync();
    void showDocument();
    void showTitle();
    void updateItems();
    QAction *action(const QString &name) const;

    SessionParts m_parts;
    EditorState &m_state;
    DeviceSession &m_session;
    PresetActivity &m_activity;
    PresetFiles &m_files;
    PresetDocument m_doc;
    QString m_baseTitle;
    QMenu *m_presetMenu = nullptr;
    OnConnect m_onConnect = OnConnect::Ask;
    std::optional<PresetDocument::Image> m_pendingSend;
};

} // namespace spk
