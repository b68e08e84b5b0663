#include "TestServer.h"
#include "support/QtPrinters.h"

#include "sources/ApiClient.h"
#include "sources/ApiUrl.h"
#include "sources/RemoteEntries.h"
#include "sources/RemoteFetch.h"

#include <QSslSocket>
#include <gtest/gtest.h>

// Requests are compared as text, so a failure shows the lines that differ.
static void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toStdString() << '"';
}

namespace {

const QString Password = QString::fromLatin1(TTestServer::Password);

// The lines of a hand-history file on the server, written as UTF-8 with CR LF.
const QStringList CafeLines{"Hand #1 - 2024-02-01 12:00:00", "Table Caf\u00e9 Royal", "", "Rake 0.25"};

QByteArray RequestBytes(const QByteArray& hostHeader, const QByteArray& body,
                        const QByteArray& extraHeader = {})
{
    return "POST /api HTTP/1.0\r\n"
           "Connection: keep-alive\r\n"
           "Content-Type: application/x-www-form-urlencoded\r\n"
           "Content-Length: " +
           QByteArray::number(body.size()) +
           "\r\n"
           "Host: " +
           hostHeader +
           "\r\n"
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/5.0 (compatible; Zantreo Server)\r\n" +
           extraHeader + "\r\n" + body;
}

QByteArray LocalHost(const TTestServer& server)
{
    return "127.0.0.1:" + QByteArray::number(server.Port());
}

void AddTwoFiles(const TTestServer& server)
{
    server.AddFile("HH2024-01-31 Alpha.txt", "Hand #9\r\n");
    server.AddFile(QString::fromUtf8("HH2024-02-01 Caf\xc3\xa9 Royal.txt"),
                   CafeLines.join("\r\n").toUtf8() + "\r\n");
}

// Short limits, so that a client fault shows as a failure rather than a long wait.
struct TTestClient : TApiClient
{
    TTestClient()
    {
        SetConnectTimeoutMs(5000);
        SetIdleReadTimeoutMs(5000);
    }
};

const QStringList TwoFilesReply{"Result=Ok",   "Files=2",          "Date1=2024-01-31",
                                "Name1=Alpha", "Date2=2024-02-01", "Name2=Caf\u00e9 Royal"};

TEST(ApiExchange, TlsBackendIsAvailable)
{
    EXPECT_TRUE(QSslSocket::supportsSsl()) << "Qt's TLS backend could not be loaded";
}

TEST(ApiExchange, ExactRequestsOnTheWire)
{
    TTestServer server;
    const QString password = QString::fromUtf8("p w&=%+\xc3\xa9\xe2\x82\xac");
    ASSERT_TRUE(server.Start({"--password", password}));
    AddTwoFiles(server);
    TTestClient client;
    const QString url = BuildApiUrl({"127.0.0.1", QString::number(server.Port()), "api", password});

    EXPECT_TRUE(ReplySucceeded(client.PostApiRequest(url, ListFormFields(password))));
    const QStringList fetched =
        client.PostApiRequest(url, FetchFormFields(password, "HH2024-01-31 Alpha.txt"));
    EXPECT_EQ(fetched, QStringList({"Result=Ok", "Hand #9"}));

    const QList<QByteArray> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2);
    const QByteArray encoded = "p+w%26%3D%25%2B%C3%A9%E2%82%AC";
    EXPECT_EQ(requests[0], RequestBytes(LocalHost(server), "Command=LogsHandHistory&Password=" + encoded));
    EXPECT_EQ(requests[1], RequestBytes(LocalHost(server), "Command=LogsHandHistory&Password=" + encoded +
                                                               "&Date=2024-01-31&Name=Alpha"));
}

TEST(ApiExchange, DefaultPortLeavesHostBare)
{
    TTestServer server;
    if (!server.Start({}, 80))
        GTEST_SKIP() << "port 80 is not available here";
    for (const QString port : {"80", "080"}) {
        TTestClient client;
        const QString url = BuildApiUrl({"127.0.0.1", port, "api", Password});
        EXPECT_TRUE(ReplySucceeded(client.PostApiRequest(url, ListFormFields(Password))))
            << url.toStdString();
    }
    const QByteArray expected = RequestBytes("127.0.0.1", "Command=LogsHandHistory&Password=pw");
    EXPECT_EQ(server.Requests(), QList<QByteArray>({expected, expected}));
}

