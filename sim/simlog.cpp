#include "simlog.h"

#include "simframe.h"

namespace spk::sim {

QByteArray SimFrameLog::line(double seconds, char direction, const QByteArray &frame)
{
    return QByteArray::number(seconds, 'f', 3) + (direction == 'r' ? " rx " : " tx ") + simHex(frame) + '\n';
}

bool SimFrameLog::open(const QString &path, QString *error)
{
    m_file.close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void SimFrameLog::write(double seconds, char direction, const QByteArray &frame)
{
    if (!m_file.isOpen()) return;
    m_file.write(line(seconds, direction, frame));
    m_file.flush();
}

} // namespace spk::sim
