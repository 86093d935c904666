// Start-up of spkedit against a minimal Qt main window, both offscreen: wall time from process
// start to the window's first paint, and resident memory at that moment. Runs each program
// alternately several times and prints medians.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

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
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    const QString editor = QStringLiteral(SPKEDIT_PATH);
    const QString minimal = QStringLiteral(MINIMAL_PATH);
    std::vector<double> editorMs, minimalMs, editorRss, minimalRss;
    for (int i = 0; i < runs + 1; ++i) {
        Run a, b;
        if (!runOnce(editor, &a) || !runOnce(minimal, &b)) {
            std::fprintf(stderr, "a program did not report its first paint\n");
            return 1;
        }
        if (i == 0) continue; // warms the file cache
        editorMs.push_back(a.ms);
        minimalMs.push_back(b.ms);
        editorRss.push_back(double(a.rssKb));
        minimalRss.push_back(double(b.rssKb));
    }
    const double em = median(editorMs), mm = median(minimalMs);
    const double er = median(editorRss), mr = median(minimalRss);
    std::printf("runs: %d each, offscreen\n", runs);
    std::printf("start to first paint: spkedit %.1f ms, minimal window %.1f ms, ratio %.2f (goal <= 1.5)\n",
                em, mm, em / mm);
    std::printf("resident memory:      spkedit %.0f kB, minimal window %.0f kB, ratio %.2f (goal <= 1.5)\n",
                er, mr, er / mr);
    return 0;
}
