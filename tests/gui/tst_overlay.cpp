// The predicted output overlay in the window: the check box, the curves it draws, and how an
// output's level and mute reach them.
#include "windowfixture.h"

#include "graph/graphrenderer.h"
#include "graph/responsegraph.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>

using namespace spk;

namespace {
// Pixels of a colour in the plot below the legend's row.
int count(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 36; y < 164; ++y)
        for (int x = 42; x <= 713; ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour.rgb();
    return n;
}
// The row of a colour in one column, -1 when it is not there.
int rowAt(const QImage &image, int x, const QColor &colour)
{
    for (int y = 36; y < 164; ++y)
        if ((image.pixel(x, y) | 0xFF000000u) == colour.rgb()) return y;
    return -1;
}
} // namespace

class TestOverlay : public QObject
{
    Q_OBJECT
private slots:
    void toggleAndFollowOutputs();
};

void TestOverlay::toggleAndFollowOutputs()
{
    WindowFixture f(false);
    ResponseGraph &graph = f.window->graph();
    const QColor sat = GraphRenderer::overlayColour(Op0), sub = GraphRenderer::overlayColour(Op2),
                 sum = GraphRenderer::overlayColour(Ip0);
    auto *box = f.ctl<QCheckBox>(QStringLiteral("chk_overlay"));
    QVERIFY(!box->isChecked());
    QVERIFY(!box->accessibleName().isEmpty());
    f.ctl<QSlider>(QStringLiteral("rztrckbr_op0_gain"))->setValue(200); // -20 dB
    f.ctl<QSlider>(QStringLiteral("rztrckbr_op2_gain"))->setValue(250); // -10 dB
    const QImage plain = graph.image().copy();
    for (const QColor &c : {sat, sub, sum})
        QCOMPARE(count(plain, c), 0);

    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(box->isChecked());
    // Flat filters: three level lines, the sum of -20 and -10 dB in phase at -7.6 dB.
    QCOMPARE(rowAt(graph.image(), 500, sat), graph.renderer().curveRow(-20));
    QCOMPARE(rowAt(graph.image(), 500, sub), graph.renderer().curveRow(-10));
    QCOMPARE(rowAt(graph.image(), 500, sum),
             graph.renderer().curveRow(20 * std::log10(0.1 + std::sqrt(0.1))));
    for (const QColor &c : {sat, sub, sum})
        QVERIFY(count(graph.image(), c) > 600);

    // The subwoofer at -3 dB: its line and the sum follow without any other redraw.
    f.ctl<QSlider>(QStringLiteral("rztrckbr_op2_gain"))->setValue(285);
    const double expected = 20 * std::log10(0.1 + std::pow(10.0, -3.0 / 20));
    QVERIFY(std::fabs(graph.prediction().sum()->magnitude[300] - expected) < 1e-9);
    QCOMPARE(rowAt(graph.image(), 500, sum), graph.renderer().curveRow(expected));
    QCOMPARE(rowAt(graph.image(), 500, sub), graph.renderer().curveRow(-3));
    // Muted, the subwoofer leaves the picture and the sum falls onto the satellite.
    QTest::mouseClick(f.ctl<QPushButton>(QStringLiteral("btn_op2_mute")), Qt::LeftButton);
    QCOMPARE(count(graph.image(), sub), 0);
    QCOMPARE(rowAt(graph.image(), 500, sum), graph.renderer().curveRow(-20));
    // Undone, it comes back at once.
    f.window->findChild<QAction *>(QStringLiteral("Undo1"))->trigger();
    QCOMPARE(rowAt(graph.image(), 500, sub), graph.renderer().curveRow(-3));
    QCOMPARE(rowAt(graph.image(), 500, sum), graph.renderer().curveRow(expected));

    box->click();
    QVERIFY(!box->isChecked());
    for (const QColor &c : {sat, sub, sum})
        QCOMPARE(count(graph.image(), c), 0);
    QCOMPARE(graph.image(), plain);
}

QTEST_MAIN(TestOverlay)
#include "tst_overlay.moc"
