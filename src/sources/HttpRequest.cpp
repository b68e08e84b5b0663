#include "sources/HttpRequest.h"

#include <QHostAddress>
#include <QUrl>

namespace {

// Bytes that cannot stand on a request line: controls, blank, non-ASCII and the few
// characters a URL path never carries raw.
bool NeedsPercent(unsigned char b)
{
    return b <= 0x20 || b >= 0x7F || b == '"' || b == '<' || b == '>' || b == '`' || b == '{' || b == '}';
}

QByteArray EncodeTarget(const QString& target)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : target.toUtf8()) {
        const auto b = static_cast<unsigned char>(c);
        if (NeedsPercent(b)) {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

bool AllDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

std::optional<THttpAddress> ParseHttpAddress(const QString& url)
{
    const qsizetype schemeEnd = url.indexOf(QLatin1String("://"));
    if (schemeEnd <= 0)
        return std::nullopt;
    THttpAddress address;
    const QString scheme = url.left(schemeEnd).toLower();
    if (scheme == QLatin1String("https"))
        address.Secure = true;
    else if (scheme != QLatin1String("http"))
        return std::nullopt;

    const QString rest = url.mid(schemeEnd + 3);
    qsizetype authorityEnd = 0;
    while (authorityEnd < rest.size() && rest.at(authorityEnd) != u'/' && rest.at(authorityEnd) != u'?' &&
           rest.at(authorityEnd) != u'#')
        ++authorityEnd;
    QString authority = rest.left(authorityEnd);
    QString target = rest.mid(authorityEnd);
    target = target.left(target.indexOf(u'#') < 0 ? target.size() : target.indexOf(u'#'));
    if (!target.startsWith(u'/'))
        target.prepend(u'/');
    // No authentication is ever sent, so user details in the address are dropped.
    authority = authority.mid(authority.lastIndexOf(u'@') + 1);

    QString host;
    QString portText;
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(u':'))
            return std::nullopt;
        portText = after.mid(1);
    } else {
        const qsizetype colon = authority.indexOf(u':');
        host = colon < 0 ? authority : authority.left(colon);
        portText = colon < 0 ? QString() : authority.mid(colon + 1);
    }
    if (host.isEmpty())
        return std::nullopt;
    for (const QChar c : host) {
        if (c.unicode() <= 32)
            return std::nullopt;
    }
    QByteArray asciiHost;
    const bool bracketed = authority.startsWith(u'[');
    if (bracketed) {
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
        asciiHost = host.toLatin1();
    } else {
        bool ascii = true;
        for (const QChar c : host)
            ascii = ascii && c.unicode() < 0x80;
        // A header line is ASCII: an international name goes in its ASCII form.
        asciiHost = ascii ? host.toLatin1() : QUrl::toAce(host);
        if (asciiHost.isEmpty())
            return std::nullopt;
    }

    const quint16 defaultPort = address.Secure ? 443 : 80;
    address.Port = defaultPort;
    if (!portText.isEmpty()) {
        if (!AllDigits(portText) || portText.size() > 5)
            return std::nullopt;
        const int port = portText.toInt();
        if (port < 1 || port > 65535)
            return std::nullopt;
        address.Port = quint16(port);
    }

    address.Host = QString::fromLatin1(asciiHost);
    const QByteArray shownHost = bracketed ? '[' + asciiHost + ']' : asciiHost;
    // "080" reaches port 80 like "80" does, so the header compares numbers, not texts.
    address.HostHeader =
        address.Port == defaultPort ? shownHost : shownHost + ':' + QByteArray::number(address.Port);
    address.Target = EncodeTarget(target);
    return address;
}

QByteArray BuildHttpRequest(const THttpAddress& address, const QByteArray& body,
                            const QByteArray& cookieHeader)
{
    QByteArray request;
    request.reserve(300 + body.size());
    request += "POST " + address.Target + " HTTP/1.0\r\n";
    request += "Connection: keep-alive\r\n";
    request += "Content-Type: application/x-www-form-urlencoded\r\n";
    request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    request += "Host: " + address.HostHeader + "\r\n";
    request += "Accept: text/html, */*\r\n";
    request += "User-Agent: Mozilla/5.0 (compatible; Zantreo Server)\r\n";
    if (!cookieHeader.isEmpty())
        request += "Cookie: " + cookieHeader + "\r\n";
    request += "\r\n";
    request += body;
    return request;
}
