// spktool's device commands against spksim paced at 9600 baud (time scale 1), each against its
// yardstick in the same run:
//   backup of presets 1..20   against the wire time of its bytes (20 reads)
//   get of the working preset against the wire time of its bytes (one read)
//   scan of IDs 1..250        against 250 x 100 ms, on a line with two devices
//
//   bench_spktool [runs=1]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double ByteMs = 10.0 / 9.6; // 8N1 at 9600 baud
constexpr int RequestBytes = 12;
constexpr int ImageExchange = RequestBytes + 12 + 640;

double runMs(const QProcessEnvironment &env, const QStringList &args, int *exitCode)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(SPKTOOL_PATH), args);
    p.waitForFinished(-1);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return double(clock.nsecsElapsed()) / 1e6;
}

void report(const char *what, const std::vector<double> &ms, double yardstickMs, const char *yardstick)
{
    const double best = *std::min_element(ms.begin(), ms.end());
    const double worst = *std::max_element(ms.begin(), ms.end());
    std::printf("%-8s %9.0f ms (worst %9.0f)  %s %9.0f ms  ratio %.3f (worst %.3f)\n", what, best, worst,
                yardstick, yardstickMs, best / yardstickMs, worst / yardstickMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    QProcess sim;
    sim.setProcessEnvironment(env);
    sim.start(QStringLiteral(SPKSIM_PATH), {QStringLiteral("--ids"), QStringLiteral("1,2")});
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "spksim did not start\n");
        return 1;
    }
    const QStringList device{"--port", "ttySIM0", "--id", "2", "--quiet"};
    std::vector<double> backup, get, scan;
    int code = 0;
    for (int i = 0; i < runs; ++i) {
        backup.push_back(runMs(env, QStringList{"backup", runtime.filePath("b.gdat")} + device, &code));
        if (code != 0) std::fprintf(stderr, "backup failed: %d\n", code);
        get.push_back(runMs(env, QStringList{"get", runtime.filePath("w.sdat")} + device, &code));
        if (code != 0) std::fprintf(stderr, "get failed: %d\n", code);
        scan.push_back(runMs(env, {"scan", "--port", "ttySIM0", "--quiet"}, &code));
        if (code != 0) std::fprintf(stderr, "scan failed: %d\n", code);
    }
    sim.terminate();
    sim.waitForFinished();

    std::printf("spktool against spksim at 9600 baud, %d run(s), process start included\n", runs);
    report("backup", backup, (20 * ImageExchange) * ByteMs, "wire");
    report("get", get, ImageExchange * ByteMs, "wire");
    report("scan", scan, 250 * 100.0, "250x100ms");
    return 0;
}
