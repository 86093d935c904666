#include "app/startupprobe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace spk {

namespace {
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, QString screenshot, bool bench)
        : QObject(window), m_window(window), m_screenshot(std::move(screenshot)), m_bench(bench)
    {
        m_clock.start();
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // Report once the paint has finished and the event loop is idle again.
            QTimer::singleShot(0, this, [this] { finish(); });
        }
        return false;
    }

private:
    void finish()
    {
        if (m_bench) {
            std::printf("first-paint %.2f rss-kb %ld\n", m_clock.nsecsElapsed() / 1e6, residentKb());
            std::fflush(stdout);
        }
        if (!m_screenshot.isEmpty()) m_window->grab().save(m_screenshot);
        QCoreApplication::quit();
    }

    QWidget *m_window;
    QString m_screenshot;
    bool m_bench;
    bool m_done = false;
    QElapsedTimer m_clock;
};
} // namespace

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

bool startupSearchWanted(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) return false;
    return true;
}

bool armStartupProbe(QWidget *window, int argc, char **argv)
{
    bool bench = false;
    QString screenshot;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bench-startup") == 0)
            bench = true;
        else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = QString::fromLocal8Bit(argv[++i]);
    }
    if (!bench && screenshot.isEmpty()) return false;
    new FirstPaint(window, screenshot, bench);
    return true;
}

} // namespace spk
