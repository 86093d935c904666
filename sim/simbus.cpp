#include "simbus.h"

namespace spk::sim {

SimBus::SimBus(const QList<int> &ids, quint32 seed) : m_random(seed), m_seed(seed)
{
    for (int id : ids)
        addDevice(id);
}

SimDevice *SimBus::addDevice(int id)
{
    // Each device gets its own meter seed so that two devices do not move in step.
    m_devices.push_back(std::make_unique<SimDevice>(id, m_seed + quint32(m_devices.size()) * 7919u));
    return m_devices.back().get();
}

void SimBus::removeDevice(int id)
{
    std::erase_if(m_devices, [id](const auto &d) { return d->id() == id; });
}

SimDevice *SimBus::device(int id) const
{
    for (const auto &d : m_devices)
        if (d->id() == id) return d.get();
    return nullptr;
}

QList<SimDevice *> SimBus::devices() const
{
    QList<SimDevice *> out;
    for (const auto &d : m_devices)
        out.append(d.get());
    return out;
}

QList<int> SimBus::ids() const
{
    QList<int> out;
    for (const auto &d : m_devices)
        out.append(d->id());
    return out;
}

void SimBus::clearRecords()
{
    m_received.clear();
    m_sent.clear();
}

quint64 SimBus::changeCount() const
{
    quint64 sum = 0;
    for (const auto &d : m_devices)
        sum += d->changeCount();
    return sum;
}

QList<QByteArray> SimBus::handleFrame(const SimFrame &frame, const QByteArray &raw)
{
    // Targets first: a system-record write may change a device's ID while the frame is handled.
    QList<SimDevice *> targets;
    for (const auto &d : m_devices)
        if (frame.isBroadcast() || d->idByte() == frame.id) targets.append(d.get());
    return deliver(frame, raw, targets);
}

QList<QByteArray> SimBus::handleUsbFrame(const SimFrame &frame, const QByteArray &raw)
{
    QList<SimDevice *> targets;
    if (!m_devices.empty()) targets.append(m_devices.front().get());
    return deliver(frame, raw, targets);
}

void SimBus::record(QList<QByteArray> &list, const QByteArray &frame)
{
    if (!m_recording) return;
    // Dropping the older half at once keeps the cost per frame constant.
    if (list.size() >= RecordLimit) list.remove(0, RecordLimit / 2);
    list.append(frame);
}

QList<QByteArray> SimBus::deliver(const SimFrame &frame, const QByteArray &raw,
                                  const QList<SimDevice *> &targets)
{
    const QByteArray bytes = raw.isEmpty() ? simEncode(frame) : raw;
    record(m_received, bytes);
    if (observer) observer('r', bytes);

    QList<QByteArray> replies;
    for (SimDevice *d : targets) {
        const QByteArray reply = d->handle(frame, !frame.isBroadcast());
        if (reply.isEmpty()) continue;
        const QByteArray sent = applyReplyFaults(reply);
        if (sent.isEmpty()) continue;
        record(m_sent, sent);
        if (observer) observer('t', sent);
        replies.append(sent);
    }
    return replies;
}

QList<QByteArray> SimBus::receiveBytes(const QByteArray &bytes)
{
    QList<QByteArray> replies;
    for (const SimStreamParser::Result &r : m_parser.feed(bytes))
        replies.append(handleFrame(r.frame, r.raw));
    return replies;
}

QByteArray SimBus::applyReplyFaults(QByteArray reply)
{
    if (m_faults.silent) return {};
    if (m_faults.dropNext > 0) {
        --m_faults.dropNext;
        return {};
    }
    if (m_faults.dropRate > 0 && m_random.generateDouble() < m_faults.dropRate) return {};
    if (m_faults.badEnd || m_faults.badEndNext > 0) {
        if (m_faults.badEndNext > 0) --m_faults.badEndNext;
        reply[reply.size() - 1] = char(0xAB);
    }
    return reply;
}

} // namespace spk::sim
