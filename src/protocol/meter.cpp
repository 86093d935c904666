#include "protocol/meter.h"

#include "model/tables.h"
#include "protocol/commands.h"

#include <algorithm>

namespace spk {

const std::array<double, 31> TempTable = {1123, 1184, 1260, 1336, 1412, 1503, 1594, 1685, 1792, 1883, 2004,
                                          2110, 2232, 2353, 2490, 2627, 2779, 2915, 3037, 3219, 3386, 3538,
                                          3705, 3872, 4054, 4221, 4404, 4556, 4753, 4859, 5118};

int temperatureIndex(int reading)
{
    return NearestIndex(TempTable, std::min(reading, MaxTempReading));
}

QString temperatureText(int index)
{
    if (index <= 0) return QStringLiteral(">=70'C");
    if (index >= int(TempTable.size()) - 1) return QStringLiteral("<=10'C");
    return QString::number(70 - 2 * index) + QStringLiteral("'C");
}

std::optional<MeterView> decodeMeter(LinkState &state, std::span<const std::uint8_t> data)
{
    state.MeterSeen = true;
    if (data.size() < std::size_t(MeterReplyLength)) return std::nullopt;
    MeterView v;
    v.reading = std::min(data[2] * 256 + data[3], MaxTempReading);
    v.tempIndex = temperatureIndex(v.reading);
    v.temperatureText = temperatureText(v.tempIndex);
    v.attenuationText = QString::number(data[4]) + QStringLiteral(" dB");
    v.temperLed = data[4] != 0;
    v.temperatureColor = v.temperLed ? TemperatureWarnColor : TemperatureTextColor;
    v.edt1 = QString::number(data[5]);
    v.edt2 = QString::number(data[6]);
    v.edt3 = QString::number(data[7]);
    v.limiterLed = data[5] != 0;
    v.statusText = QStringLiteral("Temperature: ") + v.temperatureText +
                   QStringLiteral("   Attenuation dB: ") + v.attenuationText;
    return v;
}

} // namespace spk
