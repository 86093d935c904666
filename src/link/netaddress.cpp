#include "link/netaddress.h"

#include <QUrl>

namespace spk {

namespace {
constexpr QLatin1StringView RawScheme("tcp");
constexpr QLatin1StringView Rfc2217Scheme("rfc2217");
} // namespace

QString NetAddress::text() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return QStringLiteral("%1://%2:%3")
        .arg(kind == Kind::Raw ? RawScheme : Rfc2217Scheme, shownHost)
        .arg(port);
}

bool isNetworkPort(const QString &port)
{
    return port.startsWith(RawScheme + QLatin1String("://"), Qt::CaseInsensitive) ||
           port.startsWith(Rfc2217Scheme + QLatin1String("://"), Qt::CaseInsensitive);
}

std::optional<NetAddress> parseNetAddress(const QString &text, QString *why)
{
    const auto fail = [&](const QString &reason) -> std::optional<NetAddress> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (!isNetworkPort(text)) return fail(QStringLiteral("%1 is not a tcp:// or rfc2217:// port").arg(text));
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return fail(QStringLiteral("%1 names no host (tcp://HOST:PORT)").arg(text));
    if (url.port() <= 0) return fail(QStringLiteral("%1 names no port 1..65535 (tcp://HOST:PORT)").arg(text));
    if (!url.path().isEmpty() && url.path() != QLatin1String("/"))
        return fail(QStringLiteral("%1: nothing may follow the port").arg(text));
    NetAddress a;
    a.kind = url.scheme().compare(RawScheme, Qt::CaseInsensitive) == 0 ? NetAddress::Kind::Raw
                                                                       : NetAddress::Kind::Rfc2217;
    a.host = url.host();
    a.port = quint16(url.port());
    return a;
}

std::optional<NetAddress> netAddressFrom(NetAddress::Kind kind, const QString &host, const QString &port,
                                         QString *why)
{
    const auto fail = [&](const QString &reason) -> std::optional<NetAddress> {
        if (why) *why = reason;
        return std::nullopt;
    };
    QString name = host.trimmed();
    if (name.isEmpty()) return fail(QStringLiteral("Enter the host name or address of the device server."));
    bool number = false;
    const uint value = port.trimmed().toUInt(&number);
    if (!number || value < 1 || value > 65535)
        return fail(QStringLiteral("The port must be a number from 1 to 65535."));
    // What QUrl would take for a user, a path or a query is no part of a host.
    const bool foreign =
        name.contains(u'@') || name.contains(u'/') || name.contains(u'?') || name.contains(u'#');
    if (name.contains(u':') && !name.startsWith(u'[')) name = u'[' + name + u']';
    const QString scheme = kind == NetAddress::Kind::Raw ? RawScheme : Rfc2217Scheme;
    const auto address = parseNetAddress(QStringLiteral("%1://%2:%3").arg(scheme, name).arg(value));
    if (foreign || !address)
        return fail(QStringLiteral("%1 is not a host name or address.").arg(host.trimmed()));
    return address;
}

} // namespace spk
