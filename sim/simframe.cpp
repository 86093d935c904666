#include "simframe.h"

namespace spk::sim {

using namespace SimWireFormat;

quint8 simChecksum(const QByteArray &frame)
{
    quint8 sum = 0;
    for (int i = 3; i < frame.size(); ++i)
        sum ^= quint8(frame.at(i));
    return sum;
}

QByteArray simEncode(const SimFrame &frame, quint8 end)
{
    QByteArray out;
    out.reserve(frame.data.size() + Overhead);
    out.append(3, char(Sync));
    out.append(char(frame.id));
    out.append(char(frame.dir));
    out.append(char(frame.slot));
    out.append(char(frame.cmd));
    out.append(char(frame.sub));
    out.append(char((frame.data.size() >> 8) & 0xFF));
    out.append(char(frame.data.size() & 0xFF));
    out.append(frame.data);
    out.append(char(simChecksum(out)));
    out.append(char(end));
    return out;
}

QByteArray simReply(const SimFrame &request, quint8 idByte, const QByteArray &data)
{
    SimFrame reply = request;
    reply.id = idByte;
    reply.dir = DirReply;
    reply.data = data;
    return simEncode(reply);
}

bool simParseHeader(const QByteArray &bytes, SimFrame *frame, int *length)
{
    if (bytes.size() < HeaderSize) return false;
    const auto at = [&](int i) { return quint8(bytes.at(i)); };
    if (at(0) != Sync || at(1) != Sync || at(2) != Sync) return false;
    if (at(4) != DirWrite && at(4) != DirRead) return false;
    const int len = (at(8) << 8) | at(9);
    if (len > MaxLength) return false;
    frame->id = at(3);
    frame->dir = at(4);
    frame->slot = at(5);
    frame->cmd = at(6);
    frame->sub = at(7);
    *length = len;
    return true;
}

QByteArray simHex(const QByteArray &bytes)
{
    return bytes.toHex().toUpper();
}

QByteArray simFromHex(const QByteArray &text, bool *ok)
{
    QByteArray digits;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') digits.append(c);
    bool good = digits.size() % 2 == 0;
    for (char c : digits)
        good = good && QByteArrayView("0123456789abcdefABCDEF").contains(c);
    if (ok) *ok = good;
    return good ? QByteArray::fromHex(digits) : QByteArray();
}

} // namespace spk::sim
