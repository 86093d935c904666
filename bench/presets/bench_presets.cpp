// Saving the working preset to a file over the paced 9600-baud line at time scale 1, the editor's
// window offscreen and the simulator on a real pseudo-terminal: the time from the click on "Save this
// preset to PC" to the file written (the question and the save dialog answered at once), against the
// wire time of the request and the reply (1.0417 ms a byte).
//
//   bench_presets [runs=5]
#include "app/mainwindow.h"
#include "model/timing.h"
#include "simptyserver.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/benchloop.h"

using namespace spk::bench;

namespace {

} // namespace

int main(int argc, char **argv)
{
    const spk::bench::PrivateRuntime runtime;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    spk::setTimeScale(1.0);

    QuietDialogs dialogs;
    dialogs.answer = true;
    spk::sim::SimPtyServer sim({1});
    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(error));
        return 1;
    }
    spk::MainWindow window(spk::MainWindowOptions{&dialogs, nullptr});
    window.show();
    auto *ports = window.findChild<QComboBox *>(QStringLiteral("cbb_comport"));
    if (!waitFor([&] { return ports->findText(sim.portName()) >= 0; }, 5000)) return 1;
    ports->setCurrentIndex(ports->findText(sim.portName()));
    window.findChild<QPushButton *>(QStringLiteral("btn_connect"))->click();
    if (!waitFor([&] { return window.state().tmr_pulseframe.isActive(); }, 20000)) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }

    auto *save = window.findChild<QPushButton *>(QStringLiteral("btn_save_onegrp2pc"));
    std::vector<double> totals, wires;
    for (int r = 0; r < runs; ++r) {
        // Between runs the send queue polls the meter; start right after a poll's reply.
        const qsizetype sent = sim.sentFrames().size();
        if (!waitFor([&] { return sim.sentFrames().size() > sent && sim.line().idle(); }, 5000)) return 1;
        dialogs.savePath = runtime.filePath(QStringLiteral("run%1.sdat").arg(r));
        double wire = 0;
        auto note = [&](const QByteArray &frame) {
            if (frame.size() > 6 && quint8(frame.at(6)) == 0x28) wire += frame.size() * ByteMs;
        };
        QMetaObject::Connection rx = QObject::connect(&sim, &spk::sim::SimPtyServer::frameReceived, note);
        QMetaObject::Connection tx = QObject::connect(&sim, &spk::sim::SimPtyServer::frameSent, note);
        QElapsedTimer clock;
        clock.start();
        save->click();
        const bool ok = waitFor([&] { return QFile::exists(dialogs.savePath); }, 10000);
        const double total = clock.nsecsElapsed() / 1e6;
        QObject::disconnect(rx);
        QObject::disconnect(tx);
        if (!ok) {
            std::fprintf(stderr, "run %d: no file\n", r + 1);
            return 1;
        }
        totals.push_back(total);
        wires.push_back(wire);
        std::printf("run %d: click to file written %.0f ms, wire time %.0f ms, ratio %.2f\n", r + 1, total,
                    wire, total / wire);
    }
    std::printf("\nsave one preset: median %.0f ms against %.0f ms of wire time: %.2fx\n", median(totals),
                median(wires), median(totals) / median(wires));
    window.findChild<QPushButton *>(QStringLiteral("btn_connect"))->click();
    return 0;
}
