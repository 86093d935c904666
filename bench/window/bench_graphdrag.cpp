// Dragging an EQ point: from one mouse-move event that changes the band's codes to the graph
// picture redrawn (band recomputed, total summed, background + markers + curve drawn), and the
// same with the widget repainted; beside it the floor of any redraw (background and one
// 672-point polyline) measured in the same run. Prints median and p99 in microseconds.
#include "app/dialogs.h"
#include "app/editorstate.h"
#include "app/mainwindow.h"
#include "graph/graphrenderer.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "graphfloor.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

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

void sendMove(QWidget *view, QPoint to)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &e);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(100, atoi(argv[1])) : 3000;

    spk::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    spk::GraphView *view = window.graphView();
    const spk::EqPoint p = window.graph().point(spk::Ip0, 4);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(p.x, p.y));

    // Two places far enough apart that every move changes both the frequency and the gain code.
    const QPoint places[2] = {QPoint(300, 50), QPoint(420, 90)};
    std::vector<double> toImage, toScreen, floor;
    toImage.reserve(moves);
    toScreen.reserve(moves);
    const std::vector<double> curve = window.graph().response(spk::Ip0).total().magnitude;
    QImage floorTarget;
    for (int i = 0; i < moves + 50; ++i) {
        const auto t0 = Clock::now();
        sendMove(view, places[i % 2]);
        const auto t1 = Clock::now();
        view->repaint();
        const auto t2 = Clock::now();
        spk::bench::drawGraphFloor(window.graph().renderer(), curve, floorTarget);
        const auto t3 = Clock::now();
        if (i < 50) continue; // warm-up
        toImage.push_back(micros(t0, t1));
        toScreen.push_back(micros(t0, t2));
        floor.push_back(micros(t2, t3));
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, places[0]);

    // Where a move's time goes: the band's response, the picture, the two edit texts.
    std::vector<double> band, picture, texts;
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
        window.graph().render(spk::Ip0);
        const auto t2 = Clock::now();
        freqEdit->setText(i % 2 ? QStringLiteral("1000Hz") : QStringLiteral("472Hz"));
        gainEdit->setText(i % 2 ? QStringLiteral("-3.4dB") : QStringLiteral("2dB"));
        const auto t3 = Clock::now();
        band.push_back(micros(t0, t1));
        picture.push_back(micros(t1, t2));
        texts.push_back(micros(t2, t3));
    }

    const Stats image = stats(toImage), screen = stats(toScreen), base = stats(floor);
    std::printf("drag moves: %d (each changes the band's codes)\n", moves);
    std::printf("move -> graph image redrawn:      median %7.1f us   p99 %7.1f us\n", image.median,
                image.p99);
    std::printf("move -> image + widget repainted: median %7.1f us   p99 %7.1f us\n", screen.median,
                screen.p99);
    std::printf("floor (background + polyline):    median %7.1f us   p99 %7.1f us\n", base.median, base.p99);
    std::printf("  of which: band response + sum %.1f us, picture %.1f us, edit texts %.1f us (medians)\n",
                stats(band).median, stats(picture).median, stats(texts).median);
    std::printf("ratio image/floor (median): %.2f   goal: median < 1000 us and ratio <= 2\n",
                image.median / base.median);
    return 0;
}
