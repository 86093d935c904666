#include "simline.h"

#include "model/timing.h"

#include <cmath>

namespace spk::sim {

SimLine::SimLine(const QList<int> &ids, QObject *parent) : QObject(parent), m_bus(ids)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimLine::pump);
    m_reportTimer.setSingleShot(true);
    connect(&m_reportTimer, &QTimer::timeout, this, &SimLine::pumpReports);
    m_bus.observer = [this](char direction, const QByteArray &frame) {
        if (direction == 'r')
            emit frameReceived(frame);
        else
            emit frameSent(frame);
    };
}

void SimLine::writeBytes(const QByteArray &bytes)
{
    const double now = elapsedMs();
    if (now - m_lastInputMs > StaleInputMs) m_parser.reset();
    m_lastInputMs = now;
    for (const SimStreamParser::Result &r : m_parser.feed(bytes))
        for (const QByteArray &reply : m_bus.handleFrame(r.frame, r.raw))
            m_wire.send(reply, now, faults(), int(r.raw.size()));
    schedule();
}

void SimLine::writeReport(const QByteArray &report)
{
    const QList<QByteArray> reports = m_hid.writeReport(report);
    if (reports.isEmpty()) return;
    m_reports.append(reports);
    if (!m_reportTimer.isActive())
        m_reportTimer.start(faults().extraDelayMs > 0 ? scaled(faults().extraDelayMs) : 0);
}

void SimLine::pumpReports()
{
    // One report per event-loop pass, as a USB device delivers them one interrupt transfer at a time.
    if (m_reports.isEmpty()) return;
    emit reportOut(m_reports.takeFirst());
    if (!m_reports.isEmpty()) m_reportTimer.start(0);
}

void SimLine::clear()
{
    m_wire.clear();
    m_parser.reset();
    m_hid.assembler().reset();
    m_reports.clear();
    m_timer.stop();
    m_reportTimer.stop();
}

void SimLine::pump()
{
    const QByteArray burst = m_wire.take(elapsedMs());
    if (!burst.isEmpty()) emit bytesOut(burst);
    schedule();
}

void SimLine::schedule()
{
    const double wake = m_wire.nextWake();
    if (wake < 0) {
        m_timer.stop();
        return;
    }
    const double wait = wake - elapsedMs();
    m_timer.start(wait <= 0 ? 0 : int(std::ceil(wait)));
}

} // namespace spk::sim
