#include "simports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace spk::sim::SimPorts {

QString directory()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir(QString::fromLocal8Bit(runtime)).filePath(QStringLiteral("spkedit/ports"));
    return QStringLiteral("/tmp/spkedit-%1/ports").arg(getuid());
}

namespace {

bool makeFolder(const QString &dir, QString *error)
{
    QFileInfo base(QFileInfo(dir).path());
    const bool fresh = !base.exists();
    if (!QDir().mkpath(dir)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(dir);
        return false;
    }
    // Under /tmp the folder is private to its user.
    if (fresh && qgetenv("XDG_RUNTIME_DIR").isEmpty())
        ::chmod(QFile::encodeName(base.filePath()).constData(), 0700);
    return true;
}

} // namespace

QString publish(const QString &target, QString *error)
{
    const QString dir = directory();
    if (!makeFolder(dir, error)) return {};
    const QByteArray targetName = QFile::encodeName(target);
    for (int n = 0; n < 1000; ++n) {
        const QString link = QDir(dir).filePath(QStringLiteral("ttySIM%1").arg(n));
        const QByteArray linkName = QFile::encodeName(link);
        if (::symlink(targetName.constData(), linkName.constData()) == 0) return link;
        if (errno != EEXIST) break;
        struct stat st;
        if (::stat(linkName.constData(), &st) != 0 && errno == ENOENT) {
            // Left behind by a simulator that did not exit cleanly.
            ::unlink(linkName.constData());
            if (::symlink(targetName.constData(), linkName.constData()) == 0) return link;
        }
    }
    if (error)
        *error = QStringLiteral("cannot publish a port in %1: %2")
                     .arg(dir, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

void unpublish(const QString &linkPath, const QString &target)
{
    if (linkPath.isEmpty()) return;
    const QByteArray name = QFile::encodeName(linkPath);
    char buffer[4096];
    const ssize_t n = ::readlink(name.constData(), buffer, sizeof buffer - 1);
    if (n >= 0 && QByteArray(buffer, n) == QFile::encodeName(target)) ::unlink(name.constData());
}

} // namespace spk::sim::SimPorts
