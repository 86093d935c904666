#include "simhid.h"

#include "simbus.h"

namespace spk::sim {

using namespace SimWireFormat;
using SimHid::ReportSize;

QList<QByteArray> packHidReply(const QByteArray &frame)
{
    QList<QByteArray> reports;
    if (frame.size() < Overhead) return reports;
    reports.append(frame.left(HeaderSize).leftJustified(ReportSize, '\0'));
    const int length = int(frame.size()) - Overhead;
    const QByteArray body = frame.mid(HeaderSize);
    for (int k = 0; k <= length / ReportSize; ++k)
        reports.append(body.mid(k * ReportSize, ReportSize).leftJustified(ReportSize, '\0'));
    return reports;
}

void SimHidAssembler::reset()
{
    m_pending = false;
    m_body.clear();
}

std::optional<SimHidAssembler::Result> SimHidAssembler::feed(const QByteArray &report)
{
    QByteArray data = report;
    if (data.size() == ReportSize + 1) {
        if (data.at(0) != 0) return std::nullopt;
        data.remove(0, 1);
    }
    if (m_pending) {
        m_body.append(data);
        if (m_body.size() < m_length + 2) return std::nullopt;
        m_pending = false;
        QByteArray raw = m_headerBytes;
        raw.append(m_body.left(m_length + 2));
        m_body.clear();
        return finish(raw, m_header, m_length);
    }
    SimFrame header;
    int length = 0;
    if (!simParseHeader(data, &header, &length))
        return std::nullopt; // noise, or the repeated tail of a long write
    if (length + Overhead <= ReportSize) return finish(data.left(length + Overhead), header, length);
    m_pending = true;
    m_header = header;
    m_headerBytes = data.left(HeaderSize);
    m_length = length;
    m_body.clear();
    return std::nullopt;
}

std::optional<SimHidAssembler::Result> SimHidAssembler::finish(const QByteArray &raw, const SimFrame &header,
                                                               int length)
{
    const int total = length + Overhead;
    // A report shorter than the frame it announces is noise.
    if (raw.size() < total) return std::nullopt;
    if (quint8(raw.at(total - 1)) != End || quint8(raw.at(total - 2)) != simChecksum(raw.left(total - 2)))
        return std::nullopt;
    Result r{header, raw};
    r.frame.data = raw.mid(HeaderSize, length);
    return r;
}

QList<QByteArray> SimHidLink::writeReport(const QByteArray &report)
{
    QList<QByteArray> out;
    const auto r = m_assembler.feed(report);
    if (!r) return out;
    for (const QByteArray &reply : m_bus->handleUsbFrame(r->frame, r->raw))
        out.append(packHidReply(reply));
    return out;
}

} // namespace spk::sim
