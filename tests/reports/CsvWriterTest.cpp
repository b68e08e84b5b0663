#include "reports/CsvWriter.h"

#include "RakeFixture.h"
#include "db/Query.h"
#include "platform/Error.h"
#include "platform/LocaleEncoding.h"
#include "reports/DataView.h"

#include "support/QtPrinters.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>
#include <limits>

namespace {
using TCells = std::vector<std::vector<QString>>;

// The file as Python's csv module reads it.
TCells ReadWithPython(const QString& path)
{
    QProcess python;
    python.start("python3",
                 {"-c",
                  "import csv, json, sys\n"
                  "print(json.dumps(list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8')))))",
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {{"python failed: " + QString::fromUtf8(python.readAllStandardError())}};
    TCells cells;
    for (const auto& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        cells.emplace_back();
        for (const auto& cell : row.toArray())
            cells.back().push_back(cell.toString());
    }
    return cells;
}

class CsvWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Rake.Database.Execute("CREATE TABLE V (Name TEXT, N INTEGER, R REAL, D TEXT);"
                              "INSERT INTO V VALUES ('Ann', 2, 2.5, '2026-01-02');"
                              "INSERT INTO V VALUES ('O\"Brien, Jr.', -17, 3, '12.50');"
                              "INSERT INTO V VALUES ('two' || char(13, 10) || 'lines', 0, 1.0 / 3, NULL);"
                              "INSERT INTO V VALUES (NULL, NULL, NULL, '');"
                              "INSERT INTO V VALUES ('Zoë', 9223372036854775807, 1e-6, '007');"
                              "INSERT INTO V VALUES ('\"', -1, 1e20, 'a,b');");
    }
    void Load(const QString& sql)
    {
        TQuery query(Rake.Database);
        query.SetSelectSQL(sql);
        View.Open(query.Open());
    }
    TRakeFixture Rake;
    TDataView View;
};
} // namespace

