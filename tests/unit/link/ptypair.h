#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal standing in for a USB-serial adapter: the test talks on the master, the
// driver under test opens the slave (directly or through a published ttySIM link).
class PtyPair
{
public:
    PtyPair()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            closeMaster();
            return;
        }
        termios tio{};
        if (::tcgetattr(m_master, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_master, TCSANOW, &tio);
        }
        m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~PtyPair()
    {
        if (!m_link.isEmpty()) QFile::remove(m_link);
        closeMaster();
    }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool ok() const { return m_master >= 0 && !m_slave.isEmpty(); }
    QString slavePath() const { return m_slave; }

    // Publishes the slave as dir/name, the way the simulator does.
    QString publish(const QString &dir, const QString &name)
    {
        QDir().mkpath(dir);
        m_link = dir + QLatin1Char('/') + name;
        QFile::remove(m_link);
        if (!QFile::link(m_slave, m_link)) m_link.clear();
        return m_link;
    }

    // Writes all of bytes, serving events while the slave side drains.
    bool send(const QByteArray &bytes, int timeoutMs = 2000)
    {
        qsizetype done = 0;
        QDeadlineTimer deadline(timeoutMs);
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno != EAGAIN) return false;
            if (deadline.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    // Reads until count bytes came or the time is up, serving events meanwhile.
    QByteArray take(qsizetype count, int timeoutMs = 2000)
    {
        QByteArray out;
        QDeadlineTimer deadline(timeoutMs);
        char buf[4096];
        while (out.size() < count && !deadline.hasExpired()) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, n);
                continue;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return out;
    }

    // The line settings of the slave side (a pty reports them on its master).
    termios slaveTermios() const
    {
        termios tio{};
        ::tcgetattr(m_master, &tio);
        return tio;
    }

    void closeMaster()
    {
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slave;
    QString m_link;
};
