#include "protocol/replies.h"

#include "model/tables.h"
#include "protocol/commands.h"

#include <algorithm>
#include <string_view>

namespace spk {

bool versionMatches(std::span<const std::uint8_t> data)
{
    const std::string_view expected(VersionText);
    if (data.size() < expected.size()) return false;
    return std::equal(expected.begin(), expected.end(), data.begin(),
                      [](char c, std::uint8_t b) { return std::uint8_t(c) == b; });
}

QString load2devItemText(int item, const PresetNames &names)
{
    if (item < 0 || item >= Load2devItemCount) return QString();
    return QString::fromLatin1(DefaultPresetNames[item]) + u':' + displayName(names.entries[item + 1]);
}

QString lastGroupText(int item)
{
    QString text = QStringLiteral("Last loaded Preset: ");
    if (item >= 0 && item < int(DefaultPresetNames.size()))
        text += QString::fromLatin1(DefaultPresetNames[item]);
    return text;
}

std::optional<QStringList> decodeNames(std::span<const std::uint8_t> data, PresetNames &names)
{
    if (data.size() < std::size_t(NamesReplyLength)) return std::nullopt;
    for (int n = 1; n <= PresetCount; ++n)
        std::copy_n(data.begin() + NameLength * (n - 1), NameLength, names.entries[n].begin());
    QStringList items;
    for (int i = 0; i < Load2devItemCount; ++i)
        items << load2devItemText(i, names);
    return items;
}

std::optional<SysDataView> decodeSysData(std::span<const std::uint8_t> data, SysData &sysData,
                                         const PresetNames &names)
{
    if (data.size() < std::size_t(SysDataReplyLength)) return std::nullopt;
    sysData.assign(data.first(SysDataReplyLength));
    const int last = sysData.bytes[SysData::LastPreset]; // 0..20 after assign
    SysDataView view;
    if (last >= 1 && last <= Load2devItemCount)
        view.load2devIndex = last - 1;
    else if (last > Load2devItemCount)
        view.load2devIndex = -1; // the recall list holds presets 1..8 only
    // The label names the preset even when the list has no item for it.
    view.lastGroupText = lastGroupText(last >= 1 ? last - 1 : 0);
    if (last == 8) view.save2devText = displayName(names.entries[last]);
    return view;
}

bool decodeImage(std::span<const std::uint8_t> data, ParamImage &image)
{
    if (data.size() < std::size_t(ImageReplyLength)) return false;
    image.setBytes(data.first(ImageReplyLength));
    return true;
}

} // namespace spk
