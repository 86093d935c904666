#pragma once

#include <QFile>

namespace spk::sim {

// The frame log: one line per frame, "<seconds since start, three decimals> rx|tx <hex>", e.g.
// 12.345 rx A5A5A500A2002B00000089AA. Lines are flushed as they are written.
class SimFrameLog
{
public:
    static QByteArray line(double seconds, char direction, const QByteArray &frame);

    bool open(const QString &path, QString *error = nullptr);
    void close() { m_file.close(); }
    bool isOpen() const { return m_file.isOpen(); }
    void write(double seconds, char direction, const QByteArray &frame);

private:
    QFile m_file;
};

} // namespace spk::sim
