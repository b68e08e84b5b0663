#include "reports/ReportCatalogue.h"

#include <array>

namespace {
struct TReportItem
{
    const char* Text;
    const char* Head; // the filter goes after the head
    const char* Tail; // and before the tail
    bool Filtered;
};

#define KESTRUM_JOIN " FROM Master INNER JOIN Detail USING (Hand)"

// clang-format off
const std::array<TReportItem, 15>& Catalogue()
{
    static const std::array<TReportItem, 15> items = {{
        {"Clear", "", "", false},
        {"Equal Rake by Player",
         "SELECT Player, COUNT(DISTINCT TableName) as Tables, COUNT(*) AS Hands, SUM(AvgShare) AS Rake" KESTRUM_JOIN, " GROUP BY Player", true},
        {"Proportional Rake by Player",
         "SELECT Player, COUNT(DISTINCT TableName) as Tables, COUNT(*) AS Hands, SUM(Share) AS Rake" KESTRUM_JOIN, " GROUP BY Player", true},
        {"Equal Rake by Player & Table",
         "SELECT Player, TableName, COUNT(*) AS Hands, SUM(AvgShare) AS Rake" KESTRUM_JOIN, " GROUP BY Player, TableName", true},
        {"Proportional Rake by Player & Table",
         "SELECT Player, TableName, COUNT(*) AS Hands, SUM(Share) AS Rake" KESTRUM_JOIN, " GROUP BY Player, TableName", true},
        {"Equal Rake by Table & Player",
         "SELECT TableName, Player, COUNT(*) AS Hands, SUM(AvgShare) AS Rake" KESTRUM_JOIN, " GROUP BY TableName, Player", true},
        {"Proportional Rake by Table & Player",
         "SELECT TableName, Player, COUNT(*) AS Hands, SUM(Share) AS Rake" KESTRUM_JOIN, " GROUP BY TableName, Player", true},
        {"Rake by Table",
         "SELECT TableName, COUNT(DISTINCT Player) as Players, COUNT(DISTINCT Hand) AS Hands, SUM(AvgShare) AS Rake"
         KESTRUM_JOIN, " GROUP BY TableName", true},
        {"Total Rake", "SELECT SUM(Rake) AS Rake FROM Master", "", true},
        {"Master only", "SELECT * FROM Master", "", true},
        {"Detail only", "SELECT * FROM Detail ORDER BY Hand, Player", "", false},
        {"Master/Detail join", "SELECT *" KESTRUM_JOIN, "", true},
        {"Rake by Date", "SELECT Date, COUNT(*) AS Hands, SUM(Rake) AS Rake FROM Master",
         " GROUP BY Date ORDER BY Date", true},
        {"Rake by Month", "SELECT substr(Date, 1, 7) AS Month, COUNT(*) AS Hands, SUM(Rake) AS Rake FROM Master",
         " GROUP BY Month ORDER BY Month", true},
        {"Import History", "SELECT * FROM Imports ORDER BY Imported DESC, Source", "", false},
    }};
    return items;
}
// clang-format on
#undef KESTRUM_JOIN

// Dates and times are compared as stored text, so their forms are fixed
// whatever the user's regional settings.
QString DateText(const QDate& date)
{
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

QString TimeText(const QTime& time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour(), time.minute(), time.second());
}
} // namespace

const QStringList& ReportItemTexts()
{
    static const QStringList texts = [] {
        QStringList list;
        for (const auto& item : Catalogue())
            list << QString::fromUtf8(item.Text);
        return list;
    }();
    return texts;
}

QString BuildReportFilter(const TReportLimit& start, const TReportLimit& end)
{
    QString s;
    QString e;
    if (start.Enabled) {
        const QString sd = DateText(start.Date);
        s = QStringLiteral("(Date = '") + sd + QStringLiteral("' AND Time >= '") + TimeText(start.Time) +
            QStringLiteral("') OR Date > '") + sd + QStringLiteral("'");
    }
    if (end.Enabled) {
        const QString ed = DateText(end.Date);
        e = QStringLiteral("(Date = '") + ed + QStringLiteral("' AND Time <= '") + TimeText(end.Time) +
            QStringLiteral("') OR Date < '") + ed + QStringLiteral("'");
    }
    if (start.Enabled && end.Enabled)
        return QStringLiteral(" WHERE (") + s + QStringLiteral(") AND (") + e + QStringLiteral(")");
    if (start.Enabled)
        return QStringLiteral(" WHERE ") + s;
    if (end.Enabled)
        return QStringLiteral(" WHERE ") + e;
    return {};
}

QString BuildReportSQL(int itemIndex, const TReportLimit& start, const TReportLimit& end)
{
    if (itemIndex < 0 || itemIndex >= static_cast<int>(Catalogue().size()))
        return {};
    const TReportItem& item = Catalogue()[itemIndex];
    QString sql = QString::fromUtf8(item.Head);
    if (item.Filtered)
        sql += BuildReportFilter(start, end);
    return sql + QString::fromUtf8(item.Tail);
}