TEST(ApiExchange, HttpsAddressSpeaksTls)
{
    TTestServer server;
    ASSERT_TRUE(server.Start({"--tls"}));
    AddTwoFiles(server);
    TTestClient client;
    const QString url = BuildApiUrl({"https://127.0.0.1", QString::number(server.Port()), "api", Password});
    EXPECT_EQ(client.PostApiRequest(url, ListFormFields(Password)), TwoFilesReply);
    EXPECT_EQ(server.Requests(),
              QList<QByteArray>({RequestBytes(LocalHost(server), "Command=LogsHandHistory&Password=pw")}));
}

TEST(ApiExchange, RepliesReadByEveryFramingAndCharset)
{
    for (const bool tls : {false, true}) {
        for (const QString framing : {"length", "chunked", "close"}) {
            for (const QString charset : {"", "utf-8"}) {
                SCOPED_TRACE(
                    QString("%1 %2 [%3]").arg(tls ? "https" : "http", framing, charset).toStdString());
                TTestServer server;
                QStringList options{"--framing", framing, "--charset", charset};
                if (tls)
                    options << "--tls";
                ASSERT_TRUE(server.Start(options));
                AddTwoFiles(server);
                // With "length" and "chunked" the server keeps the connection open after the reply,
                // so a client that waited for the close would run out of time here.
                TTestClient client;
                const QStringList list = client.PostApiRequest(server.Url(tls), ListFormFields(Password));
                EXPECT_EQ(list, TwoFilesReply);
                const QStringList entries = BuildRemoteEntries(list);
                ASSERT_EQ(entries.size(), 2);
                EXPECT_EQ(client.PostApiRequest(server.Url(tls), FetchFormFields(Password, entries[1])),
                          QStringList{"Result=Ok"} + CafeLines);
            }
        }
    }
}

