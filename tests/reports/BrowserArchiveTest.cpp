#include "reports/DatabaseBrowser.h"

#include "RakeFixture.h"

#include "support/QtPrinters.h"
#include <QAbstractItemModelTester>
#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
// Over two chunks of hands with their shares written out of hand order, a
// hand number beyond 32 bits (without shares) after small ones, NULL tables,
// shares and hands.
constexpr int Hands = 140000;

class BrowserArchiveTest : public ::testing::Test
{
protected:
    BrowserArchiveTest()
        : Browser(
              Rake.Database, [](const QString&) {}, [](const QString&) {})
    {
        Rake.Database.Execute(
            QStringLiteral(
                "BEGIN; WITH RECURSIVE n(h) AS (SELECT 1 UNION ALL SELECT h + 1 FROM n WHERE h < %1) "
                "INSERT INTO Master SELECT h, CASE WHEN h % 9973 THEN 'Table ' || (h % 50) END, "
                "date('2025-01-01', '+' || (h % 365) || ' days'), time(h * 37 % 86400, 'unixepoch'), "
                "(h % 400 + 1) / 100.0, 3, (h % 400 + 1) / 300.0 FROM n;"
                "INSERT INTO Master VALUES (5000000000, 'Big', '2026-01-01', '00:00:00', 1e300, 1, -0.005);"
                "WITH RECURSIVE k(p) AS (SELECT 0 UNION ALL SELECT p + 1 FROM k WHERE p < 2) "
                "INSERT INTO Detail SELECT Hand, 'P' || ((Hand * 7 + p * 331) % 3000), "
                "CASE WHEN Hand % 7919 THEN Rake * (p + 1) / 6.0 END FROM Master, k WHERE Hand <= %1 ORDER "
                "BY Hand % 7 DESC;"
                "INSERT INTO Detail VALUES (NULL, 'Nobody', 1.0); COMMIT;")
                .arg(Hands));
        Browser.SetStatements();
        sqlite3_open(QDir(Rake.Dir.path()).filePath(TRakeDatabase::DatabaseFileName).toUtf8(), &Other);
    }
    ~BrowserArchiveTest() override { sqlite3_close(Other); }

    // A write from another connection, as an import makes it: 0 when committed.
    int WriteFromOther(int hand)
    {
        const QByteArray sql =
            "BEGIN IMMEDIATE; INSERT INTO Master (Hand) VALUES (" + QByteArray::number(hand) + "); COMMIT;";
        const int rc = sqlite3_exec(Other, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(Other, "ROLLBACK", nullptr, nullptr, nullptr);
        return rc;
    }

    // The cell as the grid shows it, read by the engine directly.
    static QString Shown(sqlite3_stmt* statement, int c)
    {
        const int type = sqlite3_column_type(statement, c);
        if (type == SQLITE_FLOAT)
            return QString::number(sqlite3_column_double(statement, c), 'f', 2);
        return type == SQLITE_NULL ? QString() : QString::fromUtf8(sqlite3_column_text(statement, c));
    }

    TRakeFixture Rake;
    TDatabaseBrowser Browser;
    sqlite3* Other = nullptr;
};
} // namespace

TEST_F(BrowserArchiveTest, EveryCellShowsWhatTheFileHoldsUnderTheModelTester)
{
    QAbstractItemModelTester masterTester(&Browser.MasterModel);
    QAbstractItemModelTester detailTester(&Browser.DetailModel);
    Browser.OpenViews();
    sqlite3_stmt* master = nullptr;
    sqlite3_prepare_v2(Other, "SELECT * FROM Master ORDER BY Hand", -1, &master, nullptr);
    int row = 0, wrong = 0;
    for (; sqlite3_step(master) == SQLITE_ROW && wrong < 10; ++row)
        for (int c = 0; c < 7; ++c)
            if (Browser.MasterModel.DisplayText(row, c) != Shown(master, c))
                ADD_FAILURE() << "master row " << row << " column " << c, ++wrong;
    sqlite3_finalize(master);
    EXPECT_EQ(row, Hands + 1);
    EXPECT_EQ(Browser.MasterModel.DisplayText(Hands, 0), "5000000000");

    sqlite3_stmt* detail = nullptr;
    sqlite3_prepare_v2(Other, "SELECT Hand, Player, Share FROM Detail WHERE Hand = ? ORDER BY rowid", -1,
                       &detail, nullptr);
    for (int masterRow : {0, 7918, 65535, 65536, 131071, 131072, Hands}) {
        Browser.MasterClientDataSet.MoveTo(masterRow);
        sqlite3_bind_int64(detail, 1, Browser.MasterClientDataSet.Integer(masterRow, 0));
        int shown = 0;
        for (; sqlite3_step(detail) == SQLITE_ROW; ++shown)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(Browser.DetailModel.DisplayText(shown, c), Shown(detail, c))
                    << "master row " << masterRow;
        EXPECT_EQ(shown, Browser.DetailModel.rowCount()) << "master row " << masterRow;
        sqlite3_reset(detail);
    }
    sqlite3_finalize(detail);
}

TEST_F(BrowserArchiveTest, OpenLeavesNoReadOpenSoAnImportCanCommit)
{
    // The probe itself: a read left open on the browser's connection holds up the commit.
    sqlite3_stmt* reading = nullptr;
    sqlite3_prepare_v2(Rake.Database.Handle(), "SELECT Hand FROM Master", -1, &reading, nullptr);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    EXPECT_EQ(WriteFromOther(-1), SQLITE_BUSY);
    sqlite3_finalize(reading);

    for (const char* title : {"Hand", "TableName", "TableName"}) {
        Browser.MasterGridTitleClick(QString::fromLatin1(title));
        for (sqlite3_stmt* s = sqlite3_next_stmt(Rake.Database.Handle(), nullptr); s;
             s = sqlite3_next_stmt(Rake.Database.Handle(), s))
            EXPECT_FALSE(sqlite3_stmt_busy(s)) << sqlite3_sql(s);
        EXPECT_EQ(WriteFromOther(-2 - Browser.MasterClientDataSet.RowCount()), SQLITE_OK) << title;
    }
    EXPECT_EQ(Browser.MasterClientDataSet.RowCount(), Hands + 3);
}
