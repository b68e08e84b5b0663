#pragma once

#include "reports/DataView.h"
#include "reports/ReportCatalogue.h"

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

struct TChartData
{
    // True: a bar per day or month in date order, the gaps as 0. False: a
    // ranking, largest first.
    bool TimeSeries = false;
    std::vector<TChartBar> Bars;
};

// A ranking shows at most this many bars; the last one sums the rest.
inline constexpr int ChartRankingBars = 25;

// The columns a chart can show: the integer and real ones, in report order.
std::vector<int> ChartValueColumns(const TDataView& view);

// "Rake" when the report has it, else its last real column, else its last
// numeric column; -1 when nothing can be charted.
int DefaultChartValueColumn(const TDataView& view);

// The bars of one value column over the view's rows in their shown order. A
// NULL value counts as 0. Labels of days and months are in the locale's forms;
// a ranking's label is the row's text columns joined with " / ".
TChartData BuildChartData(const TDataView& view, int valueColumn, const QLocale& locale);

// The chart's title: the value, the report, and the limits that are on.
QString ChartTitle(const QString& valueName, const QString& reportName, const TReportLimit& start,
                   const TReportLimit& end, const QLocale& locale);
