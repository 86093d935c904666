#pragma once

class QWidget;

namespace spk {

// The USB device controller's hidden controls: DevListBox (present HID devices), HistoryListBox
// (the USB log) and lbl_usbhid (arrival and removal). Never shown, so out of the accessibility
// tree; their accessible names serve the tests and a debugger.
class UsbForm
{
public:
    static void build(QWidget *parent);
};

} // namespace spk
