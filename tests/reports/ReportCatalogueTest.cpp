#include "reports/ReportCatalogue.h"

#include "support/QtPrinters.h"
#include <gtest/gtest.h>

TEST(ReportCatalogueTest, TheTwoWorkedExamples)
{
    const TReportLimit start{true, QDate(2014, 3, 7), QTime(0, 0, 0)};
    EXPECT_EQ(BuildReportSQL(8, start, {}),
              "SELECT SUM(Rake) AS Rake FROM Master WHERE (Date = '2014-03-07' AND "
              "Time >= '00:00:00') OR Date > '2014-03-07'");
    EXPECT_EQ(BuildReportSQL(9, start, {true, QDate(2014, 3, 7), QTime(23, 59, 59)}),
              "SELECT * FROM Master WHERE ((Date = '2014-03-07' AND Time >= '00:00:00') OR Date > "
              "'2014-03-07') AND "
              "((Date = '2014-03-07' AND Time <= '23:59:59') OR Date < '2014-03-07')");
}

TEST(ReportCatalogueTest, EveryItemWithEachCombinationOfLimits)
{
    const QString join = " FROM Master INNER JOIN Detail USING (Hand)";
    const std::vector<std::pair<QString, QString>> items = {
        {"Clear", ""},
        {"Equal Rake by Player", "SELECT Player, COUNT(DISTINCT TableName) as Tables, COUNT(*) AS Hands, "
                                 "SUM(AvgShare) AS Rake" +
                                     join + " GROUP BY Player"},
        {"Proportional Rake by Player",
         "SELECT Player, COUNT(DISTINCT TableName) as Tables, COUNT(*) AS Hands, "
         "SUM(Share) AS Rake" +
             join + " GROUP BY Player"},
        {"Equal Rake by Player & Table",
         "SELECT Player, TableName, COUNT(*) AS Hands, SUM(AvgShare) AS Rake" + join +
             " GROUP BY Player, TableName"},
        {"Proportional Rake by Player & Table",
         "SELECT Player, TableName, COUNT(*) AS Hands, SUM(Share) AS Rake" + join +
             " GROUP BY Player, TableName"},
        {"Equal Rake by Table & Player",
         "SELECT TableName, Player, COUNT(*) AS Hands, SUM(AvgShare) AS Rake" + join +
             " GROUP BY TableName, Player"},
        {"Proportional Rake by Table & Player",
         "SELECT TableName, Player, COUNT(*) AS Hands, SUM(Share) AS Rake" + join +
             " GROUP BY TableName, Player"},
        {"Rake by Table",
         "SELECT TableName, COUNT(DISTINCT Player) as Players, COUNT(DISTINCT Hand) AS Hands, "
         "SUM(AvgShare) AS Rake" +
             join + " GROUP BY TableName"},
        {"Total Rake", "SELECT SUM(Rake) AS Rake FROM Master"},
        {"Master only", "SELECT * FROM Master"},
        {"Detail only", "SELECT * FROM Detail ORDER BY Hand, Player"},
        {"Master/Detail join", "SELECT *" + join},
        {"Rake by Date",
         "SELECT Date, COUNT(*) AS Hands, SUM(Rake) AS Rake FROM Master GROUP BY Date ORDER BY Date"},
        {"Rake by Month",
         "SELECT substr(Date, 1, 7) AS Month, COUNT(*) AS Hands, SUM(Rake) AS Rake FROM Master "
         "GROUP BY Month ORDER BY Month"},
        {"Import History", "SELECT * FROM Imports ORDER BY Imported DESC, Source"},
    };
    const TReportLimit start{true, QDate(999, 3, 7), QTime(1, 2, 3, 999)};
    const TReportLimit end{true, QDate(2014, 12, 9), QTime(23, 59, 59)};
    const QString s = "(Date = '0999-03-07' AND Time >= '01:02:03') OR Date > '0999-03-07'";
    const QString e = "(Date = '2014-12-09' AND Time <= '23:59:59') OR Date < '2014-12-09'";
    struct TLimits
    {
        TReportLimit Start, End;
        QString Filter;
    };
    const std::vector<TLimits> limits = {{{}, {}, ""},
                                         {start, {}, " WHERE " + s},
                                         {{}, end, " WHERE " + e},
                                         {start, end, " WHERE (" + s + ") AND (" + e + ")"}};
    ASSERT_EQ(ReportItemTexts().size(), qsizetype(items.size()));
    for (int i = 0; i < int(items.size()); ++i) {
        EXPECT_EQ(ReportItemTexts()[i], items[i].first);
        for (const auto& limit : limits) {
            QString expected = items[i].second;
            if (i != 0 && i != 10 && i != 14) { // Clear, Detail only and the import log are never filtered
                const qsizetype tail = expected.indexOf(" GROUP BY");
                expected.insert(tail < 0 ? expected.size() : tail, limit.Filter);
            }
            EXPECT_EQ(BuildReportSQL(i, limit.Start, limit.End), expected) << i << limit.Filter.toStdString();
        }
    }
    EXPECT_EQ(BuildReportSQL(15, start, end), "");
}
