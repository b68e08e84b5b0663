#pragma once

#include "reports/DataView.h"
#include "reports/ReportCatalogue.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <vector>

// What the chart window draws, worked out from the report as loaded: plain
// data, so that the front ends and the tests need no chart library.
struct TChartBar
{
    QString Label;
    double Value = 0;
    bool operator==(const TChartBar&) const = default;
};

// How the bars are laid out and labelled.
enum class TChartAxis
{
    Ranking, // horizontal bars, largest first, each named
    Periods, // a bar per day or month, each named under it
    Timeline // too many periods to name each: dated marks under the bars
};

// What a bar of a time series holds.
enum class TChartPeriod
{
    Day,
    Week,
    Month
};

struct TChartData
{
    // True: a bar per period in date order, the gaps as 0. False: a ranking,
    // largest first.
    bool TimeSeries = false;
    TChartAxis Axis = TChartAxis::Ranking;
    TChartPeriod Period = TChartPeriod::Day;
    QDate First; // the first day of the first bar of a time series
    QDate Last;  // the last day (or month) of a time series that holds rows
    std::vector<TChartBar> Bars;
    QString Note; // said under the chart; empty when each bar is named
};

// A dated mark under a timeline: At counts bars, 0 being the middle of the
// first one, so a period's start lies between bars or inside a week's bar.
struct TChartTick
{
    double At = 0;
    QString Label;
    bool operator==(const TChartTick&) const = default;
};

// A ranking shows at most this many bars; the last one sums the rest.
inline constexpr int ChartRankingBars = 25;

// Past this many bars their standing names no longer fit under them at the
// window's designed size (Qt cuts each to "..."): the days or months go on a
// timeline with dated marks.
inline constexpr int ChartMostNamedBars = 24;

// Beyond this many days a day's bar is too thin to see: the days are summed
// per week.
inline constexpr int ChartMostDayBars = 120;

// The columns a chart can show: the integer and real ones, in report order.
std::vector<int> ChartValueColumns(const TDataView& view);

// "Rake" when the report has it, else its last real column, else its last
// numeric column; -1 when nothing can be charted.
int DefaultChartValueColumn(const TDataView& view);

// The bars of one value column over the view's rows in their shown order. A
// NULL value counts as 0. Labels of days and months are in the locale's forms;
// a ranking's label is the row's text columns joined with " / ".
TChartData BuildChartData(const TDataView& view, int valueColumn, const QLocale& locale);

// The marks under a timeline, the shortest step that gives at most maxLabels:
// under days every day, every other day or each week's first day (in the
// locale's short date form); else the starts of months, every 1, 2, 3 or 6
// months or whole years.
std::vector<TChartTick> TimelineTicks(const TChartData& data, int maxLabels, const QLocale& locale);

// The chart's title: the value, the report, and the limits that are on.
QString ChartTitle(const QString& valueName, const QString& reportName, const TReportLimit& start,
                   const TReportLimit& end, const QLocale& locale);
