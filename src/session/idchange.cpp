#include "session/idchange.h"

#include "model/dirtyflags.h"
#include "protocol/commands.h"
#include "session/connectioncontroller.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace spk {

IdChange::IdChange(const AddressingParts &parts, QObject *parent) : QObject(parent), m_parts(parts) {}

void IdChange::attach()
{
    m_edit = m_parts.controls.require<QLineEdit>(QStringLiteral("edt22"));
    m_edit->installEventFilter(this);
    connect(m_parts.controls.require<QPushButton>(QStringLiteral("btn46")), &QPushButton::clicked, this,
            &IdChange::btn46Click);
}

int IdChange::currentId() const
{
    const LinkState &link = m_parts.state.Link;
    return (link.DevIdByte == BroadcastIdByte ? link.PickedIdIndex : link.DevIdByte) + 1;
}

void IdChange::btn46Click()
{
    EditorState &s = m_parts.state;
    if (!s.Link.Connected) {
        m_parts.dialogs.information(m_parts.window, QStringLiteral("Disconnect."));
        return;
    }
    const QString text = m_edit->text().trimmed();
    bool number = false;
    const int id = text.toInt(&number);
    if (!number || text.size() > MaxDigits || id < 1 || id > MaxDeviceId) {
        m_edit->setText(QString::number(currentId()));
        m_parts.dialogs.information(m_parts.window, QStringLiteral("Please input 1~250 number."));
        return;
    }
    if (!m_parts.dialogs.question(m_parts.window, QStringLiteral("Want to change device id?"))) return;
    // The question may have outlasted the link.
    if (!s.Link.Connected) return;
    s.SysData.bytes[SysData::DeviceId] = id;
    m_parts.controls.require<QComboBox>(QStringLiteral("cbb_deviceid"))->setCurrentIndex(id - 1);
    s.Link.PickedIdIndex = id - 1;
    s.markRecord(DirtyFlags::SystemRecord);
}

bool IdChange::edt22KeyPress(int key, const QString &text)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        btn46Click();
        return true;
    }
    if (key == Qt::Key_Backspace) return false;
    // Keys that type nothing (arrows, Delete, Tab) keep their editing and focus moves.
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    return !(text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9');
}

bool IdChange::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return edt22KeyPress(key->key(), key->text());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace spk
