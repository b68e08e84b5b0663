#include "viewer/HHFunctions.h"

#include "support/QtPrinters.h"
#include <gtest/gtest.h>

namespace {

TEST(HHFunctionsTest, CountsOnlyLinesThatStartWithTheMarker)
{
    const QStringList lines = {QStringLiteral("Hand #1 - 2024-01-01"),
                               QStringLiteral(" Hand #2 with a blank before"),
                               QStringLiteral("hand #3 small h"),
                               QStringLiteral("Hand#4 no blank"),
                               QStringLiteral("Seat 1: Hand #5 inside"),
                               QStringLiteral("Hand #"),
                               QString(),
                               QStringLiteral("Hand #77")};
    EXPECT_EQ(CountHands(lines), 3);
    EXPECT_EQ(CountHands({}), 0);
}

TEST(HHFunctionsTest, LowersOnlyTheAsciiCapitals)
{
    EXPECT_EQ(LowerAscii(QStringLiteral("AZaz@[`{ ÉÄŽ Ж")), QStringLiteral("azaz@[`{ ÉÄŽ Ж"));
    EXPECT_TRUE(ContainsLowered(QStringLiteral("Player RAISES to 2"), QStringLiteral("raises")));
    EXPECT_FALSE(ContainsLowered(QStringLiteral("ÉCLAIR"), QStringLiteral("éclair")));
    EXPECT_TRUE(ContainsLowered(QStringLiteral("aaab"), QStringLiteral("aab")));
    EXPECT_FALSE(ContainsLowered(QStringLiteral("ab"), QStringLiteral("abc")));
}

TEST(HHFunctionsTest, FindOrderAndItsEdges)
{
    const QStringList lines = {QStringLiteral("Hand #1"),      QStringLiteral("Alice bets 5"),
                               QStringLiteral("Bob folds"),    QStringLiteral("Hand #2"),
                               QStringLiteral("ALICE raises"), QStringLiteral("Élodie calls"),
                               QStringLiteral("Carol wins")};
    struct Row
    {
        const char* Name;
        QStringList Lines;
        int Selected;
        QString Text;
        TFindResult Expected;
    };
    const Row rows[] = {
        {"no selection finds the first", lines, -1, "alice", {1, false}},
        {"goes on after the selection", lines, 1, "alice", {4, false}},
        {"wraps to the first match", lines, 4, "alice", {1, false}},
        {"capitals in the find text", lines, -1, "BOB", {2, false}},
        {"mixed case in the line", lines, 0, "Alice Raises", {4, false}},
        {"only the selected line matches", lines, 2, "bob", {2, false}},
        {"selected last line wraps to the top", lines, 6, "hand", {0, false}},
        {"no match without selection", lines, -1, "dave", {-1, true}},
        {"no match with selection", lines, 3, "dave", {-1, true}},
        {"accented capital matches only itself", lines, -1, "élodie", {-1, true}},
        {"accented capital found as written", lines, -1, "Élodie", {5, false}},
        {"empty find text does nothing", lines, 2, "", {-1, false}},
        {"one line does nothing even on a match", {QStringLiteral("Hand #1")}, -1, "hand", {-1, false}},
        {"no lines does nothing", {}, -1, "hand", {-1, false}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FindNext(row.Lines, row.Selected, row.Text), row.Expected) << row.Name;
}

TEST(HHFunctionsTest, TheMatchIsScrolledNearTheMiddle)
{
    struct Row
    {
        int Match, Height, Line, Top;
    };
    // 301 px list of 15 px lines: (301 div 2) div 15 = 10 lines above the match.
    for (const Row& row : {Row{50, 301, 15, 40}, Row{10, 301, 15, 0}, Row{3, 301, 15, 0}, Row{50, 29, 15, 50},
                           Row{50, 30, 15, 49}})
        EXPECT_EQ(CentredTopLine(row.Match, row.Height, row.Line), row.Top) << row.Match << "/" << row.Height;
}

} // namespace
