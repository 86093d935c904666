#pragma once

// LinkState: the link and addressing flags shared by the frame builders, the send queue and the
// receive path. The main window owns one and hands it to them by reference.

namespace spk {

struct LinkState
{
    bool Connected = false;  // a link (serial or HID) is open; nothing is built or sent without it
    bool UsbMode = false;    // frames go out as HID reports
    bool Broadcast = false;  // frames carry ID byte 0xFF, except meter polls and TargetOnce frames
    bool TargetOnce = false; // the next frame goes to the picked ID even in broadcast mode
    int DevIdByte = 0;       // device ID - 1 (0..249), or 255 in broadcast mode
    int PickedIdIndex = 0;   // item index of cbb_deviceid: the picked device ID - 1
    bool VersionOk = false;  // the device's version text matched
    int SilenceCount = 0;    // watchdog ticks since the last complete reply
    bool MeterSeen = false;  // a meter reply arrived since it was last cleared
};

} // namespace spk
