#pragma once

#include <QString>

class QAbstractButton;
class QLabel;

namespace spk {

// The connect button's two captions. Its caption is the connection state the window acts on: a
// click on "Connect" connects, the status panel is red while it reads "Connect".
QString connectCaption();
QString disconnectCaption();
// True when there is no button yet or it offers to connect.
bool captionSaysConnect(const QAbstractButton *button);

// img_connectstate: the round lamp (green or red) with what it means for screen readers.
void showConnectionIndicator(QLabel *indicator, bool connected);

} // namespace spk
