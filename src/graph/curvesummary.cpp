#include "graph/curvesummary.h"

#include "model/layout.h"
#include "model/paramimage.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QStringList>

namespace spk {

namespace {
QString typeOr(const QString &name, int code)
{
    return name.isEmpty() ? QStringLiteral("type %1").arg(code) : name;
}
} // namespace

QString curveSummary(const ParamImage &image, int channel)
{
    QStringList lines;
    const int x = crossoverRecord(channel);
    for (const auto &[caption, freq, type] :
         {std::tuple{"High-pass", CrossoverByte::HpfFreq, CrossoverByte::HpfType},
          std::tuple{"Low-pass", CrossoverByte::LpfFreq, CrossoverByte::LpfType}}) {
        const int code = image.byte(x, type);
        lines << QStringLiteral("%1: %2, %3")
                     .arg(QLatin1String(caption), typeOr(crossoverTypeName(code), code),
                          freqText(image.byte(x, freq)));
    }
    for (int b = 0; b < BandCount; ++b) {
        const int r = bandRecord(channel, b);
        const int type = image.byte(r, BandByte::Type);
        QStringList parts{typeOr(type <= MaxEqType ? eqTypeName(type) : QStringLiteral("all-pass"), type),
                          freqText(image.byte(r, BandByte::Freq))};
        // As the editors enable them: shelves have no Q, the all-pass types no gain.
        if (type <= MaxEqType) parts << gainText(image.word(r, BandByte::Gain));
        if (type == 0 || type > MaxEqType) parts << QStringLiteral("Q ") + qText(image.word(r, BandByte::Q));
        if (image.byte(r, BandByte::Bypass)) parts << QStringLiteral("bypassed");
        lines << QStringLiteral("EQ %1: ").arg(b + 1) + parts.join(QStringLiteral(", "));
    }
    return lines.join(u'\n');
}

} // namespace spk
