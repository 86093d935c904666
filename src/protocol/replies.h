#pragma once

// Decoding of the connect-sequence replies, for the window's Ack_* handlers. Each takes the reply's
// data bytes (ReplyFrame::bytes()); a reply shorter than its layout is rejected and changes nothing.
//
//   versionMatches(data)                     Ack_Rcv_version_proc: exact 24-character version text
//   decodeNames(data, names)                 Ack_R_20_Username_proc: PresetNames 1..20, the 8 items
//                                            of cbb_load2dev
//   decodeSysData(data, sysData, names)      Ack_R_AllSysData_proc: SysData and what the window shows
//   decodeImage(data, image)                 Ack_RW_One_Group_proc / Ack_Rw_20_Group_proc: 640 bytes
//   load2devItemText(item, names)            "Pre0:" + display name of preset item + 1
//   lastGroupText(item)                      "Last loaded Preset: " + default name of the item

#include "model/paramimage.h"
#include "model/sysdata.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

namespace spk {

inline constexpr char VersionText[] = "QUENDAL29 V2.1.0        "; // 24 characters
inline constexpr int Load2devItemCount = 8;

bool versionMatches(std::span<const std::uint8_t> data);

QString load2devItemText(int item, const PresetNames &names);
QString lastGroupText(int item);

// The 8 item texts of cbb_load2dev; nullopt (names unchanged) for a short reply.
std::optional<QStringList> decodeNames(std::span<const std::uint8_t> data, PresetNames &names);

struct SysDataView
{
    int load2devIndex = 0; // item to select in cbb_load2dev; -1 for presets 9..20, which have none
    int save2devIndex = 0; // item to select in cbb_save2dev
    QString lastGroupText; // lbl_lastgroup
    QString save2devText;  // edt_save2dev
};
// nullopt (SysData unchanged) for a short reply.
std::optional<SysDataView> decodeSysData(std::span<const std::uint8_t> data, SysData &sysData,
                                         const PresetNames &names);

// False (image unchanged) for a short reply.
bool decodeImage(std::span<const std::uint8_t> data, ParamImage &image);

} // namespace spk