TEST(ApiExchange, ReplyContentsAsTheCallerReadsThem)
{
    struct TCase
    {
        const char* Name;
        QStringList Options;
        bool WithFiles;
        bool Succeeded;
        int Entries;
    } cases[] = {
        {"lower-case keys", {"--lowercase-keys"}, true, true, 2},
        {"OK in capitals", {"--result-caps"}, true, false, 2},
        {"no Files line", {"--no-files-line"}, true, true, 0},
        {"Files=0", {}, false, true, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestServer server;
        ASSERT_TRUE(server.Start(c.Options));
        if (c.WithFiles)
            AddTwoFiles(server);
        TTestClient client;
        const QStringList reply = client.PostApiRequest(server.Url(), ListFormFields(Password));
        EXPECT_EQ(ReplySucceeded(reply), c.Succeeded);
        EXPECT_EQ(BuildRemoteEntries(reply).size(), c.Entries);
    }
}

TEST(ApiExchange, FetchRepliesOfNoLinesAndServerErrors)
{
    TTestServer server;
    ASSERT_TRUE(server.Start({"--fail-name", "Broken"}));
    server.AddFile("HH2024-03-01 Empty.txt", "");
    server.AddFile("HH2024-03-01 Broken.txt", "Hand #1\r\n");
    TTestClient client;
    EXPECT_EQ(client.PostApiRequest(server.Url(), FetchFormFields(Password, "HH2024-03-01 Empty.txt")),
              QStringList{"Result=Ok"});
    const QStringList failed =
        client.PostApiRequest(server.Url(), FetchFormFields(Password, "HH2024-03-01 Broken.txt"));
    EXPECT_FALSE(ReplySucceeded(failed));
    EXPECT_EQ(ReplyValue(failed, "Error"), "Could not read Broken");
    const QStringList refused = client.PostApiRequest(server.Url(), ListFormFields("wrong"));
    EXPECT_EQ(refused, QStringList({"Result=Error", "Error=Invalid password"}));
}

TEST(ApiExchange, EveryFailureIsTheLocalErrorReply)
{
    const qint64 noCap = TApiClient::DefaultMaxReplyBytes;
    struct TCase
    {
        const char* Name;
        bool StartServer; // without one, nothing listens on the port
        QStringList Options;
        QString Url; // %1: the port
        qint64 MaxReplyBytes;
    } cases[] = {
        {"nothing listening", false, {}, "http://127.0.0.1:%1/api", noCap},
        {"host name that does not resolve", false, {}, "http://no-such-host.invalid:%1/api", noCap},
        {"blanks in the host", false, {}, "http:// 127.0.0.1 :%1/api", noCap},
        {"status 500", true, {"--status", "500"}, "http://127.0.0.1:%1/api", noCap},
        {"status 404", true, {"--api-path", "other"}, "http://127.0.0.1:%1/api", noCap},
        {"redirect not followed", true, {"--status", "302"}, "http://127.0.0.1:%1/api", noCap},
        {"reply cut mid-body", true, {"--cut"}, "http://127.0.0.1:%1/api", noCap},
        {"cut chunked reply", true, {"--cut", "--framing", "chunked"}, "http://127.0.0.1:%1/api", noCap},
        {"malformed status line", true, {"--malformed-status"}, "http://127.0.0.1:%1/api", noCap},
        {"silent server", true, {"--silent"}, "http://127.0.0.1:%1/api", noCap},
        {"TLS against a plain server", true, {}, "https://127.0.0.1:%1/api", noCap},
        {"plain request to a TLS server", true, {"--tls"}, "http://127.0.0.1:%1/api", noCap},
        {"reply over the cap", true, {}, "http://127.0.0.1:%1/api", 100},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestServer server;
        if (c.StartServer) {
            ASSERT_TRUE(server.Start(c.Options));
            AddTwoFiles(server);
        }
        const QString url = c.Url.arg(c.StartServer ? server.Port() : UnusedLocalPort());
        TTestClient client;
        client.SetIdleReadTimeoutMs(700);
        client.SetMaxReplyBytes(c.MaxReplyBytes);
        QStringList reply;
        EXPECT_NO_THROW(reply = client.PostApiRequest(url, ListFormFields(Password)));
        EXPECT_EQ(reply, LocalErrorReply(url));
    }
}

// A reply has a local file's limit, however its body is framed: one announced
// past it is refused on its head, one that only comes past it as its bytes
// arrive; one at the limit is read whole.
TEST(ApiExchange, AReplyPastTheFileLimitIsAFailedExchange)
{
    const qint64 fileLimit = MaxEntryBytes;
    ASSERT_EQ(TApiClient::DefaultMaxReplyBytes, fileLimit);
    struct TCase
    {
        const char* Framing;
        qint64 BodyBytes;
        qint64 Cap; // 0: the client's own
        bool Read;
    } cases[] = {
        {"length", fileLimit + 1, 0, false}, {"length", 4011, 4011, true},     {"length", 4012, 4011, false},
        {"close", 4011, 4011, true},         {"close", 4012, 4011, false},     {"chunked", 4011, 4011, true},
        {"chunked", 70011, 70011, true},     {"chunked", 70012, 70011, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Framing) + " " + std::to_string(c.BodyBytes));
        TTestServer server;
        ASSERT_TRUE(server.Start({"--framing", c.Framing, "--body-bytes", QString::number(c.BodyBytes)}));
        TTestClient client;
        if (c.Cap > 0)
            client.SetMaxReplyBytes(c.Cap);
        const QStringList reply =
            client.PostApiRequest(server.Url(), FetchFormFields(Password, "HH2024-01-31 Alpha.txt"));
        if (!c.Read) {
            EXPECT_EQ(reply, LocalErrorReply(server.Url()));
            continue;
        }
        ASSERT_TRUE(ReplySucceeded(reply));
        EXPECT_EQ(client.LastReplyBytes(), c.BodyBytes);
        EXPECT_EQ(reply.join("\r\n").size() + 2, c.BodyBytes); // whole lines of 40 bytes
    }
}

