#include "sources/HttpReply.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

enum class TEnd
{
    Complete,
    Pending,
    Failed
};

struct TReplyCase
{
    const char* Name;
    QByteArray Raw;
    bool Closed; // the server closes after the bytes
    TEnd End;
    int Status;
    QByteArray Body;
};

const TReplyCase ReplyCases[] = {
    {"length, extra bytes ignored", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", false,
     TEnd::Complete, 200, "hello"},
    {"length, cut", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello", true, TEnd::Failed, 0, ""},
    {"length, still waiting", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nhello", false, TEnd::Pending, 200,
     "hello"},
    {"length 0", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", false, TEnd::Complete, 200, ""},
    {"equal lengths", "HTTP/1.0 200 OK\r\nContent-Length: 2, 2\r\ncontent-length: 2\r\n\r\nok", false,
     TEnd::Complete, 200, "ok"},
    {"differing lengths", "HTTP/1.0 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nok!", false,
     TEnd::Failed, 0, ""},
    {"length not a number", "HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\n", false, TEnd::Failed, 0, ""},
    {"chunked",
     "HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n5;ext=1\r\nhello\r\nA\r\n, world!!!\r\n0\r\n"
     "Trailer: x\r\n\r\n",
     false, TEnd::Complete, 200, "hello, world!!!"},
    {"chunked, upper-case size",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nB\r\nhello world\r\n0\r\n\r\n", false,
     TEnd::Complete, 200, "hello world"},
    {"chunked, no last chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", true,
     TEnd::Failed, 0, ""},
    {"chunked, data too long",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhelloX\r\n0\r\n\r\n", false, TEnd::Failed, 0,
     ""},
    {"chunked, 0x size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0x5\r\nhello\r\n0\r\n\r\n",
     false, TEnd::Failed, 0, ""},
    {"chunked, empty size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n", false, TEnd::Failed,
     0, ""},
    {"chunked wins over length",
     "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: chunked\r\n\r\n"
     "2\r\nok\r\n0\r\n\r\n",
     false, TEnd::Complete, 200, "ok"},
    {"close-delimited", "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nline1\r\nline2", true,
     TEnd::Complete, 200, "line1\r\nline2"},
    {"close-delimited, still open", "HTTP/1.0 200 OK\r\n\r\nline1", false, TEnd::Pending, 200, "line1"},
    {"closed in the headers", "HTTP/1.0 200 OK\r\nContent-Type: te", true, TEnd::Failed, 0, ""},
    {"closed before anything", "", true, TEnd::Failed, 0, ""},
    {"status 500 is read", "HTTP/1.0 500 Oops\r\nContent-Length: 2\r\n\r\nno", false, TEnd::Complete, 500,
     "no"},
    {"no reason", "HTTP/1.1 200\r\nContent-Length: 1\r\n\r\nx", false, TEnd::Complete, 200, "x"},
    {"bare LF lines", "HTTP/1.0 200 OK\nContent-Length: 2\n\nok", false, TEnd::Complete, 200, "ok"},
    {"empty line first", "\r\nHTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false, TEnd::Complete, 200,
     "ok"},
    {"interim 100 skipped",
     "HTTP/1.1 100 Continue\r\nX: y\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", false,
     TEnd::Complete, 200, "ok"},
    {"101 refused", "HTTP/1.1 101 Switching\r\n\r\n", false, TEnd::Failed, 0, ""},
    {"204 has no body", "HTTP/1.1 204 No Content\r\n\r\n", false, TEnd::Complete, 204, ""},
    {"no status code", "HTTP/1.0 OK\r\n\r\n", true, TEnd::Failed, 0, ""},
    {"letter in code", "HTTP/1.0 2x0 OK\r\n\r\n", true, TEnd::Failed, 0, ""},
    {"no blank after code", "HTTP/1.0 200OK\r\n\r\n", true, TEnd::Failed, 0, ""},
    {"code below 100", "HTTP/1.0 099 Low\r\n\r\n", true, TEnd::Failed, 0, ""},
    {"not HTTP", "SSH-2.0-OpenSSH\r\n", true, TEnd::Failed, 0, ""},
    {"header without colon", "HTTP/1.0 200 OK\r\nBroken header\r\n\r\n", true, TEnd::Failed, 0, ""},
    {"blank in header name", "HTTP/1.0 200 OK\r\nBad Name: x\r\n\r\n", true, TEnd::Failed, 0, ""},
};

TEnd EndOf(const THttpReplyReader& reader)
{
    return reader.IsComplete() ? TEnd::Complete : reader.HasFailed() ? TEnd::Failed : TEnd::Pending;
}

TEST(HttpReplyReader, FramingAndMalformedRepliesInAnyPieces)
{
    for (const TReplyCase& c : ReplyCases) {
        // The same bytes arriving whole, one by one and in odd pieces must read the same.
        for (const qsizetype piece : {qsizetype(1), qsizetype(3), qsizetype(7), c.Raw.size() + 1}) {
            SCOPED_TRACE(std::string(c.Name) + ", pieces of " + std::to_string(piece));
            THttpReplyReader reader(1 << 20);
            for (qsizetype at = 0; at < c.Raw.size(); at += piece)
                reader.Feed(QByteArrayView(c.Raw).sliced(at, qMin(piece, c.Raw.size() - at)));
            if (c.Closed)
                reader.Close();
            ASSERT_EQ(EndOf(reader), c.End);
            if (c.End == TEnd::Failed)
                continue;
            EXPECT_EQ(reader.Status(), c.Status);
            EXPECT_EQ(reader.Body(), c.Body);
        }
    }
}

TEST(HttpReplyReader, SizeCapFailsTheReply)
{
    struct TCase
    {
        QByteArray Raw;
        bool Closed;
    } cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 64\r\n\r\n", false},               // announced beyond the cap
        {"HTTP/1.0 200 OK\r\n\r\n" + QByteArray(60, 'x'), true},                // close-delimited beyond it
        {"HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n", false}, // chunk beyond it
        {"HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(60, 'h'), false},           // endless header
    };
    for (const TCase& c : cases) {
        THttpReplyReader reader(50);
        reader.Feed(c.Raw);
        if (c.Closed)
            reader.Close();
        EXPECT_TRUE(reader.HasFailed()) << c.Raw.constData();
    }
    THttpReplyReader atCap(50);
    const QByteArray exact = "HTTP/1.0 200 OK\r\nContent-Length: 11\r\n\r\n" + QByteArray(11, 'x');
    ASSERT_EQ(exact.size(), 50);
    EXPECT_TRUE(atCap.Feed(exact));
    EXPECT_TRUE(atCap.IsComplete());
}

TEST(HttpReplyReader, RepeatedAndFoldedHeaders)
{
    THttpReplyReader reader(1 << 20);
    reader.Feed("HTTP/1.0 200 OK\r\nSet-Cookie: a=1\r\nX-Folded: one\r\n\t two\r\nset-cookie:b=2 \r\n"
                "Content-Length: 0\r\n\r\n");
    ASSERT_TRUE(reader.IsComplete());
    EXPECT_EQ(reader.HeaderValues("SET-COOKIE"), QList<QByteArray>({"a=1", "b=2"}));
    EXPECT_EQ(reader.HeaderValues("x-folded"), QList<QByteArray>({"one two"}));
    EXPECT_TRUE(reader.HeaderValues("Location").isEmpty());
}

TEST(ReplyText, DecodedByCharsetXmlRuleOrLatin1)
{
    const QByteArray utf8 = "Caf\xc3\xa9 \xe2\x82\xac";
    const QByteArray latin1 = "Caf\xe9 \x80";
    struct TCase
    {
        QByteArray Body, ContentType;
        QString Text;
    } cases[] = {
        {utf8, "text/html; charset=utf-8", QString::fromUtf8(utf8)},
        {utf8, "text/html;charset=\"UTF-8\"", QString::fromUtf8(utf8)},
        {"\xef\xbb\xbfResult=Ok", "text/plain; charset=utf-8", "Result=Ok"}, // a byte-order mark is no text
        {utf8, "text/html", QString::fromLatin1(utf8)},                      // no charset: byte for byte
        {latin1, "", QString::fromLatin1(latin1)},
        {latin1, "text/plain; format=flowed", QString::fromLatin1(latin1)},
        {latin1, "text/plain; charset=windows-1252", QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac")},
        {latin1, "text/plain; charset=ISO-8859-1", QString::fromLatin1(latin1)},
        {latin1, "text/plain; charset=x-unknown-set", QString::fromLatin1(latin1)},
        {"Caf\xe9", "text/xml", QString::fromUtf8("Caf\xef\xbf\xbd")},
        {"Caf\xe9", "application/rss+xml", QString::fromUtf8("Caf\xef\xbf\xbd")},
        {"Caf\xe9", "text/xml-external-parsed-entity", QString::fromUtf8("Caf\xef\xbf\xbd")},
        {"Caf\xe9", "application/xml", QString::fromLatin1("Caf\xe9")}, // only text/xml and +xml
        {"Caf\xc3\xa9", "text/xml; charset=utf-8", QString::fromUtf8("Caf\xc3\xa9")},
        {QByteArray("a\0b", 3), "text/plain", QString::fromLatin1("a\0b", 3)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DecodeReplyText(c.Body, c.ContentType), c.Text) << c.ContentType.constData();
}

TEST(ReplyText, SplitAtEveryKindOfBreak)
{
    struct TCase
    {
        QString Text;
        QStringList Lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"Result=Ok\r\n", {"Result=Ok"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SplitReplyLines(c.Text), c.Lines) << c.Text.toStdString();
}

} // namespace
