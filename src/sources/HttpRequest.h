#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Where one exchange goes, read from the file API's address.
struct THttpAddress
{
    bool Secure = false;   // https: the connection is secured with TLS
    QString Host;          // for connecting: no brackets around an IPv6 literal
    quint16 Port = 0;      // the scheme's default when the address names none
    QByteArray HostHeader; // host, plus ":" + port unless it is the scheme's default
    QByteArray Target;     // path (and query) as sent on the request line
};

// Reads "http://host[:port][/path]" or "https://...". Nothing when the address cannot
// be used (no or another scheme, an empty host, blanks or control characters in the
// host, a port that is not a number of 1..65535): the exchange then fails.
std::optional<THttpAddress> ParseHttpAddress(const QString& url);

// The whole request as it goes on the wire: request line, the six header lines in their
// order, "Cookie" last when cookieHeader is not empty, the empty line and the body.
QByteArray BuildHttpRequest(const THttpAddress& address, const QByteArray& body,
                            const QByteArray& cookieHeader);
