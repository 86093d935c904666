#pragma once

// What the fuzz targets share: a silent message handler (the code under test logs every rejected
// input, which would only slow the run) and a reader that carves the input into pieces.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>

namespace spk::fuzz {

inline void quietLogs()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg) {
            fprintf(stderr, "%s\n", qPrintable(message));
            abort();
        }
    });
}

// A property of the code under test did not hold: report it as a crash.
inline void require(bool condition, const char *what)
{
    if (!condition) {
        fprintf(stderr, "property failed: %s\n", what);
        abort();
    }
}

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    // Up to n bytes (fewer at the end).
    QByteArray take(std::size_t n)
    {
        n = std::min(n, m_size - m_pos);
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }
    QByteArray rest() { return take(m_size - m_pos); }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace spk::fuzz
