#include "reports/ReportRunner.h"

#include "RakeFixture.h"
#include "platform/Error.h"
#include "reports/ReportCatalogue.h"

#include "support/QtPrinters.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {
struct TSums
{
    std::set<QString> Tables, Players;
    qint64 Rows = 0;
    double Equal = 0, Proportional = 0;
};

class ReportRunnerTest : public ::testing::Test
{
protected:
    ReportRunnerTest() : Runner(Rake.Database, [this](const QString& t) { Lines.push_back(t); }) {}

    // Hands at four tables over five days, three to six of eight players each,
    // shares in proportion to random stakes.
    void Generate(int hands)
    {
        QRandomGenerator random(20260307);
        const QStringList tables = {"Oak", "Elm", "Ash \"Big\"", "Fir"};
        Rake.Database.StartTransaction();
        for (int h = 1; h <= hands; ++h) {
            TRakeFixture::THand hand{
                1000 + h * 3,
                tables[random.bounded(4)],
                QString::asprintf("2026-01-%02d", 1 + random.bounded(5)),
                QString::asprintf("%02d:%02d:00", random.bounded(24), random.bounded(60)),
                random.bounded(1, 400) / 100.0,
                {}};
            const int players = 3 + random.bounded(4), first = random.bounded(8);
            std::vector<double> stakes(players);
            double total = 0;
            for (double& stake : stakes)
                total += stake = 1 + random.bounded(100);
            for (int p = 0; p < players; ++p)
                hand.Shares.emplace_back(QString("P%1").arg((first + p) % 8), hand.Rake * stakes[p] / total);
            Rake.Add(hand);
            Hands.push_back(hand);
        }
        Rake.Database.Commit();
    }

    // Sums computed from the generated hands, grouped by what key gives.
    std::map<QString, TSums>
    Expected(const std::function<QString(const TRakeFixture::THand&, const QString&)>& key)
    {
        std::map<QString, TSums> sums;
        for (const auto& hand : Hands)
            for (const auto& [player, share] : hand.Shares) {
                TSums& s = sums[key(hand, player)];
                s.Tables.insert(hand.Table);
                s.Players.insert(player);
                ++s.Rows;
                s.Equal += hand.Rake / hand.Shares.size();
                s.Proportional += share;
            }
        return sums;
    }

    void Load(int item, const TReportLimit& start = {}, const TReportLimit& end = {})
    {
        Runner.Load(BuildReportSQL(item, start, end));
    }
    const TDataView& View() const { return Runner.ReportClientDataSet; }
    int Field(const char* name) const { return View().FieldIndex(name); }

    TRakeFixture Rake;
    std::vector<QString> Lines;
    TReportRunner Runner;
    std::vector<TRakeFixture::THand> Hands;
};
} // namespace

TEST_F(ReportRunnerTest, GroupedReportsEqualTheSumsOfTheGeneratedHands)
{
    Generate(400);
    const auto byPlayer = Expected([](const auto&, const QString& p) { return p; });
    const auto byPair = Expected([](const auto& h, const QString& p) { return p + "|" + h.Table; });
    const auto byTable = Expected([](const auto& h, const QString&) { return h.Table; });
    for (int item = 1; item <= 7; ++item) {
        SCOPED_TRACE(ReportItemTexts()[item].toStdString());
        Load(item);
        const auto& expected = item <= 2 ? byPlayer : item <= 6 ? byPair : byTable;
        ASSERT_EQ(View().RowCount(), int(expected.size()));
        EXPECT_EQ(View().Column(Field("Rake")).Type, TFieldType::Real);
        EXPECT_EQ(Runner.ReportModel.ColumnWidth(Field("Rake")), 120);
        for (int r = 0; r < View().RowCount(); ++r) {
            QString key = item == 7 ? View().Text(r, Field("TableName")) : View().Text(r, Field("Player"));
            if (item >= 3 && item <= 6)
                key += "|" + View().Text(r, Field("TableName"));
            const TSums& s = expected.at(key);
            const bool equal = item == 1 || item == 3 || item == 5 || item == 7;
            EXPECT_NEAR(View().Real(r, Field("Rake")), equal ? s.Equal : s.Proportional, 1e-9);
            if (item <= 2) {
                EXPECT_EQ(View().Integer(r, Field("Tables")), qint64(s.Tables.size()));
            }
            if (item == 7) {
                EXPECT_EQ(View().Integer(r, Field("Players")), qint64(s.Players.size()));
            } else {
                EXPECT_EQ(View().Integer(r, Field("Hands")), s.Rows);
            }
        }
    }
    double total = 0;
    for (const auto& hand : Hands)
        total += hand.Rake;
    Load(8);
    EXPECT_NEAR(View().Real(0, 0), total, 1e-9);
    EXPECT_EQ(Runner.ReportModel.DisplayText(0, 0), QString::number(total, 'f', 4));
}

