#include "model/valuetext.h"

#include "model/tables.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace spk {

double levelDb(int levelCode) { return levelCode / 5.0 - 60.0; }
double delayMs(int delayCode) { return delayCode * 0.0104; }
double delayMetres(int delayCode) { return delayMs(delayCode) / 2.9034; }
double delayFeet(int delayCode) { return delayMetres(delayCode) * 3.281; }
double freqHz(int freqCode) { return FreqTable[clampFreqCode(freqCode)]; }
double eqGainDb(int gainCode) { return GainTable[clampGainCode(gainCode)]; }
double qValue(int qCode) { return QTable[clampQCode(qCode)]; }

QString fixedText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    // A value that rounds to zero from below prints as "-0.0"; the display never shows that.
    if (text.startsWith(u'-')
        && std::all_of(text.begin() + 1, text.end(), [](QChar c) { return c == u'0' || c == u'.'; }))
        text.remove(0, 1);
    return text;
}

QString shortestText(double value)
{
    return QString::number(value == 0 ? 0.0 : value, 'g', QLocale::FloatingPointShortest); // no "-0"
}

QString levelText(int levelCode, bool systemLevel)
{
    if (systemLevel && levelCode == 0)
        return QStringLiteral("mute");
    return fixedText(levelDb(clampLevelCode(levelCode)), 1) + QStringLiteral("dB");
}

QString delayMsText(int delayCode) { return fixedText(delayMs(clampDelayCode(delayCode)), 3) + QStringLiteral("ms"); }
QString delayMetresText(int delayCode)
{
    return fixedText(delayMetres(clampDelayCode(delayCode)), 3) + QStringLiteral("m");
}
QString delayFeetText(int delayCode)
{
    return fixedText(delayFeet(clampDelayCode(delayCode)), 3) + QStringLiteral("ft");
}
QString freqText(int freqCode) { return fixedText(freqHz(freqCode), 1) + QStringLiteral("Hz"); }
QString freqShortText(int freqCode) { return shortestText(freqHz(freqCode)) + QStringLiteral("Hz"); }
QString gainText(int gainCode) { return fixedText(eqGainDb(gainCode), 1) + QStringLiteral("dB"); }
QString qText(int qCode) { return shortestText(qValue(qCode)); }
QString polarityText(int polarityByte) { return polarityByte ? QStringLiteral("Pol(-)") : QStringLiteral("Pol(+)"); }

bool parseNumber(const QString &text, double *value)
{
    static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

int levelCodeFromDb(double db)
{
    db = std::clamp(db, -60.0, 0.0);
    return std::min(MaxLevelCode, int((db + 60.0) * 5.0 + 1e-9));
}

int delayCodeFromMs(double ms)
{
    ms = std::clamp(ms, 0.0, 14.976 + 1.0); // limited first so no typed length can overflow
    return std::min(MaxDelayCode, int(ms / 0.0104));
}

} // namespace spk
