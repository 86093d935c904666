#include "model/sysdata.h"

#include <algorithm>

namespace spk {

void SysData::assign(std::span<const std::uint8_t> data)
{
    bytes.fill(0);
    std::copy_n(data.begin(), std::min<size_t>(data.size(), Size), bytes.begin());
    if (bytes[LastPreset] < 1 || bytes[LastPreset] > 20)
        bytes[LastPreset] = 0;
}

QString displayName(const PresetName &name)
{
    QString text;
    for (std::uint8_t code : name) {
        if (code != 0 && (code < 32 || code > 127))
            return QString();
        text += code == 0 ? QChar(' ') : QChar(code);
    }
    return text;
}

PresetName storedName(const QString &trimmed)
{
    PresetName name;
    name.fill(32);
    for (int i = 0; i < std::min<int>(NameLength, trimmed.size()); ++i)
        name[i] = std::uint8_t(trimmed.at(i).unicode() & 0xFF);
    return name;
}

} // namespace spk
