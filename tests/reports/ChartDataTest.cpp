#include "reports/ChartData.h"

#include "support/QtPrinters.h"
#include <QVariant>
#include <gtest/gtest.h>

namespace {
// A view over a table made of the given columns and rows; an invalid QVariant is NULL.
std::unique_ptr<TDataView> View(const QVector<TColumn>& columns,
                                const std::vector<std::vector<QVariant>>& rows)
{
    auto table = std::make_shared<TResultTable>(columns);
    for (const auto& row : rows) {
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant& v = row[c];
            if (!v.isValid())
                table->AppendNull(c);
            else if (columns[c].Type == TFieldType::Integer)
                table->AppendInteger(c, v.toLongLong());
            else if (columns[c].Type == TFieldType::Real)
                table->AppendReal(c, v.toDouble());
            else {
                const QByteArray utf8 = v.toString().toUtf8();
                table->AppendText(c, utf8.constData(), utf8.size());
            }
        }
        table->EndRow();
    }
    auto view = std::make_unique<TDataView>();
    view->Open(table);
    return view;
}

const TColumn Int(const char* name)
{
    return {name, TFieldType::Integer};
}
const TColumn Real(const char* name)
{
    return {name, TFieldType::Real};
}
const TColumn Text(const char* name)
{
    return {name, TFieldType::Text};
}
const QLocale US(QLocale::English, QLocale::UnitedStates);
const QVariant Null;
} // namespace

