// The action markers and the player ledger, on their own.
#include "import/RakeShares.h"
#include "import/PlayerLedger.h"
#include "support/HandGenerator.h"
#include "support/QtPrinters.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// The marker a line is the action of, tried one by one in table order.
int FirstMarkerInTableOrder(QStringView line)
{
    TPlayerLedger scratch;
    for (int m = 0; m < static_cast<int>(ActionMarkers.size()); ++m) {
        if (ApplyAction(scratch, ActionMarkers[m].Text, line, ActionMarkers[m].Mode))
            return m;
    }
    return -1;
}

struct TActionCase
{
    const char* Line;
    const char* Player; // nullptr: no marker, nobody added
    double Bet;         // the player's Bet after the line, starting from 5
};

// Each line acts on a ledger where the named player already has Bet 5.
const TActionCase ActionCases[] = {
    {"Ann posts big blind 2", "Ann", 2},
    {"Ann posts small blind 1", "Ann", 1},
    {"Ann posts small & big blind 3", "Ann", 3},
    {"Ann posts straddle 4", "Ann", 4},
    {"Ann checks", "Ann", 5},
    {"Ann calls 2", "Ann", 7},
    {"Ann bets 9", "Ann", 9},
    {"Ann raises to 12", "Ann", 12},
    {"Ann folds", "Ann", 5},
    {"Ann wins Pot (30)", "Ann", 5},
    {"Ann refunded 2", "Ann", 3},
    {"Ann posts ante 1", nullptr, 0},
    {"Ann mucks", nullptr, 0},
    {"Ann calls", nullptr, 0},  // " calls " needs its blank after
    {"Ann checksum", "Ann", 5}, // " checks" does not
    {"Ann calls 2 and is all-in", "Ann", 7},
    {"Ann raises to 12.5 and is all-in", "Ann", 12.5},
    {"Ann calls  2", "Ann", 5},  // the amount text ends at its first blank: empty
    {"Ann calls 2\t", "Ann", 5}, // a tab is no blank: "2\t" does not read
    {"Ann calls 1,000", "Ann", 5},
    {"Ann calls 1e1", "Ann", 15},
    {"Ann calls -2", "Ann", 3},
    {"Ann bets x", "Ann", 0},
    // The first marker in table order applies, wherever it stands in the line.
    {"Ann bets 7 calls 5", "Ann bets 7", 10},
    {"Ann calls 5 bets 7", "Ann", 10},
    {"Ann wins 10 posts big blind 2", "Ann wins 10", 2},
    {"Ann refunded 3 folds", "Ann refunded 3", 5},
    {"Ann raises to 9 checks", "Ann raises to 9", 5},
    {"Ann posts small blind 1 posts big blind 2", "Ann posts small blind 1", 2},
    {"Ann calls 1 calls 2", "Ann", 6}, // the first occurrence of the marker
};

TEST(RakeShares, ActionLines)
{
    for (const TActionCase& c : ActionCases) {
        const QString line = QString::fromUtf8(c.Line);
        const TMarkerHit hit = FindActionMarker(line);
        EXPECT_EQ(hit.Marker, FirstMarkerInTableOrder(line)) << c.Line;
        TPlayerLedger ledger;
        if (c.Player)
            ledger.FindOrAdd(QString::fromUtf8(c.Player)).Bet = 5;
        const qsizetype before = ledger.Count();
        if (hit.Marker >= 0)
            ApplyActionAt(ledger, line, hit);
        if (!c.Player) {
            EXPECT_EQ(hit.Marker, -1) << c.Line;
            EXPECT_EQ(ledger.Count(), 0) << c.Line;
            continue;
        }
        EXPECT_EQ(ledger.Count(), before) << c.Line << ": a player other than the expected one was added";
        const TPlayer* player = ledger.Find(QString::fromUtf8(c.Player));
        ASSERT_NE(player, nullptr) << c.Line;
        EXPECT_EQ(player->Bet, c.Bet) << c.Line;
    }
}

TEST(RakeShares, AmountTextIsCutAt99Characters)
{
    TPlayerLedger ledger;
    // 99 zeros, then a digit past the cut: the amount reads as 0, not 7.
    ApplyAction(ledger, ActionMarkers[6].Text, QStringLiteral("Ann bets ") + QString(99, u'0') + u'7',
                TActionMode::Replace);
    EXPECT_EQ(ledger.Find(u"Ann")->Bet, 0);
    ApplyAction(ledger, ActionMarkers[6].Text, QStringLiteral("Ann bets ") + QString(98, u'0') + u'7',
                TActionMode::Replace);
    EXPECT_EQ(ledger.Find(u"Ann")->Bet, 7);
}

