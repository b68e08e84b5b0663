#include "reports/DatabaseBrowser.h"

#include "RakeFixture.h"

#include "support/QtPrinters.h"
#include <QAbstractItemModelTester>
#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
// Over three chunks of hands with their shares written out of hand order, a
// hand number beyond 32 bits after small ones, NULL tables and NULL shares.
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
                "BEGIN;"
                "WITH RECURSIVE n(h) AS (SELECT 1 UNION ALL SELECT h + 1 FROM n WHERE h < %1) "
                "INSERT INTO Master SELECT h, CASE WHEN h % 9973 = 0 THEN NULL ELSE 'Table ' || (h % 50) "
                "END, "
                "date('2025-01-01', '+' || (h % 365) || ' days'), time(h * 37 % 86400, 'unixepoch'), "
                "(h % 400 + 1) / 100.0, 3, (h % 400 + 1) / 300.0 FROM n;"
                "INSERT INTO Master VALUES (5000000000, 'Big', '2026-01-01', '00:00:00', 1e300, 1, -0.005);"
                "WITH RECURSIVE k(p) AS (SELECT 0 UNION ALL SELECT p + 1 FROM k WHERE p < 2) "
                "INSERT INTO Detail SELECT Hand, 'P' || ((Hand * 7 + p * 331) % 3000), "
                "CASE WHEN Hand % 7919 = 0 THEN NULL ELSE Rake * (p + 1) / 6.0 END FROM Master, k "
                "ORDER BY Hand % 7 DESC, Hand, p;"
                "INSERT INTO Detail VALUES (NULL, 'Nobody', 1.0);"
                "COMMIT;")
                .arg(Hands));
        Browser.SetStatements();
    }

    // A second connection to the same file, as an import or the sqlite3 shell has.
    struct TOther
    {
        explicit TOther(const QString& folder)
        {
            sqlite3_open(QDir(folder).filePath(TRakeDatabase::DatabaseFileName).toUtf8().constData(),
                         &Handle);
        }
        ~TOther() { sqlite3_close(Handle); }
        int Write(int hand)
        {
            const QByteArray sql = "BEGIN IMMEDIATE; INSERT INTO Master (Hand) VALUES (" +
                                   QByteArray::number(hand) + "); COMMIT;";
            const int rc = sqlite3_exec(Handle, sql.constData(), nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                sqlite3_exec(Handle, "ROLLBACK", nullptr, nullptr, nullptr);
            return rc;
        }
        sqlite3* Handle = nullptr;
    };

    // The cell as the grid shows it, read by the engine directly.
    static QString Shown(sqlite3_stmt* statement, int c)
    {
        switch (sqlite3_column_type(statement, c)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_FLOAT:
            return QString::number(sqlite3_column_double(statement, c), 'f', 2);
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
        }
    }

    TRakeFixture Rake;
    TDatabaseBrowser Browser;
};
} // namespace

TEST_F(BrowserArchiveTest, EveryCellShowsWhatTheFileHoldsUnderTheModelTester)
{
    QAbstractItemModelTester masterTester(&Browser.MasterModel);
    QAbstractItemModelTester detailTester(&Browser.DetailModel);
    Browser.OpenViews();
    TOther other(Rake.Dir.path());
    sqlite3_stmt* master = nullptr;
    sqlite3_prepare_v2(other.Handle, "SELECT * FROM Master ORDER BY Hand", -1, &master, nullptr);
    int row = 0, wrong = 0;
    for (; sqlite3_step(master) == SQLITE_ROW && wrong < 10; ++row)
        for (int c = 0; c < 7; ++c)
            if (Browser.MasterModel.DisplayText(row, c) != Shown(master, c))
                ADD_FAILURE() << "master row " << row << " column " << c, ++wrong;
    sqlite3_finalize(master);
    EXPECT_EQ(row, Browser.MasterModel.rowCount());

    sqlite3_stmt* detail = nullptr;
    sqlite3_prepare_v2(other.Handle, "SELECT Hand, Player, Share FROM Detail WHERE Hand = ? ORDER BY rowid",
                       -1, &detail, nullptr);
    for (int masterRow : {0, 7918, 65535, 65536, 131071, 131072, Hands - 1, Hands}) {
        Browser.MasterClientDataSet.MoveTo(masterRow);
        sqlite3_bind_int64(detail, 1, Browser.MasterClientDataSet.Integer(masterRow, 0));
        int shown = 0;
        for (; sqlite3_step(detail) == SQLITE_ROW; ++shown)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(Browser.DetailModel.DisplayText(shown, c), Shown(detail, c))
                    << "master row " << masterRow << " detail row " << shown;
        EXPECT_EQ(shown, Browser.DetailModel.rowCount()) << "master row " << masterRow;
        sqlite3_reset(detail);
    }
    sqlite3_finalize(detail);
    EXPECT_EQ(Browser.MasterModel.DisplayText(Hands, 0), "5000000000");
}

TEST_F(BrowserArchiveTest, OpenLeavesNoReadOpenSoAnImportCanCommit)
{
    TOther other(Rake.Dir.path());
    // The probe itself: a read left open on the browser's connection holds up the commit.
    sqlite3_stmt* reading = nullptr;
    sqlite3_prepare_v2(Rake.Database.Handle(), "SELECT Hand FROM Master", -1, &reading, nullptr);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    EXPECT_EQ(other.Write(-1), SQLITE_BUSY);
    sqlite3_finalize(reading);

    for (const char* title : {"Hand", "TableName", "TableName"}) {
        Browser.MasterGridTitleClick(QString::fromLatin1(title));
        for (sqlite3_stmt* s = sqlite3_next_stmt(Rake.Database.Handle(), nullptr); s;
             s = sqlite3_next_stmt(Rake.Database.Handle(), s))
            EXPECT_FALSE(sqlite3_stmt_busy(s)) << sqlite3_sql(s);
        EXPECT_EQ(other.Write(-2 - Browser.MasterClientDataSet.RowCount()), SQLITE_OK) << title;
    }
    EXPECT_EQ(Browser.MasterClientDataSet.RowCount(), Hands + 3);
}
