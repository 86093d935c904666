#pragma once

#include <QByteArray>
#include <QString>

namespace spk::sim {

// A pseudo-terminal whose slave end the editor opens like a serial adapter. The master end stays
// non-blocking and raw; the slave is set raw once so that nothing is ever echoed back.
class SimPty
{
public:
    SimPty() = default;
    SimPty(const SimPty &) = delete;
    SimPty &operator=(const SimPty &) = delete;
    ~SimPty() { close(); }

    bool open(QString *error = nullptr);
    void close();
    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // Whether someone has the slave end open: a master without any slave reports a hang-up.
    bool clientPresent() const;

    // Non-blocking I/O on the master. read: data, or empty with `gone` set when the slave side
    // has closed. write: bytes taken (possibly fewer than given), -1 on error.
    QByteArray read(bool *gone);
    qsizetype write(const QByteArray &bytes);

private:
    int m_master = -1;
    QString m_slavePath;
};

} // namespace spk::sim