TEST(ChartDataTest, TimeSeriesOnlyForDatesThroughoutWithGapsAsZero)
{
    struct TCase
    {
        const char* Name;
        QVector<TColumn> Columns;
        std::vector<std::vector<QVariant>> Rows;
        bool TimeSeries;
        std::vector<TChartBar> Bars;
    };
    const std::vector<TCase> cases = {
        {"days, a gap and NULL rake",
         {Text("Date"), Int("Hands"), Real("Rake")},
         {{"2026-02-27", 3, 1.5}, {"2026-03-01", 1, Null}, {"2026-03-02", 2, 0.25}},
         true,
         {{"2/27/26", 1.5}, {"2/28/26", 0}, {"3/1/26", 0}, {"3/2/26", 0.25}}},
        {"months across a year, shown order ignored",
         {Text("Month"), Real("Rake")},
         {{"2026-01", 4.0}, {"2025-11", 2.0}},
         true,
         {{"Nov 2025", 2}, {"Dec 2025", 0}, {"Jan 2026", 4}}},
        {"a day that does not exist",
         {Text("Date"), Real("Rake")},
         {{"2026-02-30", 1.0}},
         false,
         {{"2026-02-30", 1}}},
        {"no leading zero", {Text("Date"), Real("Rake")}, {{"2026-3-01", 1.0}}, false, {{"2026-3-01", 1}}},
        {"a date with a time",
         {Text("Date"), Real("Rake")},
         {{"2026-03-01 10:00", 1.0}},
         false,
         {{"2026-03-01 10:00", 1}}},
        {"forms mixed",
         {Text("Date"), Real("Rake")},
         {{"2026-03", 1.0}, {"2026-03-01", 2.0}},
         false,
         {{"2026-03-01", 2}, {"2026-03", 1}}},
        {"a NULL date",
         {Text("Date"), Real("Rake")},
         {{"2026-03-01", 1.0}, {Null, 2.0}},
         false,
         {{"", 2}, {"2026-03-01", 1}}},
        {"dates in another column",
         {Text("Player"), Text("Day"), Real("Rake")},
         {{"Ann", "2026-03-01", 1.0}},
         false,
         {{"Ann / 2026-03-01", 1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto view = View(c.Columns, c.Rows);
        const TChartData data = BuildChartData(*view, c.Columns.size() - 1, US);
        EXPECT_EQ(data.TimeSeries, c.TimeSeries);
        EXPECT_EQ(data.Bars, c.Bars);
    }
}

TEST(ChartDataTest, RankingIsLargestFirstAndCutAtTwentyFiveBars)
{
    // Ties keep the shown order; NULL ranks as 0.
    auto view = View(
        {Text("Player"), Text("TableName"), Int("Hands"), Real("Rake")},
        {{"Ann", "Maple", 3, 1.0}, {"Bob", Null, 5, Null}, {"Cy", "Oak", 4, 2.0}, {"Di", "Elm", 1, 1.0}});
    EXPECT_EQ(BuildChartData(*view, 3, US).Bars,
              (std::vector<TChartBar>{{"Cy / Oak", 2}, {"Ann / Maple", 1}, {"Di / Elm", 1}, {"Bob / ", 0}}));
    EXPECT_EQ(BuildChartData(*view, 2, US).Bars[0], (TChartBar{"Bob / ", 5}));

    for (int rows : {25, 26, 40}) {
        std::vector<std::vector<QVariant>> table;
        for (int r = 1; r <= rows; ++r)
            table.push_back({QStringLiteral("P%1").arg(r), double(r)});
        auto many = View({Text("Player"), Real("Rake")}, table);
        const auto bars = BuildChartData(*many, 1, US).Bars;
        ASSERT_EQ(bars.size(), 25u) << rows;
        EXPECT_EQ(bars[0], (TChartBar{QStringLiteral("P%1").arg(rows), double(rows)}));
        // The rest: the rows - 24 smallest, 1 to rows - 24.
        const int rest = rows - 24;
        const TChartBar last =
            rows == 25 ? TChartBar{"P1", 1}
                       : TChartBar{QStringLiteral("Others (%1)").arg(rest), rest * (rest + 1) / 2.0};
        EXPECT_EQ(bars[24], last);
    }
}

TEST(ChartDataTest, TheValueColumnAndItsDefault)
{
    struct TCase
    {
        const char* Name;
        QVector<TColumn> Columns;
        std::vector<int> Values;
        int Default;
    };
    const std::vector<TCase> cases = {
        {"Rake wins", {Text("Player"), Real("Rake"), Int("Hands"), Real("Share")}, {1, 2, 3}, 1},
        {"last real column", {Int("Hand"), Real("Share"), Real("AvgShare"), Int("Dealt")}, {0, 1, 2, 3}, 2},
        {"integers only", {Int("Hand"), Int("Dealt"), Text("Time")}, {0, 1}, 1},
        {"nothing numeric", {Text("Player")}, {}, -1},
    };
    for (const TCase& c : cases) {
        auto view = View(c.Columns, {});
        EXPECT_EQ(ChartValueColumns(*view), c.Values) << c.Name;
        EXPECT_EQ(DefaultChartValueColumn(*view), c.Default) << c.Name;
    }
    // Total Rake: one row, one column, no text to name the bar.
    auto total = View({Real("Rake")}, {{12.5}});
    EXPECT_EQ(DefaultChartValueColumn(*total), 0);
    EXPECT_EQ(BuildChartData(*total, 0, US).Bars, (std::vector<TChartBar>{{"Row 1", 12.5}}));
    auto none = View({Text("Player")}, {{"Ann"}});
    EXPECT_TRUE(BuildChartData(*none, -1, US).Bars.empty());
}

TEST(ChartDataTest, TitleNamesTheLimitsThatAreOn)
{
    const TReportLimit start{true, QDate(2026, 3, 1), QTime(0, 0, 0)},
        end{true, QDate(2026, 3, 9), QTime(23, 59, 59)};
    EXPECT_EQ(ChartTitle("Rake", "Rake by Date", {}, {}, US), "Rake - Rake by Date");
    EXPECT_EQ(ChartTitle("Hands", "SQL", start, {}, US), "Hands - SQL, from 3/1/26 12:00 AM");
    EXPECT_EQ(ChartTitle("Rake", "Total Rake", start, end, US),
              "Rake - Total Rake, 3/1/26 12:00 AM to 3/9/26 11:59 PM");
}

namespace {
const QLocale UK(QLocale::English, QLocale::UnitedKingdom); // weeks from Monday
} // namespace

TEST(ChartDataTest, LongSpansGoOnATimelineWithNothingLost)
{
    struct TCase
    {
        const char* Name;
        QLocale Locale;
        std::vector<std::vector<QVariant>> Rows; // Date or Month, Rake
        TChartAxis Axis;
        TChartPeriod Period;
        size_t BarCount;
        TChartBar First, Last;
        QString Note;
    };
    const QString weeks = "Each bar is one week, Monday to Sunday";
    const TChartAxis named = TChartAxis::Periods, timeline = TChartAxis::Timeline;
    const TChartPeriod day = TChartPeriod::Day, week = TChartPeriod::Week, month = TChartPeriod::Month;
    const QString days = "Each bar is one day", months = "Each bar is one month";
    // clang-format off
    const std::vector<TCase> cases = {
        {"24 days", US, {{"2025-01-01", 1.0}, {"2025-01-24", 2.0}}, named, day, 24, {"1/1/25", 1}, {"1/24/25", 2}, ""},
        {"25 days", US, {{"2025-01-01", 1.0}, {"2025-01-25", 2.0}}, timeline, day, 25, {"1/1/25", 1}, {"1/25/25", 2}, days},
        {"120 days", US, {{"2025-01-01", 1.0}, {"2025-04-30", 2.0}}, timeline, day, 120, {"1/1/25", 1}, {"4/30/25", 2}, days},
        {"121 days, weeks from Sunday", US,
         {{"2025-01-01", 1.0}, {"2025-01-04", 2.0}, {"2025-01-05", 4.0}, {"2025-05-01", 8.0}}, timeline, week, 18,
         {"12/29/24", 3}, {"4/27/25", 8}, "Each bar is one week, Sunday to Saturday; the first and last are part weeks"},
        {"three years of whole weeks", UK, {{"2024-01-01", 1.0}, {"2026-12-27", 2.0}}, timeline, week, 156,
         {"01/01/2024", 1}, {"21/12/2026", 2}, weeks},
        {"the last week cut", UK, {{"2024-01-01", 1.0}, {"2024-12-31", 2.0}}, timeline, week, 53,
         {"01/01/2024", 1}, {"30/12/2024", 2}, weeks + "; the last is a part week"},
        {"the first week cut", UK, {{"2024-01-03", 1.0}, {"2024-12-29", 2.0}}, timeline, week, 52,
         {"01/01/2024", 1}, {"23/12/2024", 2}, weeks + "; the first is a part week"},
        {"12 months", US, {{"2024-01", 1.0}, {"2024-12", 2.0}}, named, month, 12, {"Jan 2024", 1}, {"Dec 2024", 2}, ""},
        {"24 months", US, {{"2024-01", 1.0}, {"2025-12", 2.0}}, named, month, 24, {"Jan 2024", 1}, {"Dec 2025", 2}, ""},
        {"25 months", US, {{"2024-01", 1.0}, {"2026-01", 2.0}}, timeline, month, 25, {"Jan 2024", 1}, {"Jan 2026", 2}, months},
        {"36 months", US, {{"2024-01", 1.0}, {"2026-12", 2.0}}, timeline, month, 36, {"Jan 2024", 1}, {"Dec 2026", 2}, months},
        {"48 months", US, {{"2023-01", 1.0}, {"2026-06", 4.0}, {"2026-12", 2.0}}, timeline, month, 48,
         {"Jan 2023", 1}, {"Dec 2026", 2}, months},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto view = View({Text(c.Period == month ? "Month" : "Date"), Real("Rake")}, c.Rows);
        const TChartData data = BuildChartData(*view, 1, c.Locale);
        EXPECT_TRUE(data.TimeSeries);
        EXPECT_EQ(data.Axis, c.Axis);
        EXPECT_EQ(data.Period, c.Period);
        EXPECT_EQ(data.Note, c.Note);
        ASSERT_EQ(data.Bars.size(), c.BarCount);
        EXPECT_EQ(data.Bars.front(), c.First);
        EXPECT_EQ(data.Bars.back(), c.Last);
        double shown = 0, stored = 0;
        for (const auto& bar : data.Bars)
            shown += bar.Value;
        for (const auto& row : c.Rows)
            stored += row[1].toDouble();
        EXPECT_EQ(shown, stored) << "every day in exactly one bar";
    }
}

TEST(ChartDataTest, TimelineMarksDatesAsOftenAsTheyFit)
{
    const auto series = [](std::vector<std::vector<QVariant>> rows) {
        auto view = View({Text(rows[0][0].toString().size() == 7 ? "Month" : "Date"), Real("Rake")}, rows);
        return BuildChartData(*view, 1, UK);
    };
    const TChartData months = series({{"2024-01", 1.0}, {"2026-12", 1.0}});
    const TChartData fromMarch = series({{"2024-03", 1.0}, {"2027-02", 1.0}});
    const TChartData weeks = series({{"2024-01-01", 1.0}, {"2026-12-27", 1.0}});
    const TChartData july = series({{"2024-07-01", 1.0}, {"2024-07-31", 1.0}});
    struct TCase
    {
        const char* Name;
        const TChartData& Data;
        int MaxLabels;
        std::vector<TChartTick> Ticks;
    };
    // clang-format off
    const std::vector<TCase> cases = {
        {"halves", months, 7, {{-0.5, "Jan 2024"}, {5.5, "Jul 2024"}, {11.5, "Jan 2025"}, {17.5, "Jul 2025"},
                               {23.5, "Jan 2026"}, {29.5, "Jul 2026"}}},
        {"years", months, 3, {{-0.5, "Jan 2024"}, {11.5, "Jan 2025"}, {23.5, "Jan 2026"}}},
        {"halves on the calendar, not the first bar", fromMarch, 6,
         {{3.5, "Jul 2024"}, {9.5, "Jan 2025"}, {15.5, "Jul 2025"}, {21.5, "Jan 2026"}, {27.5, "Jul 2026"},
          {33.5, "Jan 2027"}}},
        {"inside weeks", weeks, 6, {{-0.5, "Jan 2024"}, {182 / 7.0 - 0.5, "Jul 2024"}, {366 / 7.0 - 0.5, "Jan 2025"},
                                    {547 / 7.0 - 0.5, "Jul 2025"}, {731 / 7.0 - 0.5, "Jan 2026"},
                                    {912 / 7.0 - 0.5, "Jul 2026"}}},
        {"a month's Mondays, under their bars", july, 6,
         {{0, "01/07/2024"}, {7, "08/07/2024"}, {14, "15/07/2024"}, {21, "22/07/2024"}, {28, "29/07/2024"}}},
        {"a month in one mark", july, 1, {{0, "Jul 2024"}}},
    };
    // clang-format on
    for (const TCase& c : cases)
        EXPECT_EQ(TimelineTicks(c.Data, c.MaxLabels, UK), c.Ticks) << c.Name;
    EXPECT_EQ(TimelineTicks(july, 16, UK).size(), 16u) << "every other day";
    // The last week runs into January 2027, the rows do not.
    const auto monthly = TimelineTicks(series({{"2024-01-01", 1.0}, {"2026-12-31", 1.0}}), 40, UK);
    ASSERT_EQ(monthly.size(), 36u);
    EXPECT_EQ(monthly.back().Label, "Dec 2026");
    EXPECT_TRUE(TimelineTicks(series({{"2024-01", 1.0}, {"2024-12", 1.0}}), 12, UK).empty())
        << "bars named each need no marks";
}
