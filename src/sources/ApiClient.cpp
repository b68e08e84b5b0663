#include "sources/ApiClient.h"

#include "sources/FormEncoding.h"
#include "sources/HttpReply.h"
#include "sources/HttpRequest.h"

#include <QDeadlineTimer>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>
#include <algorithm>

namespace {

constexpr qint64 ReadBlockBytes = 256 * 1024;

QUrl CookieUrl(const THttpAddress& address)
{
    QUrl url;
    url.setScheme(address.Secure ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(address.Host);
    url.setPort(address.Port);
    url.setPath(QString::fromLatin1(address.Target.left(address.Target.indexOf('?'))), QUrl::TolerantMode);
    return url;
}

QByteArray CookieHeader(const QList<QNetworkCookie>& cookies)
{
    QByteArray header;
    for (const QNetworkCookie& cookie : cookies) {
        if (!header.isEmpty())
            header += "; ";
        header += cookie.toRawForm(QNetworkCookie::NameAndValueOnly);
    }
    return header;
}

// A wait of at most `ms`, cut short by the whole exchange's deadline.
int WaitMs(int ms, const QDeadlineTimer& deadline)
{
    return int(qMin<qint64>(ms, deadline.remainingTime()));
}

bool NamesAFile(const QList<QPair<QString, QString>>& fields)
{
    return std::any_of(fields.cbegin(), fields.cend(),
                       [](const auto& field) { return field.first == QLatin1String("Name"); });
}

} // namespace

TApiClient::TApiClient() : FCookies(std::make_unique<QNetworkCookieJar>()) {}

TApiClient::~TApiClient() = default;

QStringList LocalErrorReply(const QString& url)
{
    return {QStringLiteral("Result=Error"), QStringLiteral("Error=Could not connect to ") + url};
}

QStringList TApiClient::PostApiRequest(const QString& url, const QList<QPair<QString, QString>>& fields)
{
    try {
        const std::optional<THttpAddress> address = ParseHttpAddress(url);
        // Started before connecting: a slow connect counts against the whole.
        const QDeadlineTimer deadline(NamesAFile(fields) ? FFetchExchangeMs : FListExchangeMs);
        QStringList lines;
        if (address && Exchange(*address, FormEncode(fields), deadline, lines))
            return lines;
    } catch (...) {
        // Out of memory on a huge reply, or anything else: still only a failed exchange.
    }
    return LocalErrorReply(url);
}

std::unique_ptr<QTcpSocket> TApiClient::Connect(const THttpAddress& address,
                                                const QDeadlineTimer& deadline) const
{
    if (!address.Secure) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(address.Host, address.Port);
        if (!socket->waitForConnected(WaitMs(FConnectTimeoutMs, deadline)))
            return nullptr;
        return socket;
    }
    if (!QSslSocket::supportsSsl())
        return nullptr;
    auto socket = std::make_unique<QSslSocket>();
    // Servers commonly use self-signed certificates, so the peer is not verified and no
    // certificate of ours is offered; the versions are those the TLS library allows.
    socket->setPeerVerifyMode(QSslSocket::VerifyNone);
    socket->setProtocol(QSsl::AnyProtocol);
    socket->connectToHostEncrypted(address.Host, address.Port);
    if (!socket->waitForEncrypted(WaitMs(FConnectTimeoutMs, deadline)))
        return nullptr;
    return socket;
}

bool TApiClient::Exchange(const THttpAddress& address, const QByteArray& body, const QDeadlineTimer& deadline,
                          QStringList& lines)
{
    const QUrl cookieUrl = CookieUrl(address);
    const QByteArray request =
        BuildHttpRequest(address, body, CookieHeader(FCookies->cookiesForUrl(cookieUrl)));

    std::unique_ptr<QTcpSocket> socket = Connect(address, deadline);
    if (!socket)
        return false;
    if (socket->write(request) != request.size())
        return false;
    while (socket->bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket->waitForBytesWritten(WaitMs(FIdleReadTimeoutMs, deadline)))
            return false;
    }

    THttpReplyReader reader(FMaxReplyBytes);
    while (!reader.IsComplete()) {
        // Each byte restarts the wait for the next, so only the deadline stops
        // a server that trickles.
        if (deadline.hasExpired())
            return false;
        if (socket->bytesAvailable() == 0 && !socket->waitForReadyRead(WaitMs(FIdleReadTimeoutMs, deadline))) {
            if (socket->bytesAvailable() > 0)
                continue;
            // Nothing more came: either the server closed (which may end the reply) or
            // the wait ran out or the connection broke.
            if (socket->error() != QAbstractSocket::RemoteHostClosedError)
                return false;
            if (!reader.Close())
                return false;
            break;
        }
        const QByteArray block = socket->read(ReadBlockBytes);
        if (!reader.Feed(block))
            return false;
    }
    socket->abort();

    for (const QByteArray& value : reader.HeaderValues("Set-Cookie"))
        FCookies->setCookiesFromUrl(QNetworkCookie::parseCookies(value), cookieUrl);
    // Redirects are not followed, and everything outside 2xx is a failed exchange.
    if (reader.Status() < 200 || reader.Status() > 299)
        return false;
    const QList<QByteArray> types = reader.HeaderValues("Content-Type");
    const QString text = DecodeReplyText(reader.TakeBody(), types.isEmpty() ? QByteArray() : types.last());
    lines = SplitReplyLines(text);
    return true;
}

QString ReplyValue(const QStringList& lines, const QString& key)
{
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (QStringView(line).left(equals).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return QString();
}

bool ReplySucceeded(const QStringList& lines)
{
    return ReplyValue(lines, QStringLiteral("Result")) == QLatin1String("Ok");
}