TEST_F(ReportRunnerTest, LimitsKeepExactlyTheHandsInsideThem)
{
    Generate(300);
    const TReportLimit start{true, QDate(2026, 1, 2), QTime(12, 0, 0)},
        end{true, QDate(2026, 1, 4), QTime(6, 30, 0)};
    for (const auto& [from, to] :
         std::vector<std::pair<TReportLimit, TReportLimit>>{{start, {}}, {{}, end}, {start, end}, {{}, {}}}) {
        std::set<qint64> expected, got;
        for (const auto& h : Hands) {
            const QString at = h.Date + " " + h.Time;
            if ((!from.Enabled || at >= "2026-01-02 12:00:00") &&
                (!to.Enabled || at <= "2026-01-04 06:30:00"))
                expected.insert(h.Hand);
        }
        Load(9, from, to);
        for (int r = 0; r < View().RowCount(); ++r)
            got.insert(View().Integer(r, Field("Hand")));
        EXPECT_EQ(got, expected) << from.Enabled << to.Enabled;
        EXPECT_EQ(Lines.back(), QString("Report record 1 of %1").arg(expected.size()));
    }
    // Start after end: nothing, except the total's one empty row.
    for (int item : {1, 4, 7, 9, 11}) {
        Load(item, end, start);
        EXPECT_EQ(Lines.back(), "Report record 0 of 0") << item;
    }
    Load(8, end, start);
    ASSERT_EQ(View().RowCount(), 1);
    EXPECT_EQ(View().Column(0).Type, TFieldType::Text);
    EXPECT_EQ(Runner.ReportModel.DisplayText(0, 0), "");
    EXPECT_EQ(Runner.ReportModel.ColumnWidth(0), 0);
}

TEST_F(ReportRunnerTest, StatusLinesOfLoadAndItsFailures)
{
    Generate(5);
    bool closedFirst = false;
    Runner.Load("SELECT Hand, Hand, Hand FROM Master", [&] { closedFirst = !View().Active(); });
    EXPECT_TRUE(closedFirst);
    EXPECT_EQ(Lines, (std::vector<QString>{"Performing query ...", "Report record 1 of 5"}));
    EXPECT_EQ(View().Column(1).Name + View().Column(2).Name, "Hand_1Hand_2");

    struct TFailure
    {
        QString SQL, Message, Status; // the error text starts with Message; Status is left
    };
    const std::vector<TFailure> failures = {
        {"SELEKT 1", "SQLite3 Error 1 - ", "Report record 1 of 5"},
        {"   ", "Empty SQL Statement", "Report record 1 of 5"},
        {"SELECT abs(-9223372036854775807 - 1) FROM Master", "SQLite3 Error 1 - integer overflow",
         "Performing query ..."},
    };
    for (const auto& f : failures) {
        Runner.Load("SELECT * FROM Master");
        const QString message = ErrorOf([&] { Runner.Load(f.SQL); });
        EXPECT_TRUE(message.startsWith(f.Message)) << message.toStdString();
        EXPECT_EQ(Lines.back(), f.Status);
        EXPECT_FALSE(View().Active());
    }

    Runner.Load("DELETE FROM Detail WHERE Hand < 0");
    EXPECT_EQ(Runner.ReportModel.columnCount(), 0);
    EXPECT_EQ(Lines.back(), "Report record 0 of 0");

    Runner.Load("SELECT * FROM Master");
    Runner.Load("", [&] { ADD_FAILURE() << "an empty box runs nothing"; });
    EXPECT_FALSE(View().Active());
    EXPECT_EQ(Lines.back(), "");
}

