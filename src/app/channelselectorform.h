#pragma once

#include <QRect>
#include <QString>

class QButtonGroup;
class QGroupBox;

namespace spk {

// The channel selector above the graph, in the title row of the EQ panel (grp1): one radio
// button per channel in pnl_channel ("System", "Satellite", "Subwoofer", "Third output", each with
// an Alt mnemonic; the arrow keys move between them), button ids = channel numbers (layout.h).
// The row right of it (SpareRow) is kept free for more controls of the graph.
class ChannelSelectorForm
{
public:
    static constexpr QRect Row{136, 0, 400, 20};
    static constexpr QRect SpareRow{546, 0, 186, 20};

    // "System" checked.
    static QButtonGroup *build(QGroupBox *panel);
    // The panel's title for a channel ("SYSTEM EQ", "SATELLITE EQ" ...).
    static QString title(int channel);
    // The button and the title of a channel that was selected elsewhere (an undo, a test).
    static void show(QGroupBox *panel, QButtonGroup *buttons, int channel);
};

} // namespace spk
