// Start-up of spkedit against a minimal Qt main window, both offscreen: wall time from process
// start to the window's first paint, and resident memory at that moment. Runs each program
// alternately several times and prints medians and spreads.
//   bench_startup [runs] [another-spkedit ...]   (e.g. an older build, measured in the same rounds)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Run
{
    double ms = 0;
    long rssKb = 0;
};

bool runOnce(const QString &program, Run *run)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(program, {QStringLiteral("--bench-startup")});
    while (p.state() != QProcess::NotRunning || p.bytesAvailable()) {
        if (p.canReadLine() || p.waitForReadyRead(5000)) {
            const QByteArray line = p.readLine();
            if (line.startsWith("first-paint")) {
                run->ms = clock.nsecsElapsed() / 1e6;
                const QList<QByteArray> parts = line.simplified().split(' ');
                run->rssKb = parts.value(3).toLong();
                p.waitForFinished(5000);
                return true;
            }
        } else if (p.state() == QProcess::NotRunning) {
            break;
        }
    }
    return false;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The spread of the runs: the machine is shared, so a median alone can mislead.
QString spread(std::vector<double> v, int decimals = 1)
{
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[size_t(q * double(v.size() - 1) + 0.5)]; };
    return QStringLiteral("min %1, quartiles %2..%3, max %4")
        .arg(v.front(), 0, 'f', decimals)
        .arg(at(0.25), 0, 'f', decimals)
        .arg(at(0.75), 0, 'f', decimals)
        .arg(v.back(), 0, 'f', decimals);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    // Further editors (an older build, say) run in the same rounds, for figures taken under the
    // same load.
    QStringList programs = {QStringLiteral(SPKEDIT_PATH)};
    for (int i = 2; i < argc; ++i)
        programs << QString::fromLocal8Bit(argv[i]);
    programs << QStringLiteral(MINIMAL_PATH);
    const qsizetype n = programs.size();
    std::vector<std::vector<double>> ms(n), rss(n), ratio(n);
    for (int i = 0; i < runs + 1; ++i) {
        std::vector<Run> round(n);
        for (qsizetype p = 0; p < n; ++p) {
            if (!runOnce(programs[p], &round[p])) {
                std::fprintf(stderr, "%s did not report its first paint\n", qPrintable(programs[p]));
                return 1;
            }
        }
        if (i == 0) continue; // warms the file cache
        for (qsizetype p = 0; p < n; ++p) {
            ms[p].push_back(round[p].ms);
            rss[p].push_back(double(round[p].rssKb));
            ratio[p].push_back(round[p].ms / round[n - 1].ms);
        }
    }
    const double mm = median(ms[n - 1]), mr = median(rss[n - 1]);
    std::printf("runs: %d each, offscreen, in rounds of %lld programs\n", runs, (long long)n);
    for (qsizetype p = 0; p + 1 < n; ++p) {
        const QString name = p == 0 ? QStringLiteral("spkedit") : programs[p];
        const double em = median(ms[p]), er = median(rss[p]);
        std::printf("%s\n", qPrintable(name));
        std::printf("  start to first paint: %.1f ms against the minimal window's %.1f ms, ratio %.2f (goal <= 1.5)\n",
                    em, mm, em / mm);
        std::printf("  resident memory:      %.0f kB against %.0f kB, ratio %.2f (goal <= 1.5)\n", er, mr, er / mr);
        std::printf("  its ms:               %s\n", qPrintable(spread(ms[p])));
        std::printf("  ratio within a round: median %.2f, %s\n", median(ratio[p]), qPrintable(spread(ratio[p], 2)));
    }
    std::printf("minimal window ms: %s\n", qPrintable(spread(ms[n - 1])));
    return 0;
}