// A title click orders the loaded rows in memory: numbers as numbers, text by
// the user's locale, NULL first, equal rows in the query's order; the second
// click reverses, another column starts ascending, a new Load forgets it.
TEST_F(ReportRunnerTest, TitleClicksSortTheLoadedRowsWithoutQuerying)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Runner.Load(QStringLiteral("SELECT column1 AS n, column2 AS t, column3 AS r FROM (VALUES "
                               "(10, 'cherry', 1.5), (9, 'Banana', -2.25), (NULL, 'apple', 1.5), "
                               "(100, 'Banana', 0.0))"));
    const auto column = [this](int c) {
        QStringList shown;
        for (int row = 0; row < Runner.ReportClientDataSet.RowCount(); ++row)
            shown << Runner.ReportModel.DisplayText(row, c);
        return shown;
    };
    struct Click
    {
        int Column;
        QStringList N; // the rows, told by their n
        int Arrow;
        bool Descending;
    };
    const Click clicks[] = {
        {0, {"", "9", "10", "100"}, 0, false}, {0, {"100", "10", "9", ""}, 0, true},
        {1, {"", "9", "100", "10"}, 1, false}, // apple, Banana (twice, query order), cherry
        {1, {"10", "9", "100", ""}, 1, true},  // equal names keep the query's order
        {2, {"9", "100", "10", ""}, 2, false},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.Column);
        Lines.clear();
        Runner.ReportGridTitleClick(click.Column);
        EXPECT_EQ(column(0), click.N);
        EXPECT_EQ(Runner.ReportModel.SortColumn(), click.Arrow);
        EXPECT_EQ(Runner.ReportModel.SortDescending(), click.Descending);
        EXPECT_EQ(Lines, std::vector<QString>{"Report record 1 of 4"});
    }
    Runner.Load(QStringLiteral("SELECT 1 AS n"));
    EXPECT_EQ(Runner.ReportModel.SortColumn(), -1) << "a new load forgets the order";
    QLocale::setDefault(saved);
}

// The reports over time: one row per day or month, in date order, counting
// hands (not shares) and summing each hand's rake once.
TEST_F(ReportRunnerTest, RakeByDateAndByMonthSumTheHandsOfEachPeriod)
{
    Generate(200);
    Rake.Add({9001, "Oak", "2025-12-31", "23:59:59", 2.5, {{"P1", 2.5}}});
    Rake.Add({9002, "Oak", "2026-02-01", "00:00:00", 0.75, {{"P1", 0.5}, {"P2", 0.25}}});
    Hands.push_back({9001, "Oak", "2025-12-31", "23:59:59", 2.5, {}});
    Hands.push_back({9002, "Oak", "2026-02-01", "00:00:00", 0.75, {}});
    const TReportLimit start{true, QDate(2026, 1, 3), QTime(0, 0, 0)};
    struct TCase
    {
        int Item;
        int KeyLength; // of the date text
        TReportLimit Start;
    };
    for (const TCase& c : {TCase{12, 10, {}}, TCase{13, 7, {}}, TCase{12, 10, start}, TCase{13, 7, start}}) {
        std::map<QString, std::pair<qint64, double>> expected;
        for (const auto& hand : Hands)
            if (!c.Start.Enabled || hand.Date >= "2026-01-03") {
                auto& [count, rake] = expected[hand.Date.left(c.KeyLength)];
                ++count;
                rake += hand.Rake;
            }
        Load(c.Item, c.Start);
        SCOPED_TRACE(ReportItemTexts()[c.Item].toStdString() + (c.Start.Enabled ? " from 3rd" : ""));
        ASSERT_EQ(View().RowCount(), int(expected.size()));
        EXPECT_EQ(View().Column(0).Name, c.Item == 12 ? "Date" : "Month");
        int row = 0;
        for (const auto& [key, sums] : expected) {
            EXPECT_EQ(View().Text(row, 0), key);
            EXPECT_EQ(View().Integer(row, Field("Hands")), sums.first);
            EXPECT_NEAR(View().Real(row, Field("Rake")), sums.second, 1e-9);
            ++row;
        }
    }
}
