#include "reports/DatabaseBrowser.h"

#include "RakeFixture.h"
#include "platform/Error.h"

#include "support/QtPrinters.h"
#include <gtest/gtest.h>

namespace {
using TLines = std::vector<QString>;

class DatabaseBrowserTest : public ::testing::Test
{
protected:
    DatabaseBrowserTest()
        : Browser(
              Rake.Database, [this](const QString& t) { Lines.push_back("M:" + t); },
              [this](const QString& t) { Lines.push_back("D:" + t); })
    {
        Browser.MasterModel.SetBoldTitleFont(QStringLiteral("bold"));
    }

    // Hands 10, 20, 30, their Detail rows written out of hand order as several
    // import runs leave them; hand 20 has no shares.
    void AddThreeHands()
    {
        Rake.Add({30, "Elm", "2026-01-02", "08:00:00", 3.0, {{"Cy", 2.0}, {"Ann", 1.0}}});
        Rake.Add({10, "Oak", "2026-01-01", "21:00:00", 1.25, {{"Bob", 0.75}}});
        Rake.Add({20, "Ash", "2026-01-01", "22:00:00", 2.5, {}});
        Rake.AddShares(10, {{"Ann", 0.5}});
        Rake.AddShares(30, {{"Dee", 0.0}});
        Browser.SetStatements();
    }

    std::vector<QString> Column(const TDataView& view, const char* name) const
    {
        std::vector<QString> values;
        for (int r = 0; r < view.RowCount(); ++r)
            values.push_back(&view == &Browser.MasterClientDataSet
                                 ? Browser.MasterModel.DisplayText(r, view.FieldIndex(name))
                                 : Browser.DetailModel.DisplayText(r, view.FieldIndex(name)));
        return values;
    }

    TRakeFixture Rake;
    TLines Lines;
    TDatabaseBrowser Browser;
};
} // namespace

TEST_F(DatabaseBrowserTest, OpenOnAnEmptyDatabaseAnnouncesLoadingThenZeroPositions)
{
    Browser.OpenViews(); // the statements were never set: Open sets them
    EXPECT_EQ(Lines, (TLines{"M:Loading Master table ...", "D:Loading Detail table ...",
                             "M:Master record 0 of 0", "D:Detail record 0 of 0"}));
    Browser.CloseViews();
    EXPECT_EQ(Lines.size(), 6u);
    EXPECT_EQ(Lines[4] + Lines[5], "M:D:");
    EXPECT_EQ(Browser.MasterModel.columnCount(), 7) << "titles stay clickable while closed";
}

TEST_F(DatabaseBrowserTest, TitleClicksSortAndMakeOnlyTheSortTitleBold)
{
    AddThreeHands();
    struct TClick
    {
        QString Column, SQL;
        std::vector<QString> Hands; // master order after the click
    };
    const std::vector<TClick> clicks = {
        {"Hand", "SELECT * FROM Master ORDER BY Hand DESC", {"30", "20", "10"}},
        {"Rake", "SELECT * FROM Master ORDER BY Rake", {"10", "20", "30"}},
        {"Rake", "SELECT * FROM Master ORDER BY Rake DESC", {"30", "20", "10"}},
        {"TableName", "SELECT * FROM Master ORDER BY TableName", {"20", "30", "10"}},
    };
    for (const auto& click : clicks) {
        Browser.CloseViews(); // a click while closed opens the views
        Browser.MasterGridTitleClick(click.Column);
        EXPECT_EQ(Browser.MasterQuery.SelectSQL(), click.SQL);
        EXPECT_EQ(Column(Browser.MasterClientDataSet, "Hand"), click.Hands) << click.SQL.toStdString();
        for (int c = 0; c < Browser.MasterModel.columnCount(); ++c)
            EXPECT_EQ(Browser.MasterModel.headerData(c, Qt::Horizontal, Qt::FontRole).isValid(),
                      Browser.MasterModel.ColumnTitle(c) == click.Column);
    }
    Browser.CloseViews();
    Browser.OpenViews();
    EXPECT_EQ(Column(Browser.MasterClientDataSet, "Hand"), (std::vector<QString>{"20", "30", "10"}));
}

TEST_F(DatabaseBrowserTest, DetailFollowsTheMasterRow)
{
    AddThreeHands();
    Browser.OpenViews();
    EXPECT_EQ(Column(Browser.DetailClientDataSet, "Player"), (std::vector<QString>{"Bob", "Ann"}));
    struct TMove
    {
        int MasterRow;
        std::vector<QString> Players;
        TLines Lines;
    };
    const std::vector<TMove> moves = {
        {2, {"Cy", "Ann", "Dee"}, {"D:Detail record 1 of 3", "M:Master record 3 of 3"}},
        {1, {}, {"D:Detail record 0 of 0", "M:Master record 2 of 3"}},
        {0, {"Bob", "Ann"}, {"D:Detail record 1 of 2", "M:Master record 1 of 3"}},
    };
    for (const auto& move : moves) {
        Browser.DetailClientDataSet.MoveTo(1);
        Lines.clear();
        Browser.MasterClientDataSet.MoveTo(move.MasterRow);
        EXPECT_EQ(Column(Browser.DetailClientDataSet, "Player"), move.Players);
        EXPECT_EQ(Lines, move.Lines);
    }
}

TEST_F(DatabaseBrowserTest, SnapshotsWithTwoDecimalsUntilEmptied)
{
    AddThreeHands();
    Browser.OpenViews();
    Rake.Add({40, "Fir", "2026-01-03", "00:00:00", 4.0, {{"Eve", 4.0}}});
    EXPECT_EQ(Column(Browser.MasterClientDataSet, "AvgShare"),
              (std::vector<QString>{"1.25", "0.00", "1.50"}));
    EXPECT_EQ(Browser.MasterModel.ColumnWidth(4) + Browser.MasterModel.ColumnWidth(6), 200);
    EXPECT_EQ(Browser.MasterModel.ColumnWidth(0) + Browser.MasterModel.ColumnWidth(1), 0);
    Browser.OpenViews();
    EXPECT_EQ(Browser.MasterClientDataSet.RowCount(), 4);
    Browser.EmptyConfirmed();
    EXPECT_FALSE(Browser.MasterClientDataSet.Active());
    Browser.OpenViews();
    EXPECT_EQ(Lines.back(), "D:Detail record 0 of 0");
    EXPECT_EQ(Lines[Lines.size() - 2], "M:Master record 0 of 0");
}

TEST(DatabaseBrowserFailureTest, AFileWithoutTablesFailsAndKeepsTheLoadingTexts)
{
    QTemporaryDir dir;
    TRakeDatabase database(dir.path());
    database.OpenRakeDatabase();
    database.Execute("DROP TABLE Master; DROP TABLE Detail;");
    TLines lines;
    TDatabaseBrowser browser(
        database, [&](const QString& t) { lines.push_back(t); },
        [&](const QString& t) { lines.push_back(t); });
    EXPECT_THROW(browser.SetStatements(), TError);
    EXPECT_EQ(ErrorOf([&] { browser.OpenViews(); }), "SQLite3 Error 1 - no such table: Master");
    EXPECT_EQ(lines, (TLines{"Loading Master table ...", "Loading Detail table ..."}));
    EXPECT_FALSE(browser.MasterClientDataSet.Active());
}
