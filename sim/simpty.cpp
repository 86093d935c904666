#include "simpty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace spk::sim {

namespace {

bool makeRaw(int fd)
{
    termios t;
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool SimPty::open(QString *error)
{
    close();
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0) {
        if (error) *error = systemError("posix_openpt");
        return false;
    }
    char name[128];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        if (error) *error = systemError("pty setup");
        ::close(master);
        return false;
    }
    // Set the line raw from the slave side once; the settings outlive this open.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0 || !makeRaw(slave)) {
        if (error) *error = systemError("pty slave");
        if (slave >= 0) ::close(slave);
        ::close(master);
        return false;
    }
    ::close(slave);
    makeRaw(master);
    m_master = master;
    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

void SimPty::close()
{
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
    m_slavePath.clear();
}

bool SimPty::clientPresent() const
{
    if (m_master < 0) return false;
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) return false;
    return !(p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

QByteArray SimPty::read(bool *gone)
{
    *gone = false;
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            *gone = true; // EIO: the last slave descriptor was closed
        return out;
    }
}

qsizetype SimPty::write(const QByteArray &bytes)
{
    for (;;) {
        const ssize_t n = ::write(m_master, bytes.constData(), size_t(bytes.size()));
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

} // namespace spk::sim
