#include "graph/graphrenderer.h"
#include "model/paramimage.h"

#include <QPainter>
#include <QtTest>

using namespace spk;

namespace {

const QRgb Back = qRgb(20, 20, 20);
const QRgb Frame = qRgb(128, 128, 128);
const QRgb Grid = qRgb(64, 64, 64);
const QRgb Curve0 = qRgb(46, 121, 255);

QRgb px(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

const int GridRows[] = {33, 49, 66, 82, 99, 115, 132, 148};

} // namespace

class TestGraphRenderer : public QObject
{
    Q_OBJECT

private slots:
    void gridLines();
    void verticalLines();
    void phaseGrid();
    void flatCurve();
    void curveRows();
    void curveBelowGridSitsOnBottomFrame();
    void phaseView();
    void markers();
    void keptRendererMatchesFresh_data();
    void keptRendererMatchesFresh();
    void ratioTwoMatchesRatioOne_data();
    void ratioTwoMatchesRatioOne();
};

void TestGraphRenderer::gridLines()
{
    const GraphRenderer r;
    const QImage &bg = r.MagBackground();
    QCOMPARE(bg.size(), QSize(720, 188));
    for (int y : GridRows) {
        QCOMPARE(px(bg, 42, y), Grid);
        QCOMPARE(px(bg, 300, y), Grid);
        QCOMPARE(px(bg, 713, y), Grid);
        QCOMPARE(px(bg, 714, y), Frame); // the grid line stops short of the frame
    }
    for (QPoint corner : {QPoint(41, 17), QPoint(714, 17), QPoint(714, 164), QPoint(41, 164)})
        QCOMPARE(px(bg, corner.x(), corner.y()), Frame);
    QCOMPARE(px(bg, 300, 40), Back);
    QCOMPARE(px(bg, 300, 16), Back);
    QCOMPARE(px(bg, 715, 100), Back);
}

void TestGraphRenderer::verticalLines()
{
    const GraphRenderer r;
    QList<int> columns;
    for (int x = 42; x <= 713; ++x) {
        if (px(r.MagBackground(), x, 40) == Grid) columns << x;
    }
    QCOMPARE(columns.size(), 28); // 20 Hz .. 10 kHz and the 20 kHz line
    for (int x : {101, 236, 429, 622, 681})
        QVERIFY2(columns.contains(x), qPrintable(QString::number(x)));
    QVERIFY(!columns.contains(682));
    QCOMPARE(px(r.MagBackground(), 101, 18), Grid);
    QCOMPARE(px(r.MagBackground(), 101, 163), Grid);
    QCOMPARE(px(r.MagBackground(), 101, 17), Frame);
}

void TestGraphRenderer::phaseGrid()
{
    const GraphRenderer r;
    const QImage &bg = r.PhaseBackground();
    const QRgb white = qRgb(255, 255, 255);
    for (QPoint p :
         {QPoint(0, 0), QPoint(719, 0), QPoint(0, 187), QPoint(719, 186), QPoint(100, 186), QPoint(100, 0)})
        QCOMPARE(px(bg, p.x(), p.y()), white);
    QCOMPARE(px(bg, 300, 66), Grid);
    QCOMPARE(px(bg, 429, 40), Grid);
    // Same grid, other labels.
    QVERIFY(bg.copy(0, 5, 40, 160) != r.MagBackground().copy(0, 5, 40, 160));
    QCOMPARE(bg.copy(42, 18, 672, 146), r.MagBackground().copy(42, 18, 672, 146));
}

void TestGraphRenderer::flatCurve()
{
    GraphRenderer r;
    ChannelResponse response;
    ParamImage image;
    image.initDefaults();
    response.computeAll(image);
    r.DrawHLpfEQCurve(response);
    const QImage &out = r.image();
    for (int x = 42; x <= 713; ++x)
        QCOMPARE(px(out, x, 66), Curve0);
    QCOMPARE(px(out, 41, 66), Frame);
    QCOMPARE(px(out, 714, 66), Frame);
    QCOMPARE(px(out, 500, 65), Back);
    QCOMPARE(px(out, 500, 67), Back);
}

void TestGraphRenderer::curveRows()
{
    const GraphRenderer r;
    QCOMPARE(r.curveRow(15), 16);
    QCOMPARE(r.curveRow(0), 66);
    QCOMPARE(r.curveRow(12), 26);
    QCOMPARE(r.curveRow(-30), 164);
    QCOMPARE(r.curveRow(-300), 164);
    QCOMPARE(r.curveRow(30), -34);  // above the image: left to clipping
    QVERIFY(r.curveRow(1e300) < 0); // no overflow
    QCOMPARE(r.curveRow(std::nan("")), 164);
}

void TestGraphRenderer::curveBelowGridSitsOnBottomFrame()
{
    GraphRenderer r;
    ChannelResponse response;
    response.setHpf(243, 11); // far below -30 dB over most of the graph
    r.DrawHLpfEQCurve(response);
    // The curve lies on row 164, and the frame is drawn again over it.
    for (int x = 42; x <= 600; ++x)
        QCOMPARE(px(r.image(), x, 164), Frame);
    QCOMPARE(px(r.image(), 713, 164), Frame);
    QCOMPARE(px(r.image(), 300, 163), Back);
}

void TestGraphRenderer::phaseView()
{
    GraphRenderer r;
    r.setPhaseView(true);
    ChannelResponse response;
    r.DrawHLpfEQCurve(response);
    QCOMPARE(px(r.image(), 0, 0), qRgb(255, 255, 255));
    QCOMPARE(px(r.image(), 500, 66), Curve0);

    // A half turn lands on the +15 dB row.
    QImage canvas = r.PhaseBackground();
    QPainter p(&canvas);
    const std::vector<double> halfTurn(672, std::numbers::pi);
    r.drawCurve(p, halfTurn, 0);
    p.end();
    QCOMPARE(px(canvas, 500, 16), Curve0);
}

void TestGraphRenderer::markers()
{
    GraphRenderer r;
    for (int b = 0; b < BandCount; ++b) {
        const QImage &m = r.EqPointImages()[b];
        QCOMPARE(m.size(), QSize(20, 20));
        QCOMPARE(qAlpha(m.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(m.pixel(19, 19)), 0);
        QCOMPARE(qAlpha(m.pixel(3, 10)), 255);
        for (int other = 0; other < b; ++other)
            QVERIFY(m.pixel(3, 10) != r.EqPointImages()[other].pixel(3, 10));
    }

    ParamImage image;
    image.initDefaults();
    image.setByte(bandRecord(Ip0, 2), BandByte::Freq, 136);
    image.setWord(bandRecord(Ip0, 2), BandByte::Gain, 180); // (430, 26)
    image.setWord(bandRecord(Ip0, 2), BandByte::Q, 0);      // broad, so the curve passes far above
    image.setByte(bandRecord(Ip0, 7), BandByte::Freq, 136);
    image.setWord(bandRecord(Ip0, 7), BandByte::Gain, 180); // same place, drawn later
    image.setWord(bandRecord(Ip0, 7), BandByte::Q, 0);
    image.setByte(bandRecord(Ip0, 4), BandByte::Freq, 160);
    image.setWord(bandRecord(Ip0, 4), BandByte::Gain, 100); // (488, 79)
    ChannelResponse response;
    response.computeAll(image);
    QCOMPARE(response.point(4), (EqPoint{488, 79}));
    r.DrawHLpfEQCurve(response);

    const QImage &out = r.image();
    QCOMPARE(out.pixel(430 - 7, 26), r.EqPointImages()[7].pixel(3, 10));
    QCOMPARE(out.pixel(488 - 7, 79), r.EqPointImages()[4].pixel(3, 10));
    QCOMPARE(px(out, 488 - 10, 79 - 10), Back); // transparent corner
}

void TestGraphRenderer::keptRendererMatchesFresh_data()
{
    QTest::addColumn<bool>("overlay");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("curve alone") << false << 1.0;
    QTest::newRow("with the predicted outputs") << true << 1.0;
    QTest::newRow("curve alone, ratio 2") << false << 2.0;
    QTest::newRow("with the predicted outputs, ratio 1.5") << true << 1.5;
}

// A redraw restores only what the previous one painted; after any sequence of changes the picture
// must equal what a renderer drawing it for the first time produces.
void TestGraphRenderer::keptRendererMatchesFresh()
{
    QFETCH(bool, overlay);
    QFETCH(qreal, ratio);
    ParamImage image;
    image.initDefaults();
    image.setWord(levelRecord(Op0), LevelByte::Level, 300);
    image.setWord(levelRecord(Op2), LevelByte::Level, 270);
    image.setByte(crossoverRecord(Op2), CrossoverByte::LpfFreq, 60);
    std::array<ChannelResponse, ChannelCount> all{ChannelResponse(Ip0), ChannelResponse(Op0),
                                                  ChannelResponse(Op1), ChannelResponse(Op2)};
    ChannelResponse &response = all[Ip0];
    OutputPrediction prediction;
    const auto predicted = [&]() -> const OutputPrediction * {
        for (ChannelResponse &c : all)
            c.computeAll(image);
        prediction.update(image, all);
        return overlay ? &prediction : nullptr;
    };
    GraphRenderer kept;
    kept.setDevicePixelRatio(ratio);
    kept.DrawHLpfEQCurve(response, predicted());

    struct Step
    {
        int record, offset, value;
        bool word, phase;
    };
    const Step steps[] = {
        {bandRecord(Ip0, 3), BandByte::Gain, 180, true, false},  // a peak far above the rest
        {bandRecord(Ip0, 3), BandByte::Freq, 200, false, false}, // and moved right
        {bandRecord(Ip0, 3), BandByte::Gain, 0, true, false},    // down to the bottom frame
        {crossoverRecord(Ip0), CrossoverByte::HpfFreq, 243, false, false},
        {crossoverRecord(Ip0), CrossoverByte::HpfType, 11, false, true}, // phase view
        {bandRecord(Ip0, 9), BandByte::Type, 5, false, true},
        {crossoverRecord(Ip0), CrossoverByte::HpfFreq, 0, false, false}, // back to magnitude
        {bandRecord(Ip0, 0), BandByte::Freq, 243, false, false},
        {bandRecord(Ip0, 3), BandByte::Gain, 120, true, false},
        {levelRecord(Op2), LevelByte::Mute, 1, false, true}, // one output and its legend gone
        {levelRecord(Op2), LevelByte::Delay, 900, true, false},
        {levelRecord(Op2), LevelByte::Mute, 0, false, true},
    };
    for (const Step &step : steps) {
        if (step.word)
            image.setWord(step.record, step.offset, step.value);
        else
            image.setByte(step.record, step.offset, step.value);
        const OutputPrediction *outputs = predicted();
        kept.setPhaseView(step.phase);
        kept.DrawHLpfEQCurve(response, outputs);

        GraphRenderer fresh;
        fresh.setDevicePixelRatio(ratio);
        fresh.setPhaseView(step.phase);
        fresh.DrawHLpfEQCurve(response, outputs);
        QCOMPARE(kept.image().convertToFormat(QImage::Format_RGB32),
                 fresh.image().convertToFormat(QImage::Format_RGB32));
    }
}

void TestGraphRenderer::ratioTwoMatchesRatioOne_data()
{
    QTest::addColumn<bool>("phase");
    QTest::addColumn<bool>("overlay");
    QTest::newRow("magnitude") << false << false;
    QTest::newRow("magnitude with the predicted outputs") << false << true;
    QTest::newRow("phase") << true << false;
}

// The sharp picture is the same picture: sampled down it shows the grid, the markers and the
// curves where the picture at ratio 1 has them.
void TestGraphRenderer::ratioTwoMatchesRatioOne()
{
    QFETCH(bool, phase);
    QFETCH(bool, overlay);
    ParamImage image;
    image.initDefaults();
    image.setWord(levelRecord(Op0), LevelByte::Level, 300);
    image.setWord(levelRecord(Op2), LevelByte::Level, 270);
    image.setWord(bandRecord(Ip0, 3), BandByte::Gain, 170);
    image.setByte(crossoverRecord(Ip0), CrossoverByte::HpfFreq, 60);
    image.setByte(crossoverRecord(Ip0), CrossoverByte::HpfType, 4);
    std::array<ChannelResponse, ChannelCount> all{ChannelResponse(Ip0), ChannelResponse(Op0),
                                                  ChannelResponse(Op1), ChannelResponse(Op2)};
    for (ChannelResponse &c : all)
        c.computeAll(image);
    OutputPrediction prediction;
    prediction.update(image, all);

    GraphRenderer one, two;
    two.setDevicePixelRatio(2);
    for (GraphRenderer *r : {&one, &two}) {
        r->setPhaseView(phase);
        r->DrawHLpfEQCurve(all[Ip0], overlay ? &prediction : nullptr);
    }
    QCOMPARE(two.image().size(), QSize(1440, 376));
    QCOMPARE(two.image().deviceIndependentSize(), QSizeF(720, 188));
    const QImage a = one.image().convertToFormat(QImage::Format_RGB32);
    const QImage b = two.image()
                         .scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);

    // Lettering is drawn anew at each size and may differ by a pixel; anything misplaced would show
    // as a large difference over many pixels.
    qint64 total = 0;
    int far = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            total += d;
            far += d > 96;
        }
    }
    const double mean = double(total) / (a.width() * a.height());
    QVERIFY2(mean < 3.0, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    QVERIFY2(far < a.width() * a.height() / 100, qPrintable(QStringLiteral("%1 pixels far apart").arg(far)));

    // The curve of the system channel lies in the same row (or its neighbour) in every column clear
    // of the markers.
    const QRgb curve = qRgb(46, 121, 255);
    const auto rowOf = [&](const QImage &im, int x) {
        int best = -1, bestDistance = 1 << 30;
        for (int y = 18; y < 164; ++y) {
            const QRgb p = im.pixel(x, y);
            const int d = std::abs(qRed(p) - qRed(curve)) + std::abs(qGreen(p) - qGreen(curve)) +
                          std::abs(qBlue(p) - qBlue(curve));
            if (d < bestDistance) bestDistance = d, best = y;
        }
        return bestDistance < 120 ? best : -1;
    };
    int compared = 0;
    for (int x = 60; x < 700; x += 5) {
        const auto &points = all[Ip0].points();
        if (std::any_of(points.begin(), points.end(), [x](const EqPoint &m) { return std::abs(m.x - x) <= 11; }))
            continue;
        const int ra = rowOf(a, x), rb = rowOf(b, x);
        if (ra < 0) continue;
        ++compared;
        QVERIFY2(rb >= 0 && std::abs(ra - rb) <= 1, qPrintable(QStringLiteral("column %1: %2 / %3").arg(x).arg(ra).arg(rb)));
    }
    QVERIFY2(compared > 40, qPrintable(QString::number(compared)));
}

QTEST_MAIN(TestGraphRenderer)
#include "tst_graphrenderer.moc"
