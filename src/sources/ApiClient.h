#pragma once

#include "platform/EntryText.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class QDeadlineTimer;
class QNetworkCookieJar;
class QTcpSocket;
struct THttpAddress;

// The client of the server's file API. One per main window: it keeps the cookies the
// server sets for the rest of the run. Every exchange blocks until the reply is complete
// or the exchange has failed, so callers need no event loop of their own. While it
// waits, the thread's events run except user input: a window stays drawn and takes
// no click until the exchange ends.
class TApiClient
{
public:
    // Without limits a server that accepts and then says nothing would freeze the
    // window for good, one that trickles a byte now and then would hold it for
    // hours, and a runaway one could fill the memory. Every limit of an exchange
    // is here.
    static constexpr int DefaultConnectTimeoutMs = 15'000;
    static constexpr int DefaultIdleReadTimeoutMs = 60'000;
    static constexpr int DefaultListExchangeMs = 2 * 60'000;
    static constexpr int DefaultFetchExchangeMs = 10 * 60'000;
    // A reply's body has a local file's limit.
    static constexpr qint64 DefaultMaxReplyBytes = MaxEntryBytes;

    TApiClient();
    ~TApiClient();
    TApiClient(const TApiClient&) = delete;
    TApiClient& operator=(const TApiClient&) = delete;

    // Posts the fields as a form to the address over a new connection and returns the
    // reply's lines. Never raises: a failed exchange gives the local error reply.
    QStringList PostApiRequest(const QString& url, const QList<QPair<QString, QString>>& fields);

    // The time-outs cover connecting (with the TLS handshake), each wait for more
    // bytes, and the whole exchange from connecting to the reply's last byte: a
    // fetch (a request that names a file) may take longer than the list. Running
    // out of any of them is a failed exchange.
    void SetConnectTimeoutMs(int ms) { FConnectTimeoutMs = ms; }
    void SetIdleReadTimeoutMs(int ms) { FIdleReadTimeoutMs = ms; }
    void SetListExchangeMs(int ms) { FListExchangeMs = ms; }
    void SetFetchExchangeMs(int ms) { FFetchExchangeMs = ms; }
    void SetMaxReplyBytes(qint64 bytes) { FMaxReplyBytes = bytes; }

    // The size of the last successful exchange's reply body, as received.
    qint64 LastReplyBytes() const { return FLastReplyBytes; }

private:
    std::unique_ptr<QTcpSocket> Connect(const THttpAddress& address, const QDeadlineTimer& deadline) const;
    bool Exchange(const THttpAddress& address, const QByteArray& body, const QDeadlineTimer& deadline,
                  QStringList& lines);

    std::unique_ptr<QNetworkCookieJar> FCookies;
    int FConnectTimeoutMs = DefaultConnectTimeoutMs;
    int FIdleReadTimeoutMs = DefaultIdleReadTimeoutMs;
    int FListExchangeMs = DefaultListExchangeMs;
    int FFetchExchangeMs = DefaultFetchExchangeMs;
    qint64 FMaxReplyBytes = DefaultMaxReplyBytes;
    qint64 FLastReplyBytes = 0;
};

// What a failed exchange returns: "Result=Error" and "Error=Could not connect to " + url.
QStringList LocalErrorReply(const QString& url);

// The value of the first key line ("name=value") whose name equals key without regard
// to letter case; empty when there is none.
QString ReplyValue(const QStringList& lines, const QString& key);

// The reply's Result is exactly "Ok" (so "OK" is a failure).
bool ReplySucceeded(const QStringList& lines);
