// The USB link over the simulated HID device at time scale 1, the editor's window offscreen:
//   1. a 640-byte image read (request, header report + 11 data reports, controls filled): time
//      from the request to the image in the controls;
//   2. the main thread's longest stall while the read thread delivers a burst of reports (meter
//      replies, header + 1 report each), measured as the longest gap between ticks of a 1 ms
//      timer, against the same measure while idle.
//
//   bench_usb [runs=50] [burst-replies=500]
#include "app/mainwindow.h"
#include "link/hidtransport.h"
#include "model/timing.h"
#include "session/devicesession.h"
#include "simhid.h"
#include "simhidbackend.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "common/benchloop.h"

using namespace spk::bench;

namespace {

struct Stats
{
    double median, min, max;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

// Longest gap between ticks of a 1 ms timer while work() runs and until done() holds.
double longestGap(const std::function<void()> &work, const std::function<bool()> &done)
{
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    qint64 last = 0;
    qint64 worst = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    clock.start();
    tick.start();
    work();
    waitFor(done, 30000);
    tick.stop();
    return worst / 1e6;
}

QByteArray meterReplyFrame()
{
    QByteArray f = QByteArray::fromHex("A5A5A5005200"
                                       "2B00"
                                       "0008"
                                       "1E00000000000000");
    char x = 0;
    for (int i = 3; i < f.size(); ++i)
        x ^= f.at(i);
    return f + x + char(0xAA);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int burst = argc > 2 ? std::max(1, atoi(argv[2])) : 500;
    spk::setTimeScale(1.0);

    QuietDialogs dialogs;
    SimHidBackend backend;
    backend.plug(SimHidBackend::processor(), false);
    spk::MainWindow window(spk::MainWindowOptions{&dialogs, nullptr, false, &backend});
    window.show();
    spk::EditorState &s = window.state();
    if (!waitFor([&] { return s.Link.Connected && s.tmr_pulseframe.isActive(); }, 20000)) {
        std::fprintf(stderr, "no connection over the simulated device\n");
        return 1;
    }
    s.tmr_pulseframe.stop();
    s.tmr_disconnect.stop();
    idle(100);

    std::vector<double> image;
    int loaded = 0;
    QObject::connect(&window.session(), &spk::DeviceSession::imageLoaded, [&] { ++loaded; });
    for (int r = 0; r < runs; ++r) {
        const int before = loaded;
        QElapsedTimer clock;
        clock.start();
        window.session().Send_Readcmd_tomcu(0, 0x28, 0);
        QEventLoop loop;
        QObject::connect(&window.session(), &spk::DeviceSession::imageLoaded, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        if (loaded == before) {
            std::fprintf(stderr, "image read %d timed out\n", r);
            return 1;
        }
        image.push_back(clock.nsecsElapsed() / 1e6);
        s.tmr_pulseframe.stop();
        s.tmr_disconnect.stop();
    }
    const Stats i = stats(image);
    std::printf("640-byte image over HID (1 + 11 reports), request to controls filled, %d runs:\n"
                "  median %.2f ms  min %.2f  max %.2f\n",
                runs, i.median, i.min, i.max);

    const QList<QByteArray> reply = spk::sim::packHidReply(meterReplyFrame());
    const int reports = burst * int(reply.size());
    int got = 0;
    std::vector<qint64> arrivals;
    arrivals.reserve(std::size_t(reports));
    QElapsedTimer wall;
    wall.start();
    QObject::connect(&window.hidTransport(), &spk::Transport::received, [&] {
        ++got;
        arrivals.push_back(wall.nsecsElapsed());
    });
    const double idleGap = longestGap([] {},
                                      [] {
                                          static QElapsedTimer t;
                                          if (!t.isValid()) t.start();
                                          return t.elapsed() > 500;
                                      });
    QElapsedTimer burstClock;
    std::thread feeder;
    const double burstGap = longestGap(
        [&] {
            burstClock.start();
            // The device's side runs on a thread of its own, as the kernel does.
            feeder = std::thread([&] {
                for (int k = 0; k < burst; ++k)
                    for (const QByteArray &r : reply)
                        backend.deliver(r);
            });
        },
        [&] { return got >= reports; });
    feeder.join();
    // Reports handled back to back (less than 0.2 ms apart) came in one pass of the event loop:
    // the longest such run is the stall the delivery itself causes, apart from scheduling noise.
    double longestRun = 0;
    int runReports = 0;
    for (std::size_t a = 0, b = 1; b <= arrivals.size(); ++b) {
        if (b < arrivals.size() && arrivals[b] - arrivals[b - 1] < 200000) continue;
        const double span = (arrivals[b - 1] - arrivals[a]) / 1e6;
        if (span > longestRun) {
            longestRun = span;
            runReports = int(b - a);
        }
        a = b;
    }
    std::printf("burst of %d reports (%d meter replies) through the read thread in %.1f ms:\n"
                "  longest main-thread gap %.2f ms (idle: %.2f ms, 1 ms timer)\n"
                "  longest run of reports handled back to back: %.2f ms (%d reports, %.1f us each)\n",
                reports, burst, burstClock.nsecsElapsed() / 1e6, burstGap, idleGap, longestRun, runReports,
                runReports ? 1000.0 * longestRun / runReports : 0.0);
    return 0;
}
