#include "session/devicepresets.h"

#include "link/transmitter.h"
#include "model/tables.h"
#include "protocol/commands.h"
#include "protocol/framebuilder.h"
#include "protocol/replies.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "session/presetactivity.h"
#include "window/controllookup.h"
#include "window/editorstate.h"
#include "window/progressbox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace spk {

namespace {
bool typable(QChar c)
{
    return c.unicode() >= 32 && c.unicode() <= 126;
}
} // namespace

DevicePresets::DevicePresets(const SessionParts &parts, PresetActivity &activity, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state), m_activity(activity)
{
}

void DevicePresets::attach()
{
    ControlLookup &c = m_parts.controls;
    m_load = c.require<QComboBox>(QStringLiteral("cbb_load2dev"));
    m_saveList = c.require<QComboBox>(QStringLiteral("cbb_save2dev"));
    m_name = c.require<QLineEdit>(QStringLiteral("edt_save2dev"));
    m_last = c.require<QLabel>(QStringLiteral("lbl_lastgroup"));
    connect(c.require<QPushButton>(QStringLiteral("btn_load2dev")), &QPushButton::clicked, this,
            &DevicePresets::btn_load2devClick);
    connect(c.require<QPushButton>(QStringLiteral("btn_save2dev")), &QPushButton::clicked, this,
            &DevicePresets::btn_save2devClick);
    connect(m_name, &QLineEdit::returnPressed, this, &DevicePresets::btn_save2devClick);
    connect(m_name, &QLineEdit::textEdited, this, &DevicePresets::keepTypedName);
    connect(m_saveList, &QComboBox::activated, this, &DevicePresets::cbb_save2devChange);
    m_name->installEventFilter(this);
}

void DevicePresets::btn_load2devClick()
{
    const int item = m_load->currentIndex();
    if (!m_activity.mayStart() || item < 0) return;
    m_activity.begin(PresetActivity::Kind::Recall);
    m_activity.awaitReply();
    m_parts.progress.start();
    m_state.tmr_pulseframe.stop();
    m_state.tmr_disconnect.stop();
    m_state.BulkIndex = 0;
    if (!m_parts.connection.waitOnLink(RecallWaitMs, this)) return;
    // The device recalls the preset into its working parameters and returns them.
    if (!m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, item + 1, CMD_RW_One_Group, 0)))
        qCWarning(lcSession) << "recall of preset" << item + 1 << "not sent: the link took no frame";
    m_state.SysData.bytes[SysData::LastPreset] = std::uint8_t(item + 1);
    m_last->setText(lastGroupText(item));
}

void DevicePresets::btn_save2devClick()
{
    if (!m_activity.mayStart()) return;
    const QString name = trimName(m_name->text());
    m_name->setText(name);
    m_state.SysData.bytes[SysData::LastPreset] = UserPreset;
    m_state.PresetNames.entries[UserPreset] = storedName(name);
    // The send queue writes the name; the device stores its working parameters under it.
    m_state.markRecord(DirtyFlags::PresetName);
    const int item = UserPreset - 1;
    m_load->setItemText(item, QString::fromLatin1(DefaultPresetNames[item]) + u':' + name);
    m_load->setCurrentIndex(item);
    m_last->setText(lastGroupText(item));
}

bool DevicePresets::edt_save2devKeyPress(const QKeyEvent &key) const
{
    const QString text = key.text();
    if (text.isEmpty() || key.key() == Qt::Key_Delete || key.key() == Qt::Key_Tab ||
        key.key() == Qt::Key_Backtab)
        return true;
    if (text.size() != 1) return false;
    const char16_t code = text.at(0).unicode();
    if (code == 8 || code == 13) return true;
    if (!typable(text.at(0))) return false;
    return m_name->text().size() - m_name->selectedText().size() < MaxTypedName;
}

void DevicePresets::keepTypedName(const QString &text)
{
    // A paste or a drop passes no key filter: what it brings is held to the same rule.
    QString kept;
    for (QChar c : text)
        if (typable(c)) kept += c;
    if (kept.size() > MaxTypedName) kept.truncate(MaxTypedName);
    if (kept == text) return;
    const int cursor = qMin(m_name->cursorPosition(), int(kept.size()));
    m_name->setText(kept);
    m_name->setCursorPosition(cursor);
}

void DevicePresets::cbb_save2devChange()
{
    // The list's only item, "Usr7:", stands for the user preset.
    const int preset = UserPreset + qMax(0, m_saveList->currentIndex());
    if (preset > PresetCount) return;
    m_name->setText(displayName(m_state.PresetNames.entries[preset]));
}

void DevicePresets::Edt_selectall()
{
    m_name->selectAll();
}

QString DevicePresets::trimName(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

bool DevicePresets::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_name) return false;
    if (event->type() == QEvent::KeyPress) return !edt_save2devKeyPress(*static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonRelease) Edt_selectall();
    return false;
}

} // namespace spk