TEST(CsvFormatTest, RealsInTheShortestGeneralForm)
{
    const std::vector<std::pair<double, QString>> cases = {
        {2.5, "2.5"},
        {3, "3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {1e-6, "1E-6"},
        {-1.25e-7, "-1.25E-7"},
        {0.00001, "0.00001"},
        {0.0000099999, "9.9999E-6"},
        {1e20, "1E20"},
        {-0.5, "-0.5"},
        {123456789012345678.0, "1.23456789012346E17"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {9999999999999999.0, "1E16"},
        {0.1 + 0.2, "0.3"},
        {100, "100"},
        {-0.0, "0"},
        {std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatCsvReal(value, "."), text) << value;
    EXPECT_EQ(FormatCsvReal(-2.5e-7, ","), "-2,5E-7");
}

TEST(CsvFormatTest, CodeSetsReplaceWhatTheyCannotHold)
{
    const QString text = QString::fromUtf8("é€中😀") + QChar(0xD800) + "z";
    const QByteArray utf8("\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD\xF0\x9F\x98\x80?z");
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"UTF-8", utf8},          {"ISO-8859-1", "\xE9????z"}, {"ISO-8859-15", "\xE9\xA4???z"},
        {"ANSI_X3.4-1968", utf8}, // the C locale: no code set of its own
        {"US-ASCII", utf8},       {"no-such-code-set", utf8},
    };
    for (const auto& [codeSet, bytes] : cases)
        EXPECT_EQ(EncodeCodeSet(text, codeSet).toHex(' '), bytes.toHex(' ')) << codeSet.constData();
    EXPECT_EQ(LocaleCodeSet(), "UTF-8") << "the tests run under C.UTF-8";
}

TEST_F(CsvWriterTest, HeaderTextIntegersRealsAndEmptyResults)
{
    struct TCase
    {
        QString SQL, Text;
    };
    const std::vector<TCase> cases = {
        {"SELECT * FROM V WHERE rowid <= 2", "\"Name\",\"N\",\"R\",\"D\"\r\n\"Ann\",2,2.5,\"2026-01-"
                                             "02\"\r\n\"O\"\"Brien, Jr.\",-17,3,\"12.50\"\r\n"},
        {"SELECT * FROM V WHERE rowid = 4", "\"Name\",\"N\",\"R\",\"D\"\r\n\"\",,,\"\"\r\n"},
        {"SELECT Name AS \"Say \"\"hi\"\"\", SUM(R) AS Rake FROM V WHERE 0",
         "\"Say \"\"hi\"\"\",\"Rake\"\r\n\"\",\"\"\r\n"}, // a sum over no rows is a NULL text
        {"SELECT * FROM V WHERE 0", "\"Name\",\"N\",\"R\",\"D\"\r\n"},
        // A BLOB's bytes are quoted like text, a NULL one stays an empty field.
        {"SELECT 'a' AS T, x'2c0d0a3d312b31' AS B, NULL AS N UNION ALL SELECT NULL, x'22', 'z' "
         "UNION ALL SELECT 'b,c', NULL, NULL",
         "\"T\",\"B\",\"N\"\r\n\"a\",\",\r\n=1+1\",\"\"\r\n\"\",\"\"\"\",\"z\"\r\n\"b,c\",,\"\"\r\n"},
    };
    for (const auto& c : cases) {
        Load(c.SQL);
        EXPECT_EQ(BuildCsvText(View, QLocale::c()), c.Text);
    }
}

TEST_F(CsvWriterTest, AFileThatACsvReaderReadsBackCellForCell)
{
    TCells cells = {
        {"Name", "N", "R", "D"},
        {"Ann", "2", "2.5", "2026-01-02"},
        {"O\"Brien, Jr.", "-17", "3", "12.50"},
        {"two\r\nlines", "0", "0.333333333333333", ""},
        {"", "", "", ""},
        {"Zoë", "9223372036854775807", "1E-6", "007"},
        {"\"", "-1", "1E20", "a,b"},
    };
    const QString path = Rake.Dir.filePath("out.csv");
    Load("SELECT * FROM V ORDER BY rowid");
    ExportCsvFile(View, path, QLocale::c());
    EXPECT_EQ(ReadWithPython(path), cells);
    cells[1][2] = "2,5"; // a comma separator: the reals are quoted and stay one field
    cells[3][2] = "0,333333333333333";
    ExportCsvFile(View, path, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ReadWithPython(path), cells);
}

TEST_F(CsvWriterTest, TheWalkLeavesThePositionHandlerAttachedOnTheFirstRow)
{
    std::vector<int> positions;
    View.SetAfterScroll([&] { positions.push_back(View.Position()); });
    for (const auto& [sql, expected] : std::vector<std::pair<QString, std::vector<int>>>{
             {"SELECT * FROM V", {1, 3}}, {"SELECT * FROM V WHERE 0", {0}}}) {
        Load(sql);
        View.MoveTo(4);
        positions.clear();
        BuildCsvText(View, QLocale::c());
        View.MoveTo(2);
        EXPECT_EQ(positions, expected) << "silent while walking, then on the first row, then attached";
    }
}

TEST_F(CsvWriterTest, FailuresNameTheTargetAndTheReason)
{
    struct TFailingDevice : QIODevice
    {
        TFailingDevice()
        {
            open(QIODevice::WriteOnly);
            setErrorString("No space left on device");
        }
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64) override { return -1; }
    } device;
    Load("SELECT * FROM V");
    EXPECT_THROW(
        try {
            WriteCsvText(BuildCsvText(View, QLocale::c()), device, "/data/out.csv");
        } catch (const TError& error) {
            EXPECT_EQ(error.Message(), "Cannot write file \"/data/out.csv\". No space left on device");
            throw;
        },
        TError);

    const QString missing = Rake.Dir.filePath("no/such/folder/out.csv");
    EXPECT_THROW(
        try { ExportCsvFile(View, missing); } catch (const TError& error) {
            EXPECT_TRUE(error.Message().startsWith("Cannot create file \"" + missing + "\". "));
            EXPECT_GT(error.Message().size(), missing.size() + 24) << "the system's reason follows";
            throw;
        },
        TError);
    EXPECT_EQ(View.Position(), 1);
}
