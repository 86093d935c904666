// The editor kept connected to the simulator for a long time at a small time scale: random edits,
// preset recalls and line faults (lost, damaged, noisy, split and slow replies, a silent device,
// a wrong version, unplugging), reconnecting after every fault that ends the link. It samples the
// resident memory and the open file descriptors over time and counts every warning and message
// the window showed.
//
//   bench_soak [seconds=60] [time-scale=0.05] [samples=20]
//
// Exit status 1 when the editor could not connect again after a fault (two tries), or never connected.
#include "app/mainwindow.h"
#include "model/timing.h"
#include "simptyserver.h"
#include "window/editorstate.h"
#include "window/warningwindow.h"

#include "common/benchloop.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <vector>

using namespace spk::bench;

namespace {

constexpr int Patience = 30000; // wall ms for a connect or a recall on a busy machine

struct Sample
{
    double seconds;
    long rssKb;
    int fds;
};

long rssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int openFds()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

class CountingDialogs : public QuietDialogs
{
public:
    QMap<QString, int> messages;
    void information(QWidget *, const QString &text) override { ++messages[text]; }
};

class Soak
{
public:
    Soak(spk::MainWindow &w, spk::sim::SimPtyServer &sim) : m_w(w), m_sim(sim)
    {
        const QRegularExpression gain(QStringLiteral("^edt_(ip0|op\\d)eq_gain_\\d\\d$"));
        for (QLineEdit *e : w.findChildren<QLineEdit *>())
            if (gain.match(e->objectName()).hasMatch()) m_gains << e;
    }

    bool running() const
    {
        const spk::EditorState &s = m_w.state();
        return s.Link.Connected && !s.Loading && s.tmr_pulseframe.isActive();
    }
    bool connect()
    {
        auto *ports = m_w.findChild<QComboBox *>(QStringLiteral("cbb_comport"));
        if (!waitFor([&] { return ports->findText(m_sim.portName()) >= 0; }, Patience)) return false;
        ports->setCurrentIndex(ports->findText(m_sim.portName()));
        button()->click();
        noteWarning();
        return waitFor([&] { return running(); }, Patience);
    }
    void disconnect()
    {
        if (button()->text() != QLatin1String("Connect")) button()->click();
    }

    void edit()
    {
        if (m_gains.isEmpty()) return;
        QLineEdit *e = m_gains.at(m_random.bounded(int(m_gains.size())));
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QString::number(m_random.bounded(-12, 13)));
        QTest::keyClick(e, Qt::Key_Return);
        ++counts["edit"];
    }
    void recall()
    {
        m_w.findChild<QComboBox *>(QStringLiteral("cbb_load2dev"))->setCurrentIndex(m_random.bounded(8));
        m_w.findChild<QPushButton *>(QStringLiteral("btn_load2dev"))->click();
        ++counts["recall"];
        waitFor([&] { return running() || !m_w.state().Link.Connected; }, Patience);
    }
    // One fault for a while; the link either survives it or ends with a warning, and then must
    // come back once the fault is gone.
    void fault()
    {
        static const char *const kinds[] = {"drop", "bad end", "noise", "split", "slow", "silent",
                                            "wrong version", "unplug"};
        const QString kind = QString::fromLatin1(kinds[m_random.bounded(8)]);
        ++counts["fault " + kind];
        spk::sim::SimFaults &f = m_sim.faults();
        if (kind == QLatin1String("drop")) f.dropNext = 1 + m_random.bounded(3);
        if (kind == QLatin1String("bad end")) f.badEndNext = 1 + m_random.bounded(3);
        if (kind == QLatin1String("noise")) f.noise = QByteArray("\x11\xA5\xA5\x22", 4);
        if (kind == QLatin1String("split")) f.splitParts = 2 + m_random.bounded(4);
        if (kind == QLatin1String("slow")) f.extraDelayMs = 300;
        if (kind == QLatin1String("silent")) f.silent = true;
        if (kind == QLatin1String("wrong version")) {
            m_sim.device(1)->setVersionText("QUENDAL29 V9.9.9        ");
            disconnect();
            button()->click();
        }
        if (kind == QLatin1String("unplug")) m_sim.stop();
        // Long enough for the watchdog (13 ticks of 250 ms) to end a dead link.
        for (int i = 0; i < 4; ++i) {
            edit();
            idle(spk::scaled(1000));
        }
        noteWarning();
        f.clear();
        m_sim.device(1)->setVersionText(spk::sim::SimDevice::versionTextDefault());
        if (kind == QLatin1String("unplug") && !m_sim.start()) ++counts["simulator restart failed"];
        if (kind == QLatin1String("wrong version")) disconnect();
        if (!running()) {
            disconnect();
            ++counts["reconnect"];
            if (!connect()) {
                ++counts["reconnect failed at first"];
                if (!report(kind)) ++failures;
            }
        }
    }
    // What the window and the line looked like when a reconnect failed, and whether a second try works.
    bool report(const QString &fault)
    {
        const spk::EditorState &s = m_w.state();
        auto *ports = m_w.findChild<QComboBox *>(QStringLiteral("cbb_comport"));
        std::printf("reconnect after \"%s\" failed: caption %s, connected %d, loading %d, silence %d, "
                    "warning %d, port listed %d, simulator running %d, client %d\n",
                    qPrintable(fault), qPrintable(button()->text()), s.Link.Connected, s.Loading,
                    s.Link.SilenceCount, m_w.warningWindow()->isVisible(),
                    ports->findText(m_sim.portName()) >= 0, m_sim.isRunning(), m_sim.clientConnected());
        disconnect();
        const bool again = connect();
        std::printf("  a second try %s\n", again ? "connected" : "failed too");
        std::fflush(stdout);
        return again;
    }
    void noteWarning()
    {
        const bool shown = m_w.warningWindow()->isVisible();
        if (shown && !m_warningShown) ++warnings[m_w.warningWindow()->label()->text()];
        m_warningShown = shown;
    }
    void step()
    {
        const int r = m_random.bounded(100);
        if (r < 60) edit();
        else if (r < 80) recall();
        else if (r < 88) fault();
        else idle(spk::scaled(700)); // meter polls only
        idle(spk::scaled(m_random.bounded(100, 600)));
        noteWarning();
    }

