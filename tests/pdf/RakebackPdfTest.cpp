// The printed statement: the texts of its table, its pages and its failures.
#include "pdf/RakebackPdf.h"
#include "pdf/PdfPages.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TRakebackStatement Statement(int players)
{
    TRakebackStatement statement;
    for (int i = 0; i < players; ++i) {
        const TRakebackRow row{QStringLiteral("Player %1").arg(i, 3, 10, QLatin1Char('0')), i + 1,
                               0.5 * (i + 1), 10, RakebackCents(0.5 * (i + 1), 10)};
        statement.Rows.append(row);
        statement.Hands += row.Hands;
        statement.Rake += row.Rake;
        statement.Cents += row.Cents;
    }
    return statement;
}

TRakebackPdfFacts Facts()
{
    return {QStringLiteral("from 2026-11-01 00:00:00 to 2026-11-30 23:59:59"), QStringLiteral("Proportional"),
            12.5, QDateTime(QDate(2026, 12, 1), QTime(9, 30))};
}

TEST(RakebackPdf, TableTextsUsePointsAndEndWithTheTotal)
{
    TRakebackStatement statement;
    statement.Rows = {{QStringLiteral("Åsa"), 3, 1.23456, 12.5, 15},
                      {QStringLiteral("=Bob"), 1, 0.00005, 100, 0},
                      {QStringLiteral("Cy"), 2, -0.125, 100, -13}};
    statement.Hands = 6;
    statement.Rake = 1.10961;
    statement.Cents = 2;
    EXPECT_EQ(RakebackPdfTitles(), (QStringList{"Player", "Hands", "Rake", "Percent", "Rakeback"}));
    EXPECT_EQ(RakebackPdfRows(statement), (QList<QStringList>{{"Åsa", "3", "1.2346", "12.50", "0.15"},
                                                              {"=Bob", "1", "0.0001", "100.00", "0.00"},
                                                              {"Cy", "2", "-0.1250", "100.00", "-0.13"},
                                                              {"Total", "6", "1.1096", "", "0.02"}}));
    EXPECT_EQ(RakebackPdfRows({}), (QList<QStringList>{{"Total", "0", "0.0000", "", "0.00"}}))
        << "an empty period prints the Total row alone";
}

TEST(RakebackPdf, LongStatementsRunOverPages)
{
    QTemporaryDir dir;
    const struct
    {
        int Players;
        int MinPages, MaxPages;
    } cases[] = {{0, 1, 1}, {5, 1, 1}, {60, 2, 3}, {200, 4, 8}};
    int lastPages = 0;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("s%1.pdf").arg(c.Players));
        WriteRakebackPdf(Statement(c.Players), Facts(), path);
        const int pages = PdfPageCount(path);
        EXPECT_GE(pages, c.MinPages) << c.Players << " players";
        EXPECT_LE(pages, c.MaxPages) << c.Players << " players";
        EXPECT_GE(pages, lastPages) << "more players never take fewer pages";
        lastPages = pages;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << "no temporary file stays beside them";
}

TEST(RakebackPdf, AFailedWriteNamesThePathAndLeavesNoFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no-such-folder/statement.pdf"));
    const QString folderInTheWay = dir.filePath(QStringLiteral("taken.pdf"));
    ASSERT_TRUE(QDir().mkpath(folderInTheWay));
    for (const QString& path : {missing, folderInTheWay}) {
        QString message = QStringLiteral("no error");
        try {
            WriteRakebackPdf(Statement(3), Facts(), path);
        } catch (const TError& e) {
            message = e.Message();
        }
        EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)))
            << message.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.pdf"});
}

} // namespace
