#pragma once

#include "session/addressingparts.h"

#include <QColor>
#include <QObject>

class QPushButton;

namespace spk {

// btn_broadcase: broadcast addressing on and off, only while no link is open. While on, frames
// carry ID byte 255 (every device takes them, none answers), meter polls go to the picked ID, and
// the controls that need one device's answers (set ID, recall, search, save to PC) are disabled.
class BroadcastMode : public QObject
{
    Q_OBJECT
public:
    static constexpr QColor OffColour{224, 224, 224};
    static constexpr QColor OnColour{0, 128, 0};

    explicit BroadcastMode(const AddressingParts &parts, QObject *parent = nullptr);

    void attach();
    void btn_broadcaseClick();

private:
    void show(bool on);

    AddressingParts m_parts;
    QPushButton *m_button = nullptr;
};

} // namespace spk
