// The device ID search at time scale 1, the window offscreen and two simulated lines (devices 1, 5
// and 9 on one, 2 on the other) on real pseudo-terminals, paced at 9600 baud:
//   1. wall time of the search from the click to its result, against its pacing
//      (probes x 100 ms x ports);
//   2. the longest the event loop went without serving a 5 ms timer meanwhile (a stall the
//      user would feel), and how many ticks it served.
//
//   bench_idsearch [full|quick]   (full: 251 probes a port, about 50 s; quick: 11)
#include "app/mainwindow.h"
#include "link/portcatalog.h"
#include "model/timing.h"
#include "session/idsearch.h"
#include "simptyserver.h"
#include "window/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

#include "common/benchloop.h"

using namespace spk::bench;

namespace {

// Exactly the simulators' ports.
class LineCatalog : public spk::PortCatalog
{
public:
    QList<spk::PortInfo> lines;

protected:
    QList<spk::PortInfo> scan() override { return lines; }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication app(argc, argv);
    const bool quick = argc > 1 && QByteArray(argv[1]) == "quick";
    spk::setTimeScale(1.0);

    spk::sim::SimPtyServer first({1, 5, 9});
    spk::sim::SimPtyServer second({2});
    if (!first.start() || !second.start()) {
        std::fprintf(stderr, "simulators did not start\n");
        return 1;
    }
    LineCatalog catalog;
    catalog.lines = {{first.portName(), first.linkPath(), spk::PortNone},
                     {second.portName(), second.linkPath(), spk::PortNone}};
    QuietDialogs dialogs;
    spk::MainWindow window(spk::MainWindowOptions{&dialogs, &catalog, false});
    window.show();

    constexpr int TickMs = 5;
    QElapsedTimer clock;
    qint64 lastTick = -1, longestGap = 0, ticks = 0, longGaps = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(TickMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick >= 0) {
            longestGap = std::max(longestGap, now - lastTick);
            if (now - lastTick > 50'000'000) ++longGaps;
        }
        lastTick = now;
        ++ticks;
    });

    spk::IdSearch &search = window.idSearch();
    const int ids = quick ? spk::IdSearch::QuickIds : spk::IdSearch::FullIds;
    const double pacingS = ids * spk::IdSearch::ProbeWaitMs / 1000.0 * 2;
    const double cpuBefore = cpuSeconds();
    clock.start();
    probe.start();
    if (quick)
        search.btn_quicksearch();
    else
        search.btn41Click();
    const double wallS = clock.nsecsElapsed() / 1e9;
    probe.stop();
    const double cpuS = cpuSeconds() - cpuBefore;

    const QString result = window.findChild<QPlainTextEdit *>(QStringLiteral("mmo_s_result"))->toPlainText();
    std::printf("%s search, 2 ports x %d probes x 100 ms\n", quick ? "quick" : "full", ids);
    std::printf("  wall time      %8.3f s   pacing %6.3f s   over by %+.2f %%\n", wallS, pacingS,
                (wallS / pacingS - 1) * 100);
    std::printf("  longest stall  %8.2f ms  (gap between %d ms ticks minus %d ms; %lld ticks served)\n",
                longestGap / 1e6 - TickMs, TickMs, TickMs, ticks);
    std::printf("  gaps > 50 ms   %8lld     CPU used %.3f s (editor and both simulators; %.2f ms a probe)\n",
                longGaps, cpuS, cpuS * 1000 / (2 * ids));
    std::printf("  result        %s\n", qPrintable(QString(result).replace(u'\n', QStringLiteral(" | "))));
    return 0;
}
