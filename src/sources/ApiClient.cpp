#include "sources/ApiClient.h"

#include "sources/ApiUrl.h"
#include "sources/FormEncoding.h"
#include "sources/HttpReply.h"
#include "sources/HttpRequest.h"

#include "platform/Interrupt.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <functional>

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

// Waits until ready() holds, the socket fails or `ms` run out. The thread's
// events run meanwhile, but no user input: a window stays drawn (paint,
// timers, the accessibility bridge) and takes no click until the exchange
// ends. Without a window nothing else is queued, so it is a plain wait.
bool WaitUntil(QAbstractSocket& socket, int ms, const std::function<bool()>& ready)
{
    if (ready())
        return true;
    if (ms <= 0)
        return false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = [&] {
        if (ready())
            loop.quit();
    };
    QObject::connect(&socket, &QAbstractSocket::connected, &loop, check);
    QObject::connect(&socket, &QIODevice::readyRead, &loop, check);
    QObject::connect(&socket, &QIODevice::bytesWritten, &loop, check);
    QObject::connect(&socket, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QAbstractSocket::disconnected, &loop, &QEventLoop::quit);
    if (auto* secure = qobject_cast<QSslSocket*>(&socket)) {
        QObject::connect(secure, &QSslSocket::encrypted, &loop, check);
        QObject::connect(secure, &QSslSocket::encryptedBytesWritten, &loop, check);
    }
    // Ctrl+C at the command line ends the wait as a failed exchange.
    QTimer interrupted;
    QObject::connect(&interrupted, &QTimer::timeout, &loop, [&loop] {
        if (Interrupt::Requested())
            loop.quit();
    });
    interrupted.start(100);
    timer.start(ms);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return ready();
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
    // The message may reach a screen or a log: no user and password in it.
    return {QStringLiteral("Result=Error"),
            QStringLiteral("Error=Could not connect to ") + WithoutUserInfo(url)};
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
        QTcpSocket& plain = *socket;
        if (!WaitUntil(plain, WaitMs(FConnectTimeoutMs, deadline),
                       [&plain] { return plain.state() == QAbstractSocket::ConnectedState; }))
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
    QSslSocket& secure = *socket;
    if (!WaitUntil(secure, WaitMs(FConnectTimeoutMs, deadline), [&secure] { return secure.isEncrypted(); }))
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
    QTcpSocket& peer = *socket;
    const auto connected = [&peer] { return peer.state() == QAbstractSocket::ConnectedState; };
    while (peer.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !connected())
            return false;
        // Each block written restarts the wait, as each block read does below.
        const qint64 before = peer.bytesToWrite();
        WaitUntil(peer, WaitMs(FIdleReadTimeoutMs, deadline),
                  [&peer, before] { return peer.bytesToWrite() < before; });
        if (peer.bytesToWrite() == before)
            return false;
    }

    THttpReplyReader reader(FMaxReplyBytes);
    while (!reader.IsComplete()) {
        // Each byte restarts the wait for the next, so only the deadline stops
        // a server that trickles.
        if (deadline.hasExpired())
            return false;
        if (peer.bytesAvailable() == 0)
            WaitUntil(peer, WaitMs(FIdleReadTimeoutMs, deadline),
                      [&peer, &connected] { return peer.bytesAvailable() > 0 || !connected(); });
        if (peer.bytesAvailable() == 0) {
            // Nothing more came: either the server closed (which may end the reply) or
            // the wait ran out or the connection broke.
            if (connected() || peer.error() != QAbstractSocket::RemoteHostClosedError)
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
    QString text;
    {
        // The bytes go before the lines are made: at most two of bytes, text
        // and lines are held at once.
        const QByteArray reply = reader.TakeBody();
        FLastReplyBytes = reply.size();
        text = DecodeReplyText(reply, types.isEmpty() ? QByteArray() : types.last());
    }
    lines = SplitReplyLines(std::move(text));
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
