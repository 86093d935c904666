#pragma once

#include <QString>

class QGroupBox;

namespace spk {

// The level, delay, mute and polarity controls: the system panel (grp2, vertical level track
// bar) and the satellite (rzgrpbx5) and subwoofer (rzgrpbx9) output panels.
class LevelPanelForm
{
public:
    static void buildSystem(QGroupBox *panel);
    // k = 0 satellite, 2 subwoofer; heading "SATTELITE" or "SUBWOOFER", spoken as "Satellite" ...
    static void buildOutput(QGroupBox *panel, int k, const QString &heading, const QString &spoken);
};

} // namespace spk
