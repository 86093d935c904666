#pragma once

#include <QByteArray>
#include <QList>

#include <initializer_list>

namespace spk {

// Telnet framing of a byte stream: data bytes apart from the commands a server mixes in, and
// the commands a client sends. Knows nothing of which options mean what.
class TelnetCodec
{
public:
    enum : quint8 { Se = 240, Sb = 250, Will = 251, Wont = 252, Do = 253, Dont = 254, Iac = 255 };
    enum : quint8 { OptBinary = 0, OptSuppressGoAhead = 3, OptComPort = 44 };

    struct Command
    {
        quint8 verb = 0;    // Will, Wont, Do, Dont or Sb
        quint8 option = 0;
        QByteArray payload; // Sb only: the bytes between the option and IAC SE, unescaped
        bool operator==(const Command &) const = default;
    };

    // Bytes from the server in chunks of any size: returns their data bytes and appends the
    // whole commands they finish to commands. A command split over chunks is kept for the next.
    QByteArray decode(const QByteArray &chunk, QList<Command> *commands);
    void reset();

    // Data bytes for the wire (IAC doubled).
    static QByteArray escape(const QByteArray &data);
    static QByteArray bytes(std::initializer_list<quint8> list);
    static QByteArray negotiation(quint8 verb, quint8 option);
    static QByteArray subnegotiation(quint8 option, const QByteArray &payload);

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    State m_state = State::Data;
    quint8 m_verb = 0;
    Command m_sub;
};

} // namespace spk
