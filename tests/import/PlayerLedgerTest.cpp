#include "import/PlayerLedger.h"
#include "import/HandParser.h"
#include "import/HandRecord.h"

#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

// Runs a test body under a default locale and restores the one before.
class TLocaleScope
{
public:
    explicit TLocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~TLocaleScope() { QLocale::setDefault(FPrevious); }

private:
    QLocale FPrevious;
};

QStringList NamesOf(const TPlayerLedger& ledger)
{
    QStringList names;
    for (const auto& entry : ledger)
        names << entry.Name;
    return names;
}

const QLocale Locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                           QLocale(QLocale::English, QLocale::UnitedStates)};

TEST(PlayerLedger, MergesLetterCaseOnlyAndKeepsTheFirstSpelling)
{
    const struct
    {
        const char* Name;
        QStringList Added;
        QStringList Kept; // as a set: the order is the locale's
    } cases[] = {
        {"case only", {"Ann", "ANN", "ann"}, {"Ann"}},
        {"first spelling wins", {"zoë", "Zoë", "ZOË"}, {"zoë"}},
        {"accent is no case", {"René", "Rene", "RENÉ", "rene"}, {"René", "Rene"}},
        {"composed and decomposed",
         {QStringLiteral("\u00E1"), QStringLiteral("a\u0301")},
         {QStringLiteral("\u00E1"), QStringLiteral("a\u0301")}},
        {"trailing blank", {"Bob", "Bob "}, {"Bob", "Bob "}},
        {"invisible character", {"Bob", QStringLiteral("B\u200Bob")}, {"Bob", QStringLiteral("B\u200Bob")}},
        {"sharp s",
         {QStringLiteral("Straße"), QStringLiteral("STRASSE")},
         {QStringLiteral("Straße"), QStringLiteral("STRASSE")}},
        {"empty name", {"", "Ann", ""}, {"", "Ann"}},
    };
    for (const QLocale& locale : Locales) {
        const TLocaleScope scope(locale);
        for (const auto& c : cases) {
            TPlayerLedger ledger;
            for (const QString& name : c.Added)
                ledger.FindOrAdd(name).Bet += 1;
            QStringList kept = NamesOf(ledger);
            QStringList wanted = c.Kept;
            kept.sort();
            wanted.sort();
            EXPECT_EQ(kept, wanted) << c.Name << " in " << qPrintable(locale.name());
        }
    }
}

TEST(PlayerLedger, OrdersByTheLocale)
{
    const TLocaleScope scope(QLocale(QLocale::German, QLocale::Germany));
    TPlayerLedger ledger;
    for (const char16_t* name : {u"Zoë", u"bob", u"Åsa", u"Ann", u"Ümit", u"ulf"})
        ledger.FindOrAdd(QString::fromUtf16(name));
    EXPECT_EQ(NamesOf(ledger), (QStringList{"Ann", "Åsa", "bob", "ulf", "Ümit", "Zoë"}));
}

// Many names in random order and random case: the ledger stays sorted, holds
// each player once, and every spelling finds that player's record.
TEST(PlayerLedger, BisectionFindsEverySpelling)
{
    std::mt19937 random(7);
    QStringList players;
    for (int i = 0; i < 120; ++i)
        players << QStringLiteral("Pl%1yér%2").arg(QChar(u'a' + i % 26)).arg(i);
    for (const QLocale& locale : Locales) {
        const TLocaleScope scope(locale);
        TPlayerLedger ledger;
        QStringList order = players;
        std::shuffle(order.begin(), order.end(), random);
        for (const QString& name : order)
            ledger.FindOrAdd(random() % 2 ? name.toUpper() : name).Total += name.size();
        ASSERT_EQ(ledger.Count(), players.size()) << qPrintable(locale.name());
        const QStringList names = NamesOf(ledger);
        for (qsizetype i = 1; i < names.size(); ++i)
            EXPECT_LT(ledger.Compare(names[i - 1], names[i]), 0) << qPrintable(names[i]);
        for (const QString& name : players) {
            for (const QString& spelling : {name, name.toUpper(), name.toLower()}) {
                const TPlayer* player = ledger.Find(spelling);
                ASSERT_NE(player, nullptr) << qPrintable(spelling);
                EXPECT_EQ(player->Total, name.size()) << qPrintable(spelling);
            }
        }
        EXPECT_EQ(ledger.Find(u"Pl"), nullptr);
        ledger.Clear();
        EXPECT_TRUE(ledger.IsEmpty());
    }
}

// One ledger serves hand after hand: after Clear nothing of the last hand may
// show, neither a player nor an amount nor a piece of an old, longer name.
TEST(PlayerLedger, ClearedLedgerStartsAFreshHand)
{
    TPlayerLedger ledger;
    QStringList crowd; // past the few players of a table
    for (int i = 60; i > 0; --i)
        crowd << QStringLiteral("Seat%1").arg(i * 7 % 61);
    const QStringList hands[] = {
        {"Zed", "Alexandria-the-long", "mia", "Bo"},
        {"Al", "zed", "Mia"},
        crowd,
        {},
        {"Alexandria-the-longest-name-yet", "Bo", "Cy", "Dee", "Eve", "al"},
        crowd,
        {"Bo", "al"},
    };
    for (const QStringList& hand : hands) {
        ledger.Clear();
        for (const QString& name : hand) {
            TPlayer& player = ledger.FindOrAdd(name);
            EXPECT_EQ(player.Bet, 0) << qPrintable(name);
            EXPECT_EQ(player.Total, 0) << qPrintable(name);
            player.Bet = 5;
            player.Total = 7;
        }
        QStringList wanted = hand;
        std::sort(wanted.begin(), wanted.end(),
                  [&](const QString& a, const QString& b) { return ledger.Compare(a, b) < 0; });
        EXPECT_EQ(NamesOf(ledger), wanted);
        EXPECT_EQ(ledger.Find(u"Alexandria-the-long") != nullptr, hand.contains("Alexandria-the-long"));
    }
}

// A hostile text may seat any number of players at one table: finding each
// must not cost a walk over all those before it.
TEST(PlayerLedger, AHandOfManyPlayersTakesSeconds)
{
    const TLocaleScope scope(QLocale(QLocale::German, QLocale::Germany));
    constexpr int players = 200000;
    std::vector<int> order(players);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    QStringList lines{"Hand #77-1 - 2026-05-01 12:00:00", "Game: Hold'em NL (1/2)", "Table: Oak"};
    for (const int i : order)
        lines << QStringLiteral("Plàyer%1 calls 2").arg(i);
    for (int round = 0; round < players; ++round) // as many rounds: none may walk every player
        lines << "** Turn **";
    for (const int i : order) // every name again, in other letter case
        lines << QStringLiteral("PLÀYER%1 folds").arg(i);
    lines << "Rake (10)"
          << "** Summary **";

    struct TSink : THandSink
    {
        QStringList Names;
        double Shares = 0;
        void WriteHand(THandRecord& hand) override
        {
            for (const auto& entry : hand.PlayerLedger) {
                Names << entry.Name;
                Shares += entry.Share;
            }
        }
    } sink;
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(ImportHands(sink, lines), 1);
    EXPECT_LT(timer.elapsed(), 10000);
    ASSERT_EQ(sink.Names.size(), players);
    const TPlayerLedger ledger;
    for (qsizetype i = 1; i < sink.Names.size(); ++i)
        ASSERT_LT(ledger.Compare(sink.Names[i - 1], sink.Names[i]), 0) << qPrintable(sink.Names[i]);
    EXPECT_NEAR(sink.Shares, 10, 1e-6);
}

} // namespace
