#pragma once

#include "session/devicesession.h"

#include <QObject>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace spk {

class PresetActivity;

// The presets stored in the device: recalling one of presets 1..8 ("Load") and storing the working
// parameters as the user preset 8 under a typed name ("Save", or Enter in the name box).
class DevicePresets : public QObject
{
    Q_OBJECT
public:
    static constexpr int RecallWaitMs = 200;
    static constexpr int UserPreset = 8;    // the preset "Usr7:" stands for
    static constexpr int MaxTypedName = 19; // a name read from the device may have 20 characters

    DevicePresets(const SessionParts &parts, PresetActivity &activity, QObject *parent = nullptr);
    void attach();

    void btn_load2devClick();
    void btn_save2devClick();
    // True when the key may reach the name box: backspace, Enter and 32..126 while there is room;
    // keys that only move, delete or change the focus.
    bool edt_save2devKeyPress(const QKeyEvent &key) const;
    void cbb_save2devChange();
    void Edt_selectall();

    // Blanks and control characters off both ends.
    static QString trimName(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepTypedName(const QString &text);

    SessionParts m_parts;
    EditorState &m_state;
    PresetActivity &m_activity;
    QComboBox *m_load = nullptr;
    QComboBox *m_saveList = nullptr;
    QLineEdit *m_name = nullptr;
    QLabel *m_last = nullptr;
};

} // namespace spk
