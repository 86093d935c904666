#pragma once

#include <QString>

#include <optional>

namespace spk {

// A serial line reached through a device server's TCP port: "tcp://host:port" carries the line's
// bytes as they are, "rfc2217://host:port" through telnet with the com-port control option.
struct NetAddress
{
    enum class Kind { Raw, Rfc2217 };
    Kind kind = Kind::Raw;
    QString host;
    quint16 port = 0;

    QString text() const;
};

// Whether a port name or path is meant as a network line (by its scheme), well formed or not.
bool isNetworkPort(const QString &port);
// nullopt with why set for a network port that names no host or no port 1..65535.
std::optional<NetAddress> parseNetAddress(const QString &text, QString *why = nullptr);
// The same from a form's fields (a host, and a port typed as text); why says which field is wrong.
std::optional<NetAddress> netAddressFrom(NetAddress::Kind kind, const QString &host, const QString &port,
                                         QString *why = nullptr);

} // namespace spk
