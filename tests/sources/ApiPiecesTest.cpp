#include "sources/ApiChecks.h"
#include "sources/ApiClient.h"
#include "sources/ApiUrl.h"
#include "sources/FormEncoding.h"
#include "sources/HttpRequest.h"
#include "sources/RemoteEntries.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const TConnectionFields Defaults{"127.0.0.1", "8087", "api", "pw"};

TEST(ConnectionChecks, FirstEmptyTrimmedFieldFailsInOrder)
{
    struct TCase
    {
        TConnectionFields Fields;
        int Check; // 0: passes
        QString Message;
    } cases[] = {
        {Defaults, 0, ""},
        {{" \t127.0.0.1\r\n", " 8087 ", " api ", " p w "}, 0, ""},
        {{"!", "\x7f", QString(QChar(0xA0)), "x"}, 0, ""}, // only codes up to 32 are trimmed
        {{"", "", "", ""}, 1, "No IP specified"},
        {{QString::fromUtf16(u" \t\x01\x1f\x20"), "8087", "api", "pw"}, 1, "No IP specified"},
        {{"127.0.0.1", "  ", "", ""}, 2, "No File Port specified"},
        {{"127.0.0.1", "8087", "\t", "pw"}, 3, "No API Path specified (default is \"api\")"},
        {{"127.0.0.1", "8087", "api", " "}, 4, "No API Password specified"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message.toStdString());
        int check = 0;
        QString message;
        try {
            CheckConnectionFields(c.Fields);
        } catch (const TCheckFailure& failure) {
            check = int(failure.Check());
            message = failure.Message();
        }
        EXPECT_EQ(check, c.Check);
        EXPECT_EQ(message, c.Message);
    }
}

