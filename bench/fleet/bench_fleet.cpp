// A whole fleet's backup with one spktool command: 250 devices on 4 lines, each line a spksim on a
// TCP port (time-scaled), against the slowest line's wire time in the same run; then one line alone.
// A line's wire time: the scan that finds its devices (a meter exchange for each device, 100 ms
// for each ID that is not there) plus 20 preset reads of each device, all at 9600 baud.
//
//   bench_fleet [time-scale=0.1]  (smaller scales make the 100 ms probes of the scan too short)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double ByteMs = 10.0 / 9.6; // 8N1 at 9600 baud
constexpr int RequestBytes = 12;
constexpr int ImageExchange = RequestBytes + 12 + 640;
constexpr int MeterExchange = RequestBytes + 12 + 8;
constexpr int ProbeMs = 100;
constexpr int Ids = 250;
const int LineDevices[] = {63, 63, 62, 62};

double wireMs(int devices)
{
    return devices * (MeterExchange * ByteMs + 20 * ImageExchange * ByteMs) + (Ids - devices) * ProbeMs;
}

double backupMs(const QProcessEnvironment &env, const QStringList &ports, const QString &folder, double scale,
                int *exitCode, int *done)
{
    QStringList args{"backup", folder, "--quiet", "--json", "--time-scale", QString::number(scale)};
    for (const QString &p : ports)
        args << "--port" << p;
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(SPKTOOL_PATH), args);
    p.waitForFinished(-1);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (*exitCode != 0) std::fprintf(stderr, "%s\n", p.readAllStandardError().constData());
    const QRegularExpressionMatch m = QRegularExpression("\"done\":(\\d+)").match(QString::fromUtf8(p.readAllStandardOutput()));
    *done = m.hasMatch() ? m.captured(1).toInt() : 0;
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double scale = argc > 1 ? std::max(0.001, atof(argv[1])) : 0.1;
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList ports;
    int first = 1;
    for (int devices : LineDevices) {
        auto sim = std::make_unique<QProcess>();
        sim->setProcessEnvironment(env);
        // Device IDs first..first+devices-1 on this line.
        QStringList ids;
        for (int id = first; id < first + devices; ++id)
            ids << QString::number(id);
        sim->start(QStringLiteral(SPKSIM_PATH),
                   {"--ids", ids.join(u','), "--tcp", "0", "--time-scale", QString::number(scale)});
        QString out;
        while (!out.contains("tcp://") && sim->waitForReadyRead(10000))
            out += QString::fromUtf8(sim->readAllStandardOutput());
        const QRegularExpressionMatch m = QRegularExpression("tcp://[0-9.:]+").match(out);
        if (!m.hasMatch()) {
            std::fprintf(stderr, "spksim did not start\n");
            return 1;
        }
        ports << m.captured(0);
        sims.push_back(std::move(sim));
        first += devices;
    }

    int code = 0, fleetDone = 0, oneDone = 0;
    const double slowest = wireMs(*std::max_element(std::begin(LineDevices), std::end(LineDevices))) * scale;
    const double fleet = backupMs(env, ports, runtime.filePath("fleet"), scale, &code, &fleetDone);
    if (code != 0) std::fprintf(stderr, "fleet backup failed: %d\n", code);
    const double one = backupMs(env, {ports.first()}, runtime.filePath("one"), scale, &code, &oneDone);
    if (code != 0) std::fprintf(stderr, "one-line backup failed: %d\n", code);
    const double oneWire = wireMs(LineDevices[0]) * scale;
    for (const auto &sim : sims) {
        sim->terminate();
        sim->waitForFinished();
    }

    std::printf("spktool backup of 250 devices on 4 lines (spksim --tcp, time scale %g), process start "
                "included\n",
                scale);
    std::printf("fleet     %9.0f ms  slowest line's wire time %9.0f ms  ratio %.3f  (%d devices backed up)\n",
                fleet, slowest, fleet / slowest, fleetDone);
    std::printf("one line  %9.0f ms  its wire time            %9.0f ms  ratio %.3f  (%d of %d devices)\n", one,
                oneWire, one / oneWire, oneDone, LineDevices[0]);
    return 0;
}
