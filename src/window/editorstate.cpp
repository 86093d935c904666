#include "window/editorstate.h"

#include "model/timing.h"

namespace spk {

EditorState::EditorState()
{
    const auto list = timers();
    for (QTimer *t : list) {
        t->setInterval(scaled(nominalInterval(t->objectName().toStdString())));
    }
}

QList<QTimer *> EditorState::timers()
{
    const QList<QPair<QTimer *, const char *>> named = {
        {&tmr_prgrsbr, "tmr_prgrsbr"},
        {&tmr_pulseframe, "tmr_pulseframe"},
        {&tmr_reflashcomport, "tmr_reflashcomport"},
        {&tmr_disconnect, "tmr_disconnect"},
        {&tmr_apply20grp, "tmr_apply20grp"},
        {&tmr_send20grp, "tmr_send20grp"},
        {&tmr_boot, "tmr_boot"},
        {&tmr_close_seach, "tmr_close_seach"},
        {&tmr_hidreconnect, "tmr_hidreconnect"},
        {&tmr_reseteq_in, "tmr_reseteq_in"},
    };
    QList<QTimer *> list;
    for (const auto &[timer, name] : named) {
        if (timer->objectName().isEmpty()) timer->setObjectName(QString::fromLatin1(name));
        list.append(timer);
    }
    return list;
}

void EditorState::markRecord(int record)
{
    Target.edited(record);
    setDirty(record);
}

void EditorState::setDirty(int record)
{
    if (!Loading) DirtyFlags.set(record);
    if (edited) edited();
    if (recordEdited && !Refreshing) recordEdited(record);
}

int EditorState::codeAt(int byteIndex, bool wide) const
{
    if (byteIndex < 0 || byteIndex >= ImageSize) return 0;
    int code = ParamImage[byteIndex];
    if (wide && byteIndex + 1 < ImageSize) code |= ParamImage[byteIndex + 1] << 8;
    return code;
}

void EditorState::setCodeAt(int byteIndex, int code, bool wide)
{
    if (byteIndex < 0 || byteIndex >= ImageSize) return;
    ParamImage[byteIndex] = std::uint8_t(code & 0xFF);
    if (wide && byteIndex + 1 < ImageSize) ParamImage[byteIndex + 1] = std::uint8_t((code >> 8) & 0xFF);
}

void EditorState::Init_value()
{
    ParamImage.initDefaults();
    ExportAfterRead = false;
}

} // namespace spk
