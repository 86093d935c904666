// Every value edit shows the longest value of its kind whole: no figure scrolled out of sight.
#include "windowfixture.h"

#include "model/tables.h"
#include "model/valuetext.h"

#include <QStyle>
#include <QStyleOptionFrame>

using namespace spk;

namespace {
using TextOf = std::function<QString(int)>;

QString widest(const QFontMetrics &m, int maxCode, const TextOf &text)
{
    QString best;
    for (int code = 0; code <= maxCode; ++code)
        if (const QString t = text(code); m.horizontalAdvance(t) > m.horizontalAdvance(best)) best = t;
    return best;
}

// The width QLineEdit lays its text into: the style's contents rect less the text margins and
// the edit's own 2 px each side.
int textRoom(const QLineEdit *e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.state |= QStyle::State_Sunken;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    return r.width() - e->textMargins().left() - e->textMargins().right() - 2 * 2;
}
} // namespace

class TestValueWidths : public QObject
{
    Q_OBJECT
private slots:
    void longestValueFits_data();
    void longestValueFits();
};

void TestValueWidths::longestValueFits_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<int>("maxCode");
    QTest::addColumn<TextOf>("text");

    QStringList bandFreq, bandGain, bandQ;
    for (int b = 0; b < 10; ++b) {
        const QString suffix = QStringLiteral("_0") + QString::number(b);
        bandFreq << QStringLiteral("edt_ip0eq_freq") + suffix;
        bandGain << QStringLiteral("edt_ip0eq_gain") + suffix;
        bandQ << QStringLiteral("edt_ip0eq_qval") + suffix;
    }
    QTest::newRow("crossover frequency") << QStringList{"edt_ip0hpf_freq", "edt_ip0lpf_freq"} << MaxFreqCode
                                         << TextOf(freqText);
    QTest::newRow("band frequency") << bandFreq << MaxFreqCode << TextOf(freqText);
    QTest::newRow("band gain") << bandGain << MaxGainCode << TextOf(gainText);
    QTest::newRow("band Q") << bandQ << MaxQCode << TextOf(qText);
    QTest::newRow("system level") << QStringList{"edt_ip0_gain"} << MaxLevelCode
                                  << TextOf([](int c) { return levelText(c, true); });
    QTest::newRow("output level") << QStringList{"edt_op0_gain", "edt_op2_gain"} << MaxLevelCode
                                  << TextOf([](int c) { return levelText(c, false); });
    QTest::newRow("delay") << QStringList{"edt_ip0_delay", "edt_op0_delay", "edt_op2_delay"} << MaxDelayCode
                           << TextOf(delayMsText);
}

void TestValueWidths::longestValueFits()
{
    QFETCH(QStringList, edits);
    QFETCH(int, maxCode);
    QFETCH(TextOf, text);
    WindowFixture f(false);
    for (const QString &name : edits) {
        auto *e = f.ctl<QLineEdit>(name);
        QCOMPARE(e->font().family(), QStringLiteral("Arial"));
        const QFontMetrics m(e->font());
        const QString longest = widest(m, maxCode, text);
        // QLineEdit scrolls (and cuts the first figures) unless the text, its cursor and the
        // font's overhanging bearings all fit.
        const int needed = m.horizontalAdvance(longest) + 1 + std::max(0, -m.minLeftBearing())
                           + std::max(0, -m.minRightBearing());
        QVERIFY2(needed <= textRoom(e),
                 qPrintable(QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(name, longest).arg(needed).arg(textRoom(e))));
    }
}

QTEST_MAIN(TestValueWidths)
#include "tst_valuewidths.moc"