// A server that sends a byte every 5 ms is never silent for the idle time-out:
// only the whole exchange's limit, the list's or the fetch's, ends it.
TEST(ApiExchange, ATricklingServerRunsOutTheWholeExchangeLimit)
{
    TTestServer server;
    ASSERT_TRUE(server.Start({"--trickle-ms", "5"}));
    AddTwoFiles(server);
    const QString fetched = "HH2024-01-31 Alpha.txt";
    struct TCase
    {
        const char* Name;
        bool Fetch;
        int ListMs;
        int FetchMs;
        bool Completes;
    } cases[] = {
        {"list over its limit", false, 300, 60'000, false},
        {"list within its limit", false, 60'000, 300, true},
        {"fetch over its limit", true, 60'000, 300, false},
        {"fetch within its limit", true, 300, 60'000, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestClient client;
        client.SetIdleReadTimeoutMs(2000);
        client.SetListExchangeMs(c.ListMs);
        client.SetFetchExchangeMs(c.FetchMs);
        const QStringList reply = client.PostApiRequest(
            server.Url(), c.Fetch ? FetchFormFields(Password, fetched) : ListFormFields(Password));
        if (c.Completes)
            EXPECT_EQ(reply, c.Fetch ? QStringList({"Result=Ok", "Hand #9"}) : TwoFilesReply);
        else
            EXPECT_EQ(reply, LocalErrorReply(server.Url()));
    }
}

TEST(ApiExchange, CookiesComeBackForTheRestOfTheRun)
{
    TTestServer server;
    ASSERT_TRUE(server.Start({"--set-cookie", "session=abc123; Path=/", "--set-cookie", "theme=dark"}));
    TTestClient client;
    EXPECT_TRUE(ReplySucceeded(client.PostApiRequest(server.Url(), ListFormFields(Password))));
    EXPECT_TRUE(ReplySucceeded(client.PostApiRequest(server.Url(), ListFormFields(Password))));
    TTestClient nextRun;
    EXPECT_TRUE(ReplySucceeded(nextRun.PostApiRequest(server.Url(), ListFormFields(Password))));

    const QList<QByteArray> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3);
    const QByteArray body = "Command=LogsHandHistory&Password=pw";
    EXPECT_EQ(requests[0], RequestBytes(LocalHost(server), body));
    // The jar may order cookies of equal paths either way; both must be there, last.
    const QByteArray a = RequestBytes(LocalHost(server), body, "Cookie: session=abc123; theme=dark\r\n");
    const QByteArray b = RequestBytes(LocalHost(server), body, "Cookie: theme=dark; session=abc123\r\n");
    EXPECT_TRUE(requests[1] == a || requests[1] == b) << requests[1].constData();
    EXPECT_EQ(requests[2], RequestBytes(LocalHost(server), body));
}

} // namespace

TEST(ApiExchange, RemoteListAndFetchGiveEntriesOrTheErrorText)
{
    TTestServer server;
    ASSERT_TRUE(server.Start());
    AddTwoFiles(server);
    TTestClient client;
    const TConnectionFields fields{"127.0.0.1", QString::number(server.Port()), "api", Password};
    int busy = 0;
    EXPECT_EQ(FetchRemoteList(client, fields, [&busy](bool on) { busy += on ? 1 : 10; }),
              (QStringList{"HH2024-01-31 Alpha.txt", "HH2024-02-01 Caf\u00e9 Royal.txt"}));
    EXPECT_EQ(busy, 11) << "shown once and ended once";
    EXPECT_EQ(FetchRemoteEntry(client, fields, "HH2024-02-01 Caf\u00e9 Royal.txt").Lines, CafeLines)
        << "the result line is removed";

    const auto errorOf = [](const std::function<void()>& fetch) {
        try {
            fetch();
        } catch (const TError& e) {
            return e.Message();
        }
        return QStringLiteral("<no error>");
    };
    TConnectionFields wrong = fields;
    wrong.Password = "nope";
    EXPECT_EQ(errorOf([&] { FetchRemoteList(client, wrong); }), "Invalid password");
    const TConnectionFields down{"127.0.0.1", QString::number(UnusedLocalPort()), "api", Password};
    EXPECT_EQ(errorOf([&] { FetchRemoteEntry(client, down, "HH2024-01-31 Alpha.txt"); }),
              "Could not connect to " + BuildApiUrl(down));
}

// Started as the README says, the server keeps every name, also those that
// ISO-8859-1 has no letter for.
TEST(ApiExchange, TheServersDefaultRepliesKeepEveryName)
{
    TTestServer server;
    ASSERT_TRUE(server.Start());
    const QStringList lines{"Hand #1 - 2024-02-01 12:00:00", "Seat 1: \u017dofie (10)",
                            "Seat 2: \u0141ukasz (5)", "Seat 3: Ren\u00e9e (7)", "Rake 0.25 \u20ac"};
    server.AddFile("HH2024-02-01 Names.txt", lines.join("\r\n").toUtf8() + "\r\n");
    TTestClient client;
    const QStringList entries =
        BuildRemoteEntries(client.PostApiRequest(server.Url(), ListFormFields(Password)));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(client.PostApiRequest(server.Url(), FetchFormFields(Password, entries[0])),
              QStringList{"Result=Ok"} + lines);
}
