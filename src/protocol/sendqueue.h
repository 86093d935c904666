#pragma once

// SendQueue: what one tick of tmr_pulseframe sends (the window owns the timer and the link).
//
//   SendStep tick()              first dirty flag -> its frame (flag cleared), else a meter poll;
//                                at most one frame per tick; nothing while not Connected
//   SendStep Send_Data_toMCU(i)  the frame of DirtyFlags index i (the flag is left alone)
//   Frame afterNameWrite()       in broadcast mode: the image re-read, addressed once to the picked ID
//
// Index 0..74: record write; 78: preset name write (the window then waits, shows "Save success!!"
// and calls afterNameWrite); 79: system record write, after which DevIdByte follows SysData byte 3;
// 75..77, 80, 81: nothing is sent. In broadcast mode every Send_Data_toMCU resets SilenceCount.

#include "model/dirtyflags.h"
#include "model/paramimage.h"
#include "model/sysdata.h"
#include "protocol/framebuilder.h"
#include "protocol/linkstate.h"

namespace spk {

enum class SendKind {
    Nothing,      // not connected: the tick does nothing
    Record,       // a record write (index 0..74)
    PresetName,   // the name write of SysData byte 0 (index 78)
    SystemRecord, // the system record write (index 79)
    Silent,       // a flag without a frame was cleared; nothing went out
    MeterPoll,    // no flag was set
};

struct SendStep
{
    SendKind kind = SendKind::Nothing;
    int index = -1; // the DirtyFlags index sent, -1 for a meter poll
    Frame frame;    // empty for Nothing and Silent
};

class SendQueue
{
public:
    SendQueue(LinkState &state, DirtyFlags &flags, const ParamImage &image, const SysData &sysData,
              const PresetNames &names);

    SendStep tick();
    SendStep Send_Data_toMCU(int index);
    Frame afterNameWrite();

private:
    LinkState &m_state;
    DirtyFlags &m_flags;
    const ParamImage &m_image;
    const SysData &m_sysData;
    const PresetNames &m_names;
};

} // namespace spk
