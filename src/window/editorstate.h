#pragma once

#include "model/dirtyflags.h"
#include "model/paramimage.h"
#include "model/sysdata.h"
#include "protocol/linkstate.h"
#include "window/edittargeting.h"

#include <QList>
#include <QTimer>

#include <functional>

namespace spk {

// Everything the main window's parts share: the parameter image and its companions, the link
// flags, the edit target that the editors, the graph and the mouse wheel act on, and the timers.
// One instance, owned by the main window; every part works on it by reference.
class EditorState
{
public:
    EditorState();
    EditorState(const EditorState &) = delete;
    EditorState &operator=(const EditorState &) = delete;

    spk::ParamImage ParamImage;
    spk::SysData SysData;
    spk::PresetNames PresetNames;
    spk::DirtyFlags DirtyFlags;
    spk::LinkState Link;

    bool Loading = false;
    // Set while UpdataToComponent fills the controls: the handlers its changes trigger only
    // display, they neither rewrite image bytes nor arm the wheel.
    bool Refreshing = false;
    bool ExportAfterRead = false;

    // What the arrow keys, spin buttons and the wheel act on (EditTarget, EditTargetName, LastEdited,
    // the wheel's arming and limits).
    EditTargeting Target;
    bool SpinUp = false;
    bool SpinDown = false;
    // The channel the crossover/EQ editors and the graph show and edit (0 = ip0 .. 3 = op2);
    // written only by the channel selection (editors/channelview.h).
    int GraphChannel = 0;
    bool GraphDragging = false;

    bool MuteClickBusy = false;
    int SavedSystemLevel = 0;
    int ProgressValue = 0;
    // The preset a bulk transfer is at, 0..21.
    int BulkIndex = 0;

    QTimer tmr_prgrsbr;
    QTimer tmr_pulseframe;
    QTimer tmr_reflashcomport;
    QTimer tmr_disconnect;
    QTimer tmr_apply20grp;
    QTimer tmr_send20grp;
    QTimer tmr_boot;
    QTimer tmr_close_seach;
    QTimer tmr_hidreconnect;
    QTimer tmr_reseteq_in;
    QList<QTimer *> timers();

    // LastEdited := record and, unless Loading, its dirty flag.
    void markRecord(int record);
    // The dirty flag alone, unless Loading.
    void setDirty(int record);
    // Told of every edit of the image (both calls above), Loading or not: the offline file
    // follows the editors through it.
    std::function<void()> edited;
    // Called by setDirty for every record an edit marks (Loading or not, never while Refreshing):
    // the undo history compares the record with what it last saw.
    std::function<void(int record)> recordEdited;

    // The code at a byte of the image; wide codes are 16 bits, low byte first.
    int codeAt(int byteIndex, bool wide) const;
    void setCodeAt(int byteIndex, int code, bool wide);

    // The image defaults and the flags that go with a fresh image.
    void Init_value();
};

inline int recordByte(int record, int offset = 0)
{
    return record * RecordSize + offset;
}

} // namespace spk
