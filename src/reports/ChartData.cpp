#include "reports/ChartData.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <optional>

namespace {
bool Numeric(const TColumn& column)
{
    return column.Type == TFieldType::Integer || column.Type == TFieldType::Real;
}

double ValueAt(const TDataView& view, int row, int column)
{
    if (view.IsNull(row, column))
        return 0;
    return view.Column(column).Type == TFieldType::Integer ? double(view.Integer(row, column))
                                                           : view.Real(row, column);
}

// The first day of the period a stored text names, or nothing. The pattern is
// checked first: QDate alone would take "2026-1-5" or trailing text.
std::optional<QDate> PeriodStart(const QString& text, bool months)
{
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression month(QStringLiteral("^\\d{4}-\\d{2}$"));
    if (!(months ? month : day).match(text).hasMatch())
        return std::nullopt;
    const QDate date(text.left(4).toInt(), text.mid(5, 2).toInt(), months ? 1 : text.mid(8, 2).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// Sums per day or month when the first column is a Date or Month of stored
// dates throughout; nothing when any row is not one.
std::optional<std::map<QDate, double>> PeriodSums(const TDataView& view, int valueColumn, bool& months)
{
    const TColumn& first = view.Column(0);
    const bool named = first.Name.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0 ||
                       first.Name.compare(QLatin1String("Month"), Qt::CaseInsensitive) == 0;
    if (!named || first.Type != TFieldType::Text)
        return std::nullopt;
    months = view.RowCount() > 0 && !view.IsNull(0, 0) && view.Text(0, 0).size() == 7;
    std::map<QDate, double> sums;
    for (int row = 0; row < view.RowCount(); ++row) {
        const auto date = view.IsNull(row, 0) ? std::nullopt : PeriodStart(view.Text(row, 0), months);
        if (!date)
            return std::nullopt;
        sums[*date] += ValueAt(view, row, valueColumn);
    }
    return sums;
}

std::vector<TChartBar> TimeBars(const std::map<QDate, double>& sums, bool months, const QLocale& locale)
{
    std::vector<TChartBar> bars;
    if (sums.empty())
        return bars;
    const QDate last = sums.rbegin()->first;
    for (QDate at = sums.begin()->first; at <= last; at = months ? at.addMonths(1) : at.addDays(1)) {
        const auto found = sums.find(at);
        bars.push_back({months ? locale.toString(at, QStringLiteral("MMM yyyy"))
                               : locale.toString(at, QLocale::ShortFormat),
                        found == sums.end() ? 0.0 : found->second});
    }
    return bars;
}

// The days summed per week of the locale (Monday to Sunday, or Sunday to
// Saturday), each bar named by its first day; weeks without hands are 0.
std::vector<TChartBar> WeekBars(const std::map<QDate, double>& sums, QDate firstWeek, const QLocale& locale)
{
    std::vector<TChartBar> bars;
    const QDate last = sums.rbegin()->first;
    for (QDate week = firstWeek; week <= last; week = week.addDays(7)) {
        double sum = 0;
        for (auto it = sums.lower_bound(week); it != sums.end() && it->first < week.addDays(7); ++it)
            sum += it->second;
        bars.push_back({locale.toString(week, QLocale::ShortFormat), sum});
    }
    return bars;
}

QString WeekNote(QDate firstWeek, QDate first, QDate last, const QLocale& locale)
{
    const int firstDay = firstWeek.dayOfWeek();
    QString note = QStringLiteral("Each bar is one week, %1 to %2")
                       .arg(locale.dayName(firstDay), locale.dayName((firstDay + 5) % 7 + 1));
    const bool cutFirst = first != firstWeek;
    const bool cutLast = firstWeek.daysTo(last) % 7 != 6;
    if (cutFirst && cutLast)
        note += QStringLiteral("; the first and last are part weeks");
    else if (cutFirst)
        note += QStringLiteral("; the first is a part week");
    else if (cutLast)
        note += QStringLiteral("; the last is a part week");
    return note;
}

TChartData TimeSeriesData(const std::map<QDate, double>& sums, bool months, const QLocale& locale)
{
    TChartData data;
    data.TimeSeries = true;
    data.Axis = TChartAxis::Periods;
    data.Period = months ? TChartPeriod::Month : TChartPeriod::Day;
    if (sums.empty())
        return data;
    const QDate first = sums.begin()->first, last = sums.rbegin()->first;
    data.First = first;
    data.Last = last;
    if (!months && first.daysTo(last) + 1 > ChartMostDayBars) {
        data.Axis = TChartAxis::Timeline;
        data.Period = TChartPeriod::Week;
        data.First = first.addDays(-((first.dayOfWeek() - locale.firstDayOfWeek() + 7) % 7));
        data.Bars = WeekBars(sums, data.First, locale);
        data.Note = WeekNote(data.First, first, last, locale);
        return data;
    }
    data.Bars = TimeBars(sums, months, locale);
    if (int(data.Bars.size()) > ChartMostNamedBars) {
        data.Axis = TChartAxis::Timeline;
        data.Note = months ? QStringLiteral("Each bar is one month") : QStringLiteral("Each bar is one day");
    }
    return data;
}

std::vector<TChartBar> RankingBars(const TDataView& view, int valueColumn)
{
    std::vector<int> texts;
    for (int c = 0; c < view.ColumnCount(); ++c)
        if (view.Column(c).Type == TFieldType::Text)
            texts.push_back(c);
    std::vector<TChartBar> bars;
    for (int row = 0; row < view.RowCount(); ++row) {
        QStringList parts;
        for (int c : texts)
            parts << (view.IsNull(row, c) ? QString() : view.Text(row, c));
        bars.push_back(
            {texts.empty() ? QStringLiteral("Row %1").arg(row + 1) : parts.join(QLatin1String(" / ")),
             ValueAt(view, row, valueColumn)});
    }
    // Equal values keep the order the user sees in the grid.
    std::stable_sort(bars.begin(), bars.end(),
                     [](const auto& a, const auto& b) { return a.Value > b.Value; });
    if (int(bars.size()) > ChartRankingBars) {
        TChartBar others{QStringLiteral("Others (%1)").arg(bars.size() - ChartRankingBars + 1), 0};
        for (auto it = bars.begin() + ChartRankingBars - 1; it != bars.end(); ++it)
            others.Value += it->Value;
        bars.resize(ChartRankingBars - 1);
        bars.push_back(others);
    }
    return bars;
}

QString LimitText(const TReportLimit& limit, const QLocale& locale)
{
    return locale.toString(QDateTime(limit.Date, limit.Time), QLocale::ShortFormat);
}
} // namespace

std::vector<int> ChartValueColumns(const TDataView& view)
{
    std::vector<int> columns;
    for (int c = 0; c < view.ColumnCount(); ++c)
        if (Numeric(view.Column(c)))
            columns.push_back(c);
    return columns;
}

int DefaultChartValueColumn(const TDataView& view)
{
    const std::vector<int> columns = ChartValueColumns(view);
    for (int c : columns)
        if (view.Column(c).Name.compare(QLatin1String("Rake"), Qt::CaseInsensitive) == 0)
            return c;
    for (auto it = columns.rbegin(); it != columns.rend(); ++it)
        if (view.Column(*it).Type == TFieldType::Real)
            return *it;
    return columns.empty() ? -1 : columns.back();
}

TChartData BuildChartData(const TDataView& view, int valueColumn, const QLocale& locale)
{
    TChartData data;
    if (valueColumn < 0 || valueColumn >= view.ColumnCount() || !Numeric(view.Column(valueColumn)))
        return data;
    bool months = false;
    if (const auto sums = PeriodSums(view, valueColumn, months))
        return TimeSeriesData(*sums, months, locale);
    data.Bars = RankingBars(view, valueColumn);
    return data;
}

std::vector<TChartTick> TimelineTicks(const TChartData& data, int maxLabels, const QLocale& locale)
{
    std::vector<TChartTick> ticks;
    if (data.Axis != TChartAxis::Timeline || data.Bars.empty())
        return ticks;
    const auto at = [&data](QDate day) {
        if (data.Period == TChartPeriod::Month)
            return (day.year() - data.First.year()) * 12 + day.month() - data.First.month() - 0.5;
        if (data.Period == TChartPeriod::Day)
            return double(data.First.daysTo(day)); // under the day's own bar
        return data.First.daysTo(day) / 7.0 - 0.5;
    };
    const double end = data.Bars.size() - 0.5;
    const int most = std::max(1, maxLabels);
    if (data.Period == TChartPeriod::Day) {
        for (int step : {1, 2, 7}) {
            ticks.clear();
            for (QDate day = data.First; day <= data.Last; day = day.addDays(1))
                if (step == 7 ? day.dayOfWeek() == locale.firstDayOfWeek()
                              : data.First.daysTo(day) % step == 0)
                    ticks.push_back({at(day), locale.toString(day, QLocale::ShortFormat)});
            if (int(ticks.size()) <= most)
                return ticks;
        }
    }
    QDate firstMonth(data.First.year(), data.First.month(), 1);
    if (firstMonth < data.First)
        firstMonth = firstMonth.addMonths(1);
    // Steps that keep the marks on the same months every year.
    for (int step : {1, 2, 3, 6, 12, 24, 60, 120, 240, 600}) {
        ticks.clear();
        // A week's bar may reach past the last day: no mark promises days beyond it.
        for (QDate month = firstMonth; at(month) < end && month <= data.Last; month = month.addMonths(1))
            if ((month.year() * 12 + month.month() - 1) % step == 0)
                // A chart of months names the month even where a mark falls
                // once a year; a chart of days or weeks shows the year alone.
                ticks.push_back(
                    {at(month), locale.toString(month, step >= 12 && data.Period != TChartPeriod::Month
                                                           ? QStringLiteral("yyyy")
                                                           : QStringLiteral("MMM yyyy"))});
        if (int(ticks.size()) <= most)
            break;
    }
    return ticks;
}

QString ChartTitle(const QString& valueName, const QString& reportName, const TReportLimit& start,
                   const TReportLimit& end, const QLocale& locale)
{
    QString title = valueName + QLatin1String(" - ") + reportName;
    if (start.Enabled && end.Enabled)
        title += QStringLiteral(", %1 to %2").arg(LimitText(start, locale), LimitText(end, locale));
    else if (start.Enabled)
        title += QStringLiteral(", from %1").arg(LimitText(start, locale));
    else if (end.Enabled)
        title += QStringLiteral(", until %1").arg(LimitText(end, locale));
    return title;
}