TEST(ApiUrl, BuiltFromTheFieldsAsTyped)
{
    struct TCase
    {
        TConnectionFields Fields;
        QString Url;
    } cases[] = {
        {Defaults, "http://127.0.0.1:8087/api"},
        {{"127.0.0.1", "80", "api", ""}, "http://127.0.0.1/api"},
        {{"127.0.0.1", "080", "api", ""}, "http://127.0.0.1:080/api"},
        {{"127.0.0.1", " 80", "api", ""}, "http://127.0.0.1: 80/api"},
        {{"https://host.example", "8443", "v1/api", ""}, "https://host.example:8443/v1/api"},
        {{"https://host.example", "80", "api", ""}, "https://host.example/api"},
        {{"http://host", "8087", "api", ""}, "http://host:8087/api"},
        {{"HTTPS://host", "8087", "api", ""}, "http://HTTPS://host:8087/api"}, // only lower case counts
        {{"myhttpbox", "8087", "api", ""}, "myhttpbox:8087/api"},
        {{" 127.0.0.1 ", "8087", " api", ""}, "http:// 127.0.0.1 :8087/ api"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(BuildApiUrl(c.Fields), c.Url);
}

TEST(HttpAddress, HostPortHeaderAndTarget)
{
    struct TCase
    {
        QString Url;
        bool Secure;
        QString Host;
        int Port;
        QByteArray HostHeader, Target;
    } cases[] = {
        {"http://127.0.0.1:8087/api", false, "127.0.0.1", 8087, "127.0.0.1:8087", "/api"},
        {"http://127.0.0.1/api", false, "127.0.0.1", 80, "127.0.0.1", "/api"},
        {"http://127.0.0.1:080/api", false, "127.0.0.1", 80, "127.0.0.1", "/api"},
        {"https://Example.org/api", true, "Example.org", 443, "Example.org", "/api"},
        {"https://example.org:80/api", true, "example.org", 80, "example.org:80", "/api"},
        {"HTTP://h:443/api", false, "h", 443, "h:443", "/api"},
        {"http://[::1]:8087/api", false, "::1", 8087, "[::1]:8087", "/api"},
        {"http://h:8087", false, "h", 8087, "h:8087", "/"},
        {"http://h:8087/my api/\u00e9?x=1#frag", false, "h", 8087, "h:8087", "/my%20api/%C3%A9?x=1"},
        {"http://user@h:8087/api", false, "h", 8087, "h:8087", "/api"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Url.toStdString());
        const auto address = ParseHttpAddress(c.Url);
        ASSERT_TRUE(address.has_value());
        EXPECT_EQ(address->Secure, c.Secure);
        EXPECT_EQ(address->Host, c.Host);
        EXPECT_EQ(address->Port, c.Port);
        EXPECT_EQ(address->HostHeader, c.HostHeader);
        EXPECT_EQ(address->Target, c.Target);
    }
}

TEST(HttpAddress, UnusableAddressesAreRefused)
{
    const QString urls[] = {
        "http:// 127.0.0.1 :8087/api",
        "http://127.0.0.1: 8087/api",
        "http://h:0/api",
        "http://h:65536/api",
        "http://h:-1/api",
        "http://h:80:80/api",
        "http://:8087/api",
        "http://[zz]:8087/api",
        "ftp://h/api",
        "127.0.0.1:8087/api",
        "myhttpbox:8087/api",
    };
    for (const QString& url : urls)
        EXPECT_FALSE(ParseHttpAddress(url).has_value()) << url.toStdString();
}

TEST(FormEncoding, EachCharacterClass)
{
    struct TCase
    {
        QString Text;
        QByteArray Encoded;
    } cases[] = {
        {"", ""},
        {"AZaz09*-._", "AZaz09*-._"},
        {"p w", "p+w"},
        {"&=%+", "%26%3D%25%2B"},
        {"~/!'()", "%7E%2F%21%27%28%29"},
        {QString(QChar(0)) + "\t\n", "%00%09%0A"},
        {"\u00e9\u00df", "%C3%A9%C3%9F"},
        {"\u20ac", "%E2%82%AC"},
        {QString::fromUtf16(u"\U0001F600"), "%F0%9F%98%80"},
        {QString(QChar(0xD83D)), "&#55357;"},        // high surrogate alone
        {QString(QChar(0xDE00)) + "a", "&#56832;a"}, // low surrogate alone
        {QString(QChar(0xD83D)) + QChar(0xD83D), "&#55357;&#55357;"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FormEncodeText(c.Text), c.Encoded) << c.Text.toStdString();
}

TEST(FormEncoding, FieldsJoinedInOrder)
{
    EXPECT_EQ(FormEncode({}), QByteArray());
    EXPECT_EQ(FormEncode(ListFormFields("a b&c")), QByteArray("Command=LogsHandHistory&Password=a+b%26c"));
    EXPECT_EQ(FormEncode(FetchFormFields("pw", "HH2024-01-31 Table = 1.txt")),
              QByteArray("Command=LogsHandHistory&Password=pw&Date=2024-01-31&Name=Table+%3D+1"));
    EXPECT_EQ(FormEncode({{"", ""}, {"k", ""}}), QByteArray("=&k="));
}

TEST(ReplyLines, KeyLookupAndSuccess)
{
    struct TCase
    {
        QStringList Lines;
        QString Key, Value;
        bool Succeeded;
    } cases[] = {
        {{"Result=Ok", "Error="}, "Result", "Ok", true},
        {{"result=Ok"}, "RESULT", "Ok", true},
        {{"Result=OK"}, "Result", "OK", false},
        {{"Result=ok"}, "Result", "ok", false},
        {{"Result=Ok "}, "Result", "Ok ", false},
        {{"Result=Error", "Result=Ok"}, "Result", "Error", false},
        {{"Results=Ok", "Result"}, "Result", "", false},
        {{"Error=a=b", "Result=Ok"}, "Error", "a=b", true},
        {{}, "Result", "", false},
        {{"Files=3", " Result=Ok"}, "Result", "", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Lines.join('|').toStdString());
        EXPECT_EQ(ReplyValue(c.Lines, c.Key), c.Value);
        EXPECT_EQ(ReplySucceeded(c.Lines), c.Succeeded);
    }
    EXPECT_EQ(LocalErrorReply("http://h:1/api"),
              QStringList({"Result=Error", "Error=Could not connect to http://h:1/api"}));
}

TEST(RemoteEntries, BuiltFromListReply)
{
    struct TCase
    {
        QStringList Reply;
        QStringList Entries;
    } cases[] = {
        {{"Result=Ok", "Name2=Beta", "Files=2", "Date2=2024-02-02", "Date1=2024-01-01", "Name1=Alpha"},
         {"HH2024-01-01 Alpha.txt", "HH2024-02-02 Beta.txt"}},
        {{"result=Ok", "files=1", "date1=2024-01-01", "name1=Lower"}, {"HH2024-01-01 Lower.txt"}},
        {{"Files= 1 ", "Date1=d", "Name1=n"}, {"HHd n.txt"}},
        {{"Files=+1", "Date1=d", "Name1=n", "Date1=late", "Name1=late"}, {"HHd n.txt"}},
        {{"Files=3", "Date1=d", "Name3=z"}, {"HHd .txt", "HH .txt", "HH z.txt"}},
        {{"Files=2", "Date1=d", "Name1=n", "Date2=d", "Name2=n"}, {"HHd n.txt", "HHd n.txt"}},
        {{"Result=Ok", "Date1=d", "Name1=n"}, {}},
        {{"Files=0", "Date1=d", "Name1=n"}, {}},
        {{"Files=-2", "Date1=d"}, {}},
        {{"Files=abc"}, {}},
        {{"Files=2.0", "Date1=d"}, {}},
        {{"Files=1e1", "Date1=d"}, {}},
        {{"Files=$10", "Date1=d"}, {}},
        {{"Files=2147483648", "Date1=d"}, {}},
        {{"Files="}, {}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(BuildRemoteEntries(c.Reply), c.Entries) << c.Reply.join('|').toStdString();
}

TEST(RemoteEntries, CutBackIntoDateAndName)
{
    const QString names[] = {
        "Table 1", "A", "Caf\u00e9 = & %", "x.txt", QString::fromUtf16(u"\U0001F600 emoji"), ""};
    for (const QString& name : names) {
        const QStringList entries = BuildRemoteEntries({"Files=1", "Date1=2024-03-15", "Name1=" + name});
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(RemoteEntryDate(entries[0]), "2024-03-15");
        EXPECT_EQ(RemoteEntryName(entries[0]), name);
        EXPECT_EQ(FetchFormFields("pw", entries[0]), TFormFields({{"Command", "LogsHandHistory"},
                                                                  {"Password", "pw"},
                                                                  {"Date", "2024-03-15"},
                                                                  {"Name", name}}));
    }
    // Entries too short for the layout cut to empty parts instead of failing.
    EXPECT_EQ(RemoteEntryDate("HH"), "");
    EXPECT_EQ(RemoteEntryName("HHshort.txt"), "");
    EXPECT_EQ(RemoteEntryName("HH2024-03-15 .txt"), "");
}

} // namespace