TEST(RakeShares, FastMarkerSearchAgreesOverGeneratedLines)
{
    THandGenerator generator(99);
    int actions = 0;
    for (int table = 0; table < 4; ++table) {
        const TGeneratedFile file =
            generator.MakeFile(QStringLiteral("Elm %1").arg(table), QDate(2026, 1, 2), 200, 1);
        for (const QString& line : file.Lines) {
            const int expected = FirstMarkerInTableOrder(line);
            const TMarkerHit hit = FindActionMarker(line);
            ASSERT_EQ(hit.Marker, expected) << qPrintable(line);
            if (expected >= 0) {
                EXPECT_EQ(hit.Position, line.indexOf(ActionMarkers[expected].Text)) << qPrintable(line);
                ++actions;
            }
        }
    }
    EXPECT_GT(actions, 1000);
}

// The scan compares several units at a time: every marker, colon and quote is
// placed at every offset of lines of every length around those blocks, alone
// and after an earlier marker, and both scans must give the one-by-one answer.
TEST(RakeShares, MarkerScansAgreeAtEveryOffset)
{
    const QStringList fillers = {QString(), QStringLiteral("x"), QStringLiteral("Ann calls 1 "),
                                 QStringLiteral("Bo folds "),
                                 QStringLiteral("\u00c9l\u00e9na posts straddle 4 ")};
    const QStringList tails = {QString(), QStringLiteral("2"), QStringLiteral("3 and more text"),
                               QStringLiteral(":"), QStringLiteral(" says \"hi\"")};
    int checked = 0;
    for (const TActionMarker& marker : ActionMarkers) {
        for (const QString& filler : fillers) {
            for (int pad = 0; pad < 17; ++pad) {
                for (const QString& tail : tails) {
                    for (int stopAt = -1; stopAt <= pad; stopAt += 4) {
                        QString line = filler + QString(pad, u'n') + marker.Text + tail;
                        if (stopAt >= 0)
                            line[filler.size() + stopAt] = stopAt % 8 == 0 ? u'"' : u':';
                        const int expected = FirstMarkerInTableOrder(line);
                        const TMarkerHit hit = FindActionMarker(line);
                        ASSERT_EQ(hit.Marker, expected) << qPrintable(line);
                        if (expected >= 0) {
                            ASSERT_EQ(hit.Position, line.indexOf(ActionMarkers[expected].Text))
                                << qPrintable(line);
                        }
                        const bool stops = line.contains(u':') || line.contains(u'"');
                        const TMarkerHit action = FindLineAction(line);
                        ASSERT_EQ(action.Marker, stops ? -1 : hit.Marker) << qPrintable(line);
                        if (!stops) {
                            ASSERT_EQ(action.Position, hit.Position) << qPrintable(line);
                        }
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

// Names in both locales: the ledger stays sorted, finds every name by
// bisection, merges letter case only and keeps the first spelling.
struct TLedgerCase
{
    const char* Locale;
    QStringList Names;    // added in this order
    QStringList Expected; // the ledger's names, in its order
};

TEST(PlayerLedger, NamesMergeOnlyByLetterCase)
{
    const QString precomposed = QStringLiteral("Ren\u00e9");
    const QString decomposed = QStringLiteral("Rene\u0301");
    const TLedgerCase cases[] = {
        {"C", {"bob", "Ann", "BOB", "ann", "Cy"}, {"Ann", "bob", "Cy"}},
        {"C", {"René", "Rene", "RENÉ", "rene"}, {"Rene", "René"}},
        {"C", {"Ann", "Ann ", " Ann", "ANN"}, {" Ann", "Ann", "Ann "}},
        {"C", {"Zoë", "ZOË", "ÿvette", "ŸVETTE", "Œuvre", "œuvre"}, {"Zoë", "ÿvette", "Œuvre"}},
        {"de_DE", {"Bob", "Ärger", "adam", "ärger", "ADAM", "Zoë"}, {"adam", "Ärger", "Bob", "Zoë"}},
        {"de_DE", {precomposed, decomposed, precomposed.toUpper()}, {decomposed, precomposed}},
        {"de_DE", {"Straße", "Strasse", "STRASSE"}, {"Strasse", "Straße"}},
        {"sv_SE", {"Åsa", "Zoë", "åsa", "Ann"}, {"Ann", "Zoë", "Åsa"}},
    };
    const QLocale saved;
    for (const TLedgerCase& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.Locale)));
        TPlayerLedger ledger;
        for (const QString& name : c.Names)
            ledger.FindOrAdd(name).Bet += 1;
        QStringList order;
        double bets = 0;
        for (const TPlayerLedger::TEntry& e : ledger) {
            order << e.Name;
            bets += e.Player.Bet;
        }
        EXPECT_EQ(order, c.Expected) << c.Locale << ' ' << qPrintable(c.Names.join(u','));
        EXPECT_EQ(bets, c.Names.size()) << "every line acts on one of the players";
        for (const QString& name : c.Names)
            EXPECT_NE(ledger.Find(name), nullptr) << qPrintable(name);
    }
    QLocale::setDefault(saved);
}

} // namespace
