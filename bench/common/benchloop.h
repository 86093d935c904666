#pragma once

// What the benchmarks that drive the whole window share: dialogs that answer from fields, waiting
// on the event loop, and a few figures.

#include "window/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace spk::bench {

// Before the QApplication, for as long as main() runs: offscreen unless a platform is asked for, and
// a runtime folder of our own, so that the ports of a running spksim do not get in the way.
// A mouse move with the left button held, as a drag sends it.
inline void dragMove(QWidget *view, QPoint to)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &e);
}

class PrivateRuntime
{
public:
    PrivateRuntime()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QFile::setPermissions(m_dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

constexpr double ByteMs = 10.0 / 9.6; // 8N1 at 9600 baud

// Messages go to stderr; questions get `answer`, save dialogs `savePath`.
class QuietDialogs : public spk::Dialogs
{
public:
    bool answer = false;
    QString savePath;

    void information(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(QWidget *, const QString &) override { return answer; }
    int choose(QWidget *, const QString &, const QStringList &buttons) override
    {
        return int(buttons.size()) - 1;
    }
    QString openFile(QWidget *, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &, bool) override
    {
        return savePath;
    }
    bool networkPort(QWidget *, spk::NetworkPortFields &) override { return false; }
};

// Runs the event loop in short slices until done() holds; false after timeoutMs.
inline bool waitFor(const std::function<bool()> &done, int timeoutMs, int sliceMs = 1)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(sliceMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

inline void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// User and system CPU time of this process.
inline double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace spk::bench
