#include "imagetext.h"

#include "filters/channelresponse.h"
#include "model/paramimage.h"
#include "model/tables.h"
#include "model/valuetext.h"

namespace spk {

namespace {

const char *const ChannelTitles[ChannelCount] = {"ip0 (system input)", "op0 (satellite output)",
                                                 "op1 (output without controls)", "op2 (subwoofer output)"};

QString field(const char *name, const QString &value)
{
    return QStringLiteral("  %1 %2").arg(QString::fromLatin1(name), -11).arg(value);
}

// Codes outside a table are shown as the table entry they are used as, with the stored code.
QString outOfRange(const QString &shown, int code, bool outside)
{
    return outside ? QStringLiteral("%1 (code %2)").arg(shown).arg(code) : shown;
}

QString filterText(int freqCode, int typeCode)
{
    return outOfRange(freqText(freqCode), freqCode, freqCode > MaxFreqCode) + u' ' +
           outOfRange(crossoverTypeName(std::min(typeCode, MaxCrossoverType)), typeCode,
                      typeCode > MaxCrossoverType);
}

QString bandText(const ParamImage &image, int record)
{
    const int freq = image.byte(record, BandByte::Freq);
    const int type = image.byte(record, BandByte::Type);
    const int gain = image.word(record, BandByte::Gain);
    const int q = image.word(record, BandByte::Q);
    const int bypass = image.word(record, BandByte::Bypass);
    const QString typeText =
        type <= MaxEqType ? eqTypeName(type) : QStringLiteral("all-pass (code %1)").arg(type);
    // The window ticks bypass for any nonzero byte; the response is bypassed only by the value 1.
    QString bypassText =
        image.byte(record, BandByte::Bypass) ? QStringLiteral("bypassed") : QStringLiteral("active");
    if (bypass > 1) bypassText += QStringLiteral(" (value %1, drawn active)").arg(bypass);
    return QStringLiteral("%1 %2 %3 Q %4 %5")
        .arg(outOfRange(freqText(freq), freq, freq > MaxFreqCode), typeText,
             outOfRange(gainText(gain), gain, gain > MaxGainCode), outOfRange(qText(q), q, q > MaxQCode),
             bypassText);
}

} // namespace

QStringList describeImage(const ParamImage &image)
{
    QStringList lines;
    for (int c = 0; c < ChannelCount; ++c) {
        lines << QString::fromLatin1(ChannelTitles[c]);
        const int level = levelRecord(c);
        const int levelCode = image.word(level, LevelByte::Level);
        const int delayCode = image.word(level, LevelByte::Delay);
        lines << field("level",
                       outOfRange(levelText(levelCode, c == Ip0), levelCode, levelCode > MaxLevelCode));
        if (c != Ip0) // the input mutes through its level
            lines << field("mute",
                           image.byte(level, LevelByte::Mute) ? QStringLiteral("on") : QStringLiteral("off"));
        lines << field("polarity", polarityText(image.byte(level, LevelByte::Polarity)));
        lines << field("delay", outOfRange(delayMsText(delayCode) + u' ' + delayMetresText(delayCode) + u' ' +
                                               delayFeetText(delayCode),
                                           delayCode, delayCode > MaxDelayCode));
        const int xo = crossoverRecord(c);
        lines << field("high-pass", filterText(image.byte(xo, CrossoverByte::HpfFreq),
                                               image.byte(xo, CrossoverByte::HpfType)));
        lines << field("low-pass", filterText(image.byte(xo, CrossoverByte::LpfFreq),
                                              image.byte(xo, CrossoverByte::LpfType)));
        for (int b = 0; b < BandCount; ++b) {
            const QByteArray name = "band " + QByteArray::number(b + 1);
            lines << field(name.constData(), bandText(image, bandRecord(c, b)));
        }
    }
    return lines;
}

QStringList responseCsv(const ChannelResponse &response)
{
    return curveCsv(&response.total(), response.grid());
}

QStringList curveCsv(const Curve *curve, const FrequencyGrid &grid)
{
    QStringList lines{QStringLiteral("column,frequency_hz,magnitude_db,phase_rad")};
    for (int i = 0; curve && i < grid.count(); ++i) {
        lines << QStringLiteral("%1,%2,%3,%4")
                     .arg(FrequencyGrid::column(i))
                     .arg(fixedText(double(grid.hz(i)), 6), fixedText(curve->magnitude[i], 6),
                          fixedText(curve->phase[i], 6));
    }
    return lines;
}

} // namespace spk
