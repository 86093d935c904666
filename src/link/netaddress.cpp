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

} // namespace spk
