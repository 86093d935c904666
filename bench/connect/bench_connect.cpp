// Connecting over the paced 9600-baud line at time scale 1, the editor's window offscreen and the
// simulator on a real pseudo-terminal:
//   1. time from the "Connect" click to the first meter poll the simulator receives, against the
//      wire time of the bytes exchanged up to then (requests and replies at 1.0417 ms a byte),
//      with the steps of the sequence;
//   2. CPU used while connected and idle (polling the meter): the editor with the simulator in the
//      same process, and the editor alone with spksim in a process of its own.
//
//   bench_connect [runs=5] [idle-seconds=10]
#include "app/mainwindow.h"
#include "model/timing.h"
#include "simptyserver.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/benchloop.h"

using namespace spk::bench;

namespace {

struct Step
{
    double ms;
    char direction; // 'r' request received by the simulator, 't' reply sent by it
    int command;
    int bytes;
};

struct ConnectRun
{
    double totalMs = 0;
    double wireMs = 0;
    std::vector<Step> steps;
};

bool pickAndClick(spk::MainWindow &w, const QString &port)
{
    auto *ports = w.findChild<QComboBox *>(QStringLiteral("cbb_comport"));
    const int i = ports->findText(port);
    if (i < 0) return false;
    ports->setCurrentIndex(i);
    w.findChild<QPushButton *>(QStringLiteral("btn_connect"))->click();
    return true;
}

bool connectOnce(spk::MainWindow &w, spk::sim::SimPtyServer &sim, ConnectRun *run)
{
    QElapsedTimer clock;
    bool polled = false;
    auto note = [&](char dir, const QByteArray &frame) {
        if (polled || frame.size() < 12) return;
        const int cmd = quint8(frame.at(6));
        run->steps.push_back({clock.nsecsElapsed() / 1e6, dir, cmd, int(frame.size())});
        run->wireMs += frame.size() * ByteMs;
        if (dir == 'r' && cmd == 0x2B) {
            polled = true;
            run->totalMs = clock.nsecsElapsed() / 1e6;
        }
    };
    QMetaObject::Connection rx = QObject::connect(&sim, &spk::sim::SimPtyServer::frameReceived,
                                                  [&](const QByteArray &f) { note('r', f); });
    QMetaObject::Connection tx = QObject::connect(&sim, &spk::sim::SimPtyServer::frameSent,
                                                  [&](const QByteArray &f) { note('t', f); });
    clock.start();
    const bool ok = pickAndClick(w, sim.portName()) && waitFor([&] { return polled; }, 20000, 2);
    QObject::disconnect(rx);
    QObject::disconnect(tx);
    return ok;
}

const char *commandName(int cmd)
{
    switch (cmd) {
    case 0xA0:
        return "version";
    case 0x26:
        return "names";
    case 0x22:
        return "system data";
    case 0x28:
        return "image";
    case 0x2B:
        return "meter poll";
    default:
        return "other";
    }
}

void disconnect(spk::MainWindow &w)
{
    auto *button = w.findChild<QPushButton *>(QStringLiteral("btn_connect"));
    if (button->text() != QLatin1String("Connect")) button->click();
}

double idleCpuPercent(int seconds)
{
    const double before = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    idle(seconds * 1000);
    return 100.0 * (cpuSeconds() - before) / (clock.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    const spk::bench::PrivateRuntime runtime;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    spk::setTimeScale(1.0);

    QuietDialogs dialogs;
    spk::sim::SimPtyServer sim({1});
    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(error));
        return 1;
    }
    spk::MainWindow window(spk::MainWindowOptions{&dialogs, nullptr, false});
    window.show();
    idle(200);

    std::vector<double> totals, wires, ratios;
    ConnectRun last;
    for (int r = 0; r < runs; ++r) {
        ConnectRun run;
        if (!connectOnce(window, sim, &run)) {
            std::fprintf(stderr, "run %d: no meter poll arrived\n", r + 1);
            return 1;
        }
        totals.push_back(run.totalMs);
        wires.push_back(run.wireMs);
        ratios.push_back(run.totalMs / run.wireMs);
        std::printf("run %d: connect to first meter poll %.0f ms, wire time %.0f ms, ratio %.2f\n", r + 1,
                    run.totalMs, run.wireMs, run.totalMs / run.wireMs);
        last = run;
        if (r + 1 < runs) {
            disconnect(window);
            idle(300);
        }
    }
    std::printf("\nsteps of the last run (ms after the click; r = request reaches the simulator, t = reply "
                "starts on the wire):\n");
    for (const Step &s : last.steps)
        std::printf("  %7.1f  %c  %-12s %4d bytes\n", s.ms, s.direction, commandName(s.command), s.bytes);
    std::printf("\nconnect: median %.0f ms against %.0f ms of wire time: %.2fx (goal 1.25x)\n",
                median(totals), median(wires), median(ratios));

    // Idle while connected: the meter poll every 350 ms and its reply.
    const double both = idleCpuPercent(idleSeconds);
    std::printf("idle CPU, editor and simulator in one process: %.2f%% of a core over %d s\n", both,
                idleSeconds);
    disconnect(window);
    sim.stop();

    QProcess spksim;
    spksim.setProgram(QStringLiteral(SPKSIM_PATH));
    spksim.setArguments({QStringLiteral("--ids"), QStringLiteral("1")});
    spksim.start();
    QString port;
    if (!spksim.waitForStarted(5000) ||
        !waitFor(
            [&] {
                const QByteArray line = spksim.readLine();
                const int at = line.indexOf(" on ");
                if (at >= 0) port = QString::fromLatin1(line.mid(at + 4).split(' ').value(0));
                return !port.isEmpty();
            },
            5000)) {
        std::fprintf(stderr, "spksim did not start\n");
        return 1;
    }
    // The port list picks the new adapter up on its next refresh.
    auto *button = window.findChild<QPushButton *>(QStringLiteral("btn_connect"));
    if (!waitFor(
            [&] { return window.findChild<QComboBox *>(QStringLiteral("cbb_comport"))->findText(port) >= 0; },
            5000) ||
        !pickAndClick(window, port) ||
        !waitFor([&] { return window.state().Link.Connected && window.state().tmr_pulseframe.isActive(); },
                 10000)) {
        std::fprintf(stderr, "could not connect to spksim on %s\n", qPrintable(port));
        spksim.kill();
        return 1;
    }
    const double alone = idleCpuPercent(idleSeconds);
    std::printf("idle CPU, editor alone (spksim apart): %.2f%% of a core over %d s (goal < 1%%)\n", alone,
                idleSeconds);
    const bool stillUp = button->text() == QLatin1String("Disconnect");
    disconnect(window);
    spksim.terminate();
    spksim.waitForFinished(3000);
    if (!stillUp) {
        std::fprintf(stderr, "the link dropped while idle\n");
        return 1;
    }
    return 0;
}