    QMap<QString, int> counts;
    QMap<QString, int> warnings;
    int failures = 0;

private:
    QPushButton *button() const { return m_w.findChild<QPushButton *>(QStringLiteral("btn_connect")); }

    spk::MainWindow &m_w;
    spk::sim::SimPtyServer &m_sim;
    QList<QLineEdit *> m_gains;
    QRandomGenerator m_random{15};
    bool m_warningShown = false;
};

void print(const char *what, const Sample &s)
{
    std::printf("%-9s at %7.0f s: RSS %6ld kB, %3d fds\n", what, s.seconds, s.rssKb, s.fds);
}

} // namespace

int main(int argc, char **argv)
{
    const spk::bench::PrivateRuntime runtime;
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(10, atoi(argv[1])) : 60;
    const double scale = argc > 2 ? std::max(0.001, atof(argv[2])) : 0.05;
    const int samples = argc > 3 ? std::max(2, atoi(argv[3])) : 20;
    spk::setTimeScale(scale);

    CountingDialogs dialogs;
    spk::sim::SimPtyServer sim({1});
    // The frame records are for tests that look at them; here they would only fill up to their bound
    // (some MB over the first minutes) and pass for growth of the editor's.
    sim.bus().setRecording(false);
    QString error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(error));
        return 1;
    }
    spk::MainWindow window(spk::MainWindowOptions{&dialogs, nullptr, false});
    window.show();
    Soak soak(window, sim);
    if (!soak.connect()) {
        std::fprintf(stderr, "could not connect\n");
        return 1;
    }
    std::printf("soak: %d s at time scale %g (%.1f h of link time)\n", seconds, scale, seconds / scale / 3600);

    std::vector<Sample> taken;
    QElapsedTimer clock;
    clock.start();
    const double every = double(seconds) / samples;
    while (clock.elapsed() < seconds * 1000LL) {
        soak.step();
        const double t = clock.elapsed() / 1000.0;
        if (taken.empty() || t >= taken.back().seconds + every) {
            taken.push_back({t, rssKb(), openFds()});
            print("sample", taken.back());
            std::fflush(stdout);
        }
    }
    soak.disconnect();
    idle(200);
    taken.push_back({clock.elapsed() / 1000.0, rssKb(), openFds()});

    // Warm-up: the first sample after a tenth of the run.
    const Sample *warm = &taken.front();
    for (const Sample &s : taken)
        if (s.seconds >= seconds / 10.0) {
            warm = &s;
            break;
        }
    long peak = 0;
    for (const Sample &s : taken)
        peak = std::max(peak, s.rssKb);
    std::printf("\n");
    print("warm-up", *warm);
    print("end", taken.back());
    std::printf("RSS growth after warm-up: %+ld kB (peak %ld kB), fds %+d\n", taken.back().rssKb - warm->rssKb,
                peak, taken.back().fds - warm->fds);
    std::printf("\nsteps:\n");
    for (auto it = soak.counts.cbegin(); it != soak.counts.cend(); ++it)
        std::printf("  %6d  %s\n", it.value(), qPrintable(it.key()));
    std::printf("warnings shown:\n");
    for (auto it = soak.warnings.cbegin(); it != soak.warnings.cend(); ++it)
        std::printf("  %6d  %s\n", it.value(), qPrintable(it.key()));
    std::printf("messages:\n");
    for (auto it = dialogs.messages.cbegin(); it != dialogs.messages.cend(); ++it)
        std::printf("  %6d  %s\n", it.value(), qPrintable(it.key()));
    if (soak.failures) std::printf("\n%d reconnects after a fault failed twice\n", soak.failures);
    return soak.failures ? 1 : 0;
}
