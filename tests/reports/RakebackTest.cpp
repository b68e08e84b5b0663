// Rakeback statements: the cents, the order, the totals, the rates and the CSV bytes.
#include "reports/Rakeback.h"
#include "RakeFixture.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(Rakeback, CentsRoundHalvesAwayFromZero)
{
    const struct
    {
        double Rake, Percent;
        qint64 Cents;
    } cases[] = {
        {10, 25, 250},    {0.125, 100, 13}, // a half, held a hair low by the double: the guard rounds it up
        {0.0049, 100, 0}, {0.005, 100, 1},  {1.015, 100, 102},     {-0.125, 100, -13},
        {-0.004, 100, 0}, {0, 50, 0},       {12.3456, 33.33, 411}, {99.99, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RakebackCents(c.Rake, c.Percent), c.Cents) << c.Rake << " at " << c.Percent;
    EXPECT_EQ(CentsText(-105), "-1.05");
    EXPECT_EQ(CentsText(7), "0.07");
}

TEST(Rakeback, RatesAreNumbersFromZeroToAHundredWithTwoDecimals)
{
    const struct
    {
        const char* Text;
        double Value; // -1: refused
    } cases[] = {{"0", 0},       {"100", 100}, {"12.5", 12.5}, {"12.55", 12.55}, {"007", 7},   {"100.01", -1},
                 {"12.555", -1}, {"-1", -1},   {"+5", -1},     {"1e1", -1},      {"1,5", -1},  {"", -1},
                 {" 5", -1},     {"5.", -1},   {".5", -1},     {"nan", -1},      {"1 000", -1}};
    for (const auto& c : cases) {
        double value = -1;
        try {
            value = ParseRate(QString::fromLatin1(c.Text));
        } catch (const TError& e) {
            EXPECT_EQ(e.Message(), "Rate must be a number from 0 to 100");
        }
        EXPECT_EQ(value, c.Value) << c.Text;
    }
    EXPECT_EQ(ParseRate(QStringLiteral("7,25"), u','), 7.25) << "the window's own separator";
    EXPECT_EQ(RateText(7.25), "7.25");
    EXPECT_EQ(RateText(10), "10");
}

TEST(Rakeback, StatementOrdersByRakebackThenNameAndTotalsWhatIsPaid)
{
    TRakeFixture f;
    f.Add({1, "Oak", "2026-10-31", "23:59:59", 9, {{"Ann", 9}}}); // outside the period
    f.Add({2, "Oak", "2026-11-01", "00:00:00", 3, {{"Ann", 1}, {"Bob", 1}, {"Cy", 1}}});
    f.Add({3, "Elm", "2026-11-30", "23:59:59", 2, {{"Bob", 1.5}, {"Åsa", 0.5}, {"Zed", 0}}});
    SetRakebackRate(f.Database, "Cy", 50);
    SetRakebackRate(f.Database, "Zed", 100);
    SetRakebackRate(f.Database, "Gone", 10);
    UnsetRakebackRate(f.Database, "Gone");
    const TReportLimit start{true, QDate(2026, 11, 1), QTime(0, 0)};
    const TReportLimit end{true, QDate(2026, 11, 30), QTime(23, 59, 59)};

    const auto rows = [](const TRakebackStatement& s) {
        QStringList out;
        for (const TRakebackRow& r : s.Rows)
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(r.Player)
                       .arg(r.Hands)
                       .arg(r.Rake)
                       .arg(r.Percent)
                       .arg(r.Cents);
        out << QStringLiteral("Total %1 %2 %3").arg(s.Hands).arg(s.Rake).arg(s.Cents);
        return out;
    };
    EXPECT_EQ(rows(BuildRakebackStatement(f.Database, start, end, TRakebackBasis::Proportional, 10)),
              (QStringList{"Cy 1 1 50 50", "Bob 2 2.5 10 25", "Ann 1 1 10 10", "Åsa 1 0.5 10 5",
                           "Zed 1 0 100 0", "Total 6 5 90"}));
    // The equal basis: each player of hand 2 pays 1, of hand 3 two thirds.
    // The equal basis: each player of hand 2 pays 1, of hand 3 two thirds; equal
    // rakebacks go by the name's bytes, so "Åsa" after "Bob".
    EXPECT_EQ(rows(BuildRakebackStatement(f.Database, start, end, TRakebackBasis::Equal, 0)),
              (QStringList{"Zed 1 0.666667 100 67", "Cy 1 1 50 50", "Ann 1 1 0 0", "Bob 2 1.66667 0 0",
                           "Åsa 1 0.666667 0 0", "Total 6 5 117"}));
    // Nothing in the period: the total alone, with zeros.
    const TReportLimit later{true, QDate(2027, 1, 1), QTime(0, 0)};
    EXPECT_EQ(rows(BuildRakebackStatement(f.Database, later, {}, TRakebackBasis::Proportional, 10)),
              QStringList{"Total 0 0 0"});
    EXPECT_EQ(ReadRakebackRates(f.Database), (QList<QPair<QString, double>>{{"Cy", 50}, {"Zed", 100}}));
    // Empty keeps the rates.
    f.Database.EmptyDatabase();
    EXPECT_EQ(ReadRakebackRates(f.Database).size(), 2);
}

TEST(Rakeback, CsvForSpreadsheets)
{
    TRakebackStatement s;
    s.Rows = {{"=SUM(A1)", 3, 1.23456, 12.5, 15}, {"Ann \"A\"", 1, 2, 0, 0}, {"-Bob", 2, 0.5, 100, 50}};
    s.Hands = 6;
    s.Rake = 3.73456;
    s.Cents = 65;
    EXPECT_EQ(RakebackCsv(s), QByteArray("\xEF\xBB\xBF"
                                         "Player,Hands,Rake,Percent,Rakeback\r\n"
                                         "\"'=SUM(A1)\",3,1.2346,12.50,0.15\r\n"
                                         "\"Ann \"\"A\"\"\",1,2.0000,0.00,0.00\r\n"
                                         "\"'-Bob\",2,0.5000,100.00,0.50\r\n"
                                         "\"Total\",6,3.7346,,0.65\r\n"));
    const struct
    {
        TReportLimit Start, End;
        const char* Stem;
    } stems[] = {
        {{}, {}, "rakeback"},
        {{true, QDate(2026, 11, 1), QTime(0, 0)},
         {true, QDate(2026, 11, 30), QTime(23, 59, 59)},
         "rakeback-2026-11"},
        {{true, QDate(2026, 11, 3), QTime(0, 0)},
         {true, QDate(2026, 12, 2), QTime(0, 0)},
         "rakeback-2026-11-03_2026-12-02"},
        {{true, QDate(2026, 11, 3), QTime(0, 0)}, {}, "rakeback-2026-11-03_"},
    };
    for (const auto& c : stems)
        EXPECT_EQ(RakebackFileStem(c.Start, c.End), c.Stem);
}

} // namespace
