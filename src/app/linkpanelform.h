#pragma once

#include <QRect>

class QMenuBar;
class QWidget;

namespace spk {

// The controls of the link and the device around it:
// - the connection bar (pnl_connection), a child of the window laid over a place kept in the menu
//   bar's right corner: cbb_comport with the hidden cbb_comport2, cbb_deviceid ("1".."250"),
//   btn_connect and the indicator img_connectstate;
// - pnl_presets where the banner was: cbb_load2dev with btn_load2dev, lbl_lastgroup, cbb_save2dev and
//   edt_save2dev with btn_save2dev;
// - pnl_meter beside it: lbl_temperature, lbl_attenuation, the lamps ildrnd_temper and LedR_lim and
//   the hidden status fields edt1..edt3; the limiter lamp ildrnd_out0 sits on the satellite output
//   (rzgrpbx5), whose limiter it is.
class LinkPanelForm
{
public:
    // Where the banner leaves room, in the central widget's coordinates.
    static constexpr QRect PresetsArea{208, 598, 346, 98};
    static constexpr QRect MeterArea{560, 600, 183, 58};
    // The places in pnl_presets of the "Load" and "Save" buttons of the presets.
    static constexpr QRect LoadButtonPlace{262, 1, 78, 26};
    static constexpr QRect SaveButtonPlace{262, 65, 78, 26};

    static QWidget *buildConnectionBar(QMenuBar *menu);
    static void buildDevicePanels(QWidget *central);

private:
    static void buildPresets(QWidget *central);
    static void buildMeter(QWidget *central);
};

} // namespace spk
