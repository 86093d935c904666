// spksim: loudspeaker processors on a virtual RS-485 line, served on a pseudo-terminal.
#include "simoptions.h"
#include "simptyserver.h"
#include "simtcpserver.h"

#include "model/timing.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace spk::sim {
namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const char code = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &code, 1);
}

bool installSignals()
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        if (::sigaction(s, &sa, nullptr) != 0) return false;
    return true;
}

QString idList(const QList<int> &ids)
{
    QStringList parts;
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

int run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("spksim"));

    SimConfig config;
    QString error, help;
    if (!parseSimOptions(app.arguments(), &config, &error, &help)) {
        std::fprintf(stderr, "spksim: %s\n", qPrintable(error));
        return 2;
    }
    if (config.help) {
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (config.version) {
        std::printf("spksim %s\n", SPK_VERSION);
        return 0;
    }
    setTimeScale(config.timeScale);

    SimPtyServer server(config.ids);
    server.bus().setRecording(false);
    server.setPacing(config.pacing);
    server.faults() = config.faults;
    if (!config.versionText.isEmpty())
        for (SimDevice *d : server.bus().devices())
            d->setVersionText(config.versionText);
    if (!server.setStateFile(config.stateFile, &error) || !server.setLogFile(config.logFile, &error)) {
        std::fprintf(stderr, "spksim: %s\n", qPrintable(error));
        return 1;
    }
    if (!installSignals()) {
        std::fprintf(stderr, "spksim: cannot install signal handlers\n");
        return 1;
    }
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&] {
        char code = 0;
        while (::read(g_signalPipe[0], &code, 1) == 1) {
            if (code != SIGUSR1) {
                app.quit();
                continue;
            }
            if (server.isRunning()) {
                server.stop();
            } else if (!server.start(&error)) {
                std::fprintf(stderr, "spksim: %s\n", qPrintable(error));
            }
        }
    });
    QObject::connect(&server, &SimPtyServer::started, &app, [&](const QString &port) {
        std::printf("spksim: serving devices %s on %s (%s)\n", qPrintable(idList(server.bus().ids())),
                    qPrintable(port), qPrintable(server.slavePath()));
        std::fflush(stdout);
    });
    QObject::connect(&server, &SimPtyServer::stopped, &app, [] {
        std::printf("spksim: unplugged\n");
        std::fflush(stdout);
    });

    if (!server.start(&error)) {
        std::fprintf(stderr, "spksim: %s\n", qPrintable(error));
        return 1;
    }
    SimTcpServer tcp(server.line());
    if (config.tcpPort >= 0) {
        if (!tcp.listen(quint16(config.tcpPort), &error)) {
            std::fprintf(stderr, "spksim: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("spksim: serving the same line on %s\n", qPrintable(tcp.address()));
        std::fflush(stdout);
    }
    if (config.unplugAfter >= 0)
        QTimer::singleShot(scaled(int(config.unplugAfter * 1000)), &server, [&] { server.stop(); });

    const int code = app.exec();
    server.blockSignals(true);
    server.stop();
    return code;
}

} // namespace
} // namespace spk::sim

int main(int argc, char **argv)
{
    return spk::sim::run(argc, argv);
}
