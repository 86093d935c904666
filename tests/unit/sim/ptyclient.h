#pragma once

// Opens a published port the way any serial program would: plain POSIX open() and termios.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

class PtyClient
{
public:
    explicit PtyClient(const QString &path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) return;
        termios t;
        ::tcgetattr(m_fd, &t);
        ::cfmakeraw(&t);
        ::cfsetspeed(&t, B9600);
        ::tcsetattr(m_fd, TCSANOW, &t);
    }
    ~PtyClient() { close(); }
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
    }

    // Reads until `count` bytes have come or `ms` have passed, serving the event loop meanwhile
    // (the simulator may live in this very process). `bursts` counts the reads that returned data.
    QByteArray read(int count, int ms, int *bursts = nullptr)
    {
        QByteArray out;
        int n = 0;
        QDeadlineTimer deadline(ms);
        while (out.size() < count && !deadline.hasExpired()) {
            QTest::qWait(1);
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN)) continue;
            char buffer[4096];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got > 0) {
                out.append(buffer, got);
                ++n;
            }
        }
        if (bursts) *bursts = n;
        return out;
    }

private:
    int m_fd = -1;
};

} // namespace simtest
