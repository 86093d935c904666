#pragma once

#include <QRect>

class QMainWindow;
class QWidget;

namespace spk {

// The controls of the device addressing:
// - in the connection bar, after the ID list: rzgrpbx4 ("Set Device id :", edt22, btn46 "OK") and
//   the broadcast toggle btn_broadcase ("Broadcast" over "Mode");
// - in the SYSTEM group (grp2), below the mute and polarity buttons: btn41 "Search device ID" and
//   btn42 "Search result";
// - the search box rzgrpbx_searchID (bar, "Searching for device ID....", "Cancel") and the result
//   box rzgrpbx_sch_result ("Search result:", mmo_s_result, "Close" and the small close button),
//   both closed; the search places them.
class AddressForm
{
public:
    static constexpr QRect SearchButtonPlace{70, 164, 124, 26}; // in grp2
    static constexpr QRect ResultButtonPlace{70, 196, 124, 26};
    static constexpr QRect SearchBox{224, 288, 300, 96};
    static constexpr QRect ResultBox{6, 411, 440, 186};

    // After the connection bar (pnl_connection) and the central widget are built.
    static void build(QMainWindow *window);

private:
    static void buildBarPart(QWidget *bar);
    static void buildSearchButtons(QWidget *system);
    static void buildSearchBox(QWidget *central);
    static void buildResultBox(QWidget *central);
};

} // namespace spk
