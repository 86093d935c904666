// Dragging an EQ point: from one mouse-move event that changes the band's codes to the graph
// picture redrawn (band recomputed, total summed, background + markers + curve drawn), and the
// same with the widget repainted; beside it the floor of any redraw (background and one
// 672-column polyline) measured in the same run, drawing the very curve the move produced: how
// much a polyline costs depends on its shape, so both sides draw the same one. Prints median and
// p99 in microseconds. With --overlay the predicted outputs are drawn too (outputs at 0 and -6 dB),
// so every move of a system band recomputes all three outputs and their sum. With --satellite the
// point dragged is the satellite output's (its own output and the sum recomputed). QT_SCALE_FACTOR=2
// times the picture drawn at a high-density screen's ratio.
#include "app/mainwindow.h"
#include "common/benchloop.h"
#include "editors/channelview.h"
#include "graph/graphrenderer.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "graphfloor.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <span>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Stats
{
    double median, p99;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

double micros(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::micro>(b - a).count();
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool overlay = args.contains(QStringLiteral("--overlay"));
    const int channel = args.contains(QStringLiteral("--satellite")) ? spk::Op0 : spk::Ip0;
    const int moves = !args.isEmpty() && !args[0].startsWith(u'-') ? std::max(100, args[0].toInt()) : 3000;

    spk::MainWindow window(spk::MainWindowOptions{nullptr, nullptr, false});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    if (overlay) {
        window.state().ParamImage.setWord(spk::levelRecord(spk::Op0), spk::LevelByte::Level, 300);
        window.state().ParamImage.setWord(spk::levelRecord(spk::Op2), spk::LevelByte::Level, 270);
        window.findChild<QCheckBox *>(QStringLiteral("chk_overlay"))->setChecked(true);
    }
    window.channelView().select(channel);
    spk::GraphView *view = window.graphView();
    const spk::EqPoint p = window.graph().point(channel, 4);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(p.x, p.y));

    // Two places far enough apart that every move changes both the frequency and the gain code.
    const QPoint places[2] = {QPoint(300, 50), QPoint(420, 90)};
    const std::vector<double> sample = spk::bench::sampleCurve();
    const spk::GraphRenderer &renderer = window.graph().renderer();
    std::vector<double> curve;
    QImage floorTarget;
    // Pass 0 times the move, the repaint and the floor; the later passes repeat the same moves and
    // time one variant of the floor in the floor's place (right after the repaint), so that every
    // floor figure meets the caches in the same state.
    using Floor = void (*)(const spk::GraphRenderer &, std::span<const double>, QImage &);
    const Floor floors[] = {spk::bench::drawGraphFloor, spk::bench::drawGraphFloorAllPoints,
                            spk::bench::drawGraphFloorReused, spk::bench::drawGraphFloor};
    // With the overlay a fifth pass times the floor of four curves: the background and the same
    // total, satellite, subwoofer and sum polylines.
    std::vector<double> predicted[3];
    const auto overlayFloor = [&](QImage &target) {
        spk::bench::drawGraphFloor(renderer, curve, target);
        QPainter painter(&target);
        for (const std::vector<double> &c : predicted)
            renderer.drawCurve(painter, c, spk::GraphRenderer::overlayColour(spk::Op0));
    };
    std::vector<double> toImage, toScreen, floor[5];
    for (int pass = 0; pass < (overlay ? 5 : 4); ++pass) {
        floorTarget = QImage();
        for (int i = 0; i < moves + 50; ++i) {
            const auto t0 = Clock::now();
            spk::bench::dragMove(view, places[i % 2]);
            const auto t1 = Clock::now();
            view->repaint();
            const auto t2 = Clock::now();
            const std::vector<double> &total = window.graph().response(channel).total().magnitude;
            curve.assign(total.begin(), total.end());
            if (pass == 4) {
                const spk::OutputPrediction &o = window.graph().prediction();
                const spk::Curve *shown[3] = {o.output(spk::Op0), o.output(spk::Op2), o.sum()};
                for (int k = 0; k < 3; ++k)
                    predicted[k].assign(shown[k]->magnitude.begin(), shown[k]->magnitude.end());
            }
            const auto t3 = Clock::now();
            if (pass == 4)
                overlayFloor(floorTarget);
            else
                floors[pass](renderer, pass == 3 ? std::span<const double>(sample) : curve, floorTarget);
            const auto t4 = Clock::now();
            if (i < 50) continue; // warm-up
            if (pass == 0) {
                toImage.push_back(micros(t0, t1));
                toScreen.push_back(micros(t0, t2));
            }
            floor[pass].push_back(micros(t3, t4));
        }
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, places[0]);

    // Where a move's time goes: the band's response, the picture, the two edit texts.
    std::vector<double> band, outputs, picture, texts;
    spk::EditorState &s = window.state();
    const int record = spk::bandRecord(spk::Ip0, 4);
    auto *freqEdit = window.findChild<QLineEdit *>(QStringLiteral("edt_ip0eq_freq_04"));
    auto *gainEdit = window.findChild<QLineEdit *>(QStringLiteral("edt_ip0eq_gain_04"));
    for (int i = 0; i < moves; ++i) {
        s.ParamImage.setByte(record, spk::BandByte::Freq, 100 + (i % 2) * 20);
        s.ParamImage.setWord(record, spk::BandByte::Gain, 100 + (i % 2) * 30);
        const auto t0 = Clock::now();
        window.graph().computeBand(spk::Ip0, 4, spk::recordByte(record));
        const auto t1 = Clock::now();
        if (overlay) window.graph().prediction(); // so the picture below only draws
        const auto t1b = Clock::now();
        window.graph().render(spk::Ip0);
        const auto t2 = Clock::now();
        freqEdit->setText(i % 2 ? QStringLiteral("1000Hz") : QStringLiteral("472Hz"));
        gainEdit->setText(i % 2 ? QStringLiteral("-3.4dB") : QStringLiteral("2dB"));
        const auto t3 = Clock::now();
        band.push_back(micros(t0, t1));
        outputs.push_back(micros(t1, t1b));
        picture.push_back(micros(t1b, t2));
        texts.push_back(micros(t2, t3));
    }

    const Stats image = stats(toImage), base = stats(floor[0]);
    const auto line = [](const char *what, const Stats &s, const char *tail = "") {
        std::printf("%-46s median %7.1f us   p99 %7.1f us%s\n", what, s.median, s.p99, tail);
    };
    std::printf("drag moves: %d (each changes the band's codes) on the %s channel, predicted outputs %s, "
                "pixel ratio %g\n",
                moves, channel == spk::Ip0 ? "system" : "satellite", overlay ? "on" : "off",
                window.graph().image().devicePixelRatio());
    line("move -> graph image redrawn:", image);
    line("move -> image + widget repainted:", stats(toScreen));
    line("floor (background + polyline, same curve):", base);
    std::printf(
        "  of which: band response + sum %.1f us, predicted outputs %.1f us, picture %.1f us, edit texts "
        "%.1f us (medians)\n",
        stats(band).median, stats(outputs).median, stats(picture).median, stats(texts).median);
    std::printf("ratio image/floor (median): %.2f   goal: median < 1000 us and ratio <= 2\n",
                image.median / base.median);
    if (overlay) {
        const Stats four = stats(floor[4]);
        line("floor of the overlay (background + 4 polylines):", four);
        std::printf("ratio image/overlay floor (median): %.2f\n", image.median / four.median);
    }
    std::printf("the floor drawn other ways (ratio = image median / this median):\n");
    const char *variants[] = {
        "", "  every point to drawPolyline, same curve:", "  background into a kept image, same curve:",
        "  the sample curve of bench_graph:"};
    for (int v = 1; v < 4; ++v) {
        const Stats s = stats(floor[v]);
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "   ratio %.2f", image.median / s.median);
        line(variants[v], s, ratio);
    }
    return 0;
}
