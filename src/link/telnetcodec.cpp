#include "link/telnetcodec.h"

namespace spk {

void TelnetCodec::reset()
{
    m_state = State::Data;
    m_verb = 0;
    m_sub = {};
}

QByteArray TelnetCodec::decode(const QByteArray &chunk, QList<Command> *commands)
{
    QByteArray data;
    data.reserve(chunk.size());
    for (const char c : chunk) {
        const quint8 b = quint8(c);
        switch (m_state) {
        case State::Data:
            if (b == Iac)
                m_state = State::Iac;
            else
                data.append(c);
            break;
        case State::Iac:
            if (b == Iac) {
                data.append(c);
                m_state = State::Data;
            } else if (b >= Will) {
                m_verb = b;
                m_state = State::Option;
            } else if (b == Sb) {
                m_verb = Sb;
                m_state = State::Option;
            } else {
                // NOP, GA, AYT and the like carry nothing for a line.
                m_state = State::Data;
            }
            break;
        case State::Option:
            if (m_verb == Sb) {
                m_sub = {Sb, b, {}};
                m_state = State::Sub;
            } else {
                commands->append({m_verb, b, {}});
                m_state = State::Data;
            }
            break;
        case State::Sub:
            if (b == Iac)
                m_state = State::SubIac;
            else
                m_sub.payload.append(c);
            break;
        case State::SubIac:
            if (b == Iac) {
                m_sub.payload.append(c);
                m_state = State::Sub;
            } else {
                // IAC SE ends it; anything else after IAC inside it is a broken server, and the
                // subnegotiation ends there too rather than swallowing the data that follows.
                commands->append(m_sub);
                m_sub = {};
                m_state = State::Data;
                if (b != Se && (b >= Will || b == Sb)) {
                    m_verb = b;
                    m_state = State::Option;
                }
            }
            break;
        }
    }
    return data;
}

QByteArray TelnetCodec::escape(const QByteArray &data)
{
    if (!data.contains(char(Iac))) return data;
    QByteArray out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out.append(c);
        if (quint8(c) == Iac) out.append(c);
    }
    return out;
}

QByteArray TelnetCodec::bytes(std::initializer_list<quint8> list)
{
    QByteArray out;
    for (const quint8 b : list)
        out.append(char(b));
    return out;
}

QByteArray TelnetCodec::negotiation(quint8 verb, quint8 option)
{
    return bytes({Iac, verb, option});
}

QByteArray TelnetCodec::subnegotiation(quint8 option, const QByteArray &payload)
{
    return bytes({Iac, Sb, option}) + escape(payload) + bytes({Iac, Se});
}

} // namespace spk
