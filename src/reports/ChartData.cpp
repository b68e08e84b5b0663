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
    if (const auto sums = PeriodSums(view, valueColumn, months)) {
        data.TimeSeries = true;
        data.Bars = TimeBars(*sums, months, locale);
    } else {
        data.Bars = RankingBars(view, valueColumn);
    }
    return data;
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
