// Output channels and undo: one EQ-point move to the redrawn graph on the system channel and on the
// satellite output in the same run (the output's must stay within the system's figures), then the
// undo and the redo of one drag step (bytes restored, band shown, curve recomputed and drawn, record
// marked), and the history's bound (resident memory after more drags than it keeps, and after as
// many again). Prints median and p99 in microseconds.
//   build/bench/bench_undo [drags]
#include "app/mainwindow.h"
#include "common/benchloop.h"
#include "editors/channelview.h"
#include "editors/editundo.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

void line(const char *what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::printf("%-34s median %7.1f us   p99 %7.1f us\n", what, v[v.size() / 2],
                v[std::min(v.size() - 1, v.size() * 99 / 100)]);
}

double timed(const std::function<void()> &step)
{
    const auto t0 = Clock::now();
    step();
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

long residentKiB()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int drags = argc > 1 ? std::max(100, atoi(argv[1])) : 1500;
    spk::MainWindow window(spk::MainWindowOptions{nullptr, nullptr, false});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    spk::GraphView *view = window.graphView();
    const QPoint places[2] = {QPoint(300, 50), QPoint(420, 90)};

    // Moves of one held point, every one changing both codes.
    const auto moves = [&](int channel) {
        window.channelView().select(channel);
        const spk::EqPoint p = window.graph().point(channel, 4);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(p.x, p.y));
        std::vector<double> out;
        for (int i = 0; i < 3050; ++i) {
            const double us = timed([&] { spk::bench::dragMove(view, places[i % 2]); });
            if (i >= 50) out.push_back(us);
        }
        QTest::mouseRelease(view, Qt::LeftButton, {}, places[0]);
        return out;
    };
    line("move -> image, system:", moves(spk::Ip0));
    line("move -> image, satellite:", moves(spk::Op0));

    // One step per drag, then every step undone and redone.
    spk::EditUndo &undo = window.undo();
    undo.restart();
    const auto dragMany = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const spk::EqPoint p = window.graph().point(spk::Op0, 4);
            QTest::mousePress(view, Qt::LeftButton, {}, QPoint(p.x, p.y));
            spk::bench::dragMove(view, places[i % 2]);
            QTest::mouseRelease(view, Qt::LeftButton, {}, places[i % 2]);
        }
    };
    dragMany(drags);
    const long full = residentKiB();
    dragMany(drags);
    std::printf("resident memory after %d drags %ld KiB, after %d more %ld KiB\n", drags, full, drags,
                residentKiB());
    const int steps = undo.stack().count();
    std::vector<double> undos, redos;
    for (int i = 0; i < steps; ++i)
        undos.push_back(timed([&] { undo.undo(); }));
    for (int i = 0; i < steps; ++i)
        redos.push_back(timed([&] { undo.redo(); }));
    std::printf("drags: %d, steps kept: %d (limit %d)\n", drags, steps, spk::EditUndo::Limit);
    line("undo of a drag:", undos);
    line("redo of a drag:", redos);
    std::printf("goal: undo median < 1000 us; satellite moves within the system's figures\n");
    return 0;
}
