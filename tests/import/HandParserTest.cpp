// The hand parser over real database files: hands, headers, line kinds and states.
#include "ImportFixture.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString Game = QStringLiteral("Game: No Limit Hold'em (0.5/1) - Blinds 0.5/1");
const QString Table = QStringLiteral("Table: Oak");
const QString Summary = QStringLiteral("** Summary **");

QString Header(int number)
{
    return QStringLiteral("Hand #%1-1 - 2026-11-03 10:00:%2")
        .arg(number)
        .arg(number % 60, 2, 10, QLatin1Char('0'));
}

// Ann and Bob each put in 2; with "Rake (1)" they pay 0.5 each.
const QStringList Body = {
    QStringLiteral("Seat 1: Ann (100)"),
    QStringLiteral("Seat 2: Bob (100)"),
    QStringLiteral("Ann posts small blind 1"),
    QStringLiteral("Bob posts big blind 2"),
    QStringLiteral("** Hole Cards **"),
    QStringLiteral("Ann calls 1"),
    QStringLiteral("Bob checks"),
    QStringLiteral("** Flop ** [2c 3d 4h]"),
    QStringLiteral("Ann bets 2"),
    QStringLiteral("Bob folds"),
    QStringLiteral("Ann refunded 2"),
    QStringLiteral("Ann wins Pot (4)"),
};

QStringList Hand(int number, const QStringList& rakeLines = {QStringLiteral("Rake (1) Pot (4)")})
{
    return QStringList{Header(number), Game, Table} + Body + rakeLines + QStringList{Summary};
}

QString R(double value)
{
    return TImportFixture::RealText(value);
}

struct TScenario
{
    const char* Name;
    QStringList Lines;
    QStringList Master; // "Hand|TableName|Rake|Dealt"
    QStringList Detail; // "Hand|Player|Share", sorted
};

QStringList Raked(int number, const QString& table = QStringLiteral("Oak"))
{
    return {QStringLiteral("%1|%2|1|2").arg(number).arg(table)};
}

QStringList HalfEach(int number)
{
    return {QStringLiteral("%1|Ann|0.5").arg(number), QStringLiteral("%1|Bob|0.5").arg(number)};
}

std::vector<TScenario> Scenarios()
{
    const QString longName(120, u'T');
    return {
        {"one hand", Hand(7), Raked(7), HalfEach(7)},
        {"no valid header writes nothing", Hand(7).mid(1), {}, {}},
        {"a header in small letters is none",
         QStringList{QStringLiteral("hand #7-1 - 2026-11-03 10:00:07")} + Hand(7).mid(1),
         {},
         {}},
        {"the deck line ends a hand too",
         QStringList{Header(7), Game, Table} + Body +
             QStringList{QStringLiteral("Rake (1)"), QStringLiteral("** Deck ** [Ah]")},
         Raked(7), HalfEach(7)},
        {"no rake line", Hand(7, {}), {}, {}},
        {"a rake of 0", Hand(7, {QStringLiteral("Rake (0) Pot (4)")}), {}, {}},
        {"two rake lines add up",
         Hand(7, {QStringLiteral("Rake (0.25) Pot (1)"), QStringLiteral("Rake (0.75) Pot (3)")}), Raked(7),
         HalfEach(7)},
        {"a thousands comma adds 0", Hand(7, {QStringLiteral("Rake (1,000)"), QStringLiteral("Rake (1)")}),
         Raked(7), HalfEach(7)},
        {"a rake line without ) adds 0", Hand(7, {QStringLiteral("Rake (5"), QStringLiteral("Rake (1)")}),
         Raked(7), HalfEach(7)},
        {"after its end a hand takes no rake and no second end",
         Hand(7) + QStringList{QStringLiteral("Rake (5)"), QStringLiteral("** Deck ** [Ah]"),
                               QStringLiteral("Cy bets 5")},
         Raked(7), HalfEach(7)},
        {"a raked hand without players",
         {Header(7), Game, Table, QStringLiteral("Rake (1)"), Summary},
         {},
         {}},
        {"a hand cut short at the end is dropped", Hand(7) + Hand(8).mid(0, 8), Raked(7), HalfEach(7)},
        {"a valid header in a hand drops it", Hand(7).mid(0, 10) + Hand(8), Raked(8), HalfEach(8)},
        {"a header whose number is 0 leaves the hand open",
         {Header(7), Game, Table, QStringLiteral("Ann bets 2"),
          QStringLiteral("Hand #0-1 - 2026-11-03 11:00:00"),
          QStringLiteral("Hand #x-1 - 2026-11-03 11:00:00"), QStringLiteral("Hand #9"),
          QStringLiteral("Bob calls 2"), QStringLiteral("Rake (1)"), Summary},
         Raked(7),
         HalfEach(7)},
        {"a tournament game line ends the text",
         Hand(7) + QStringList{Header(8), QStringLiteral("Game: Hold'em (10+1) - Blinds 10/20"), Table} +
             Body + QStringList{QStringLiteral("Rake (1)"), Summary} + Hand(9),
         Raked(7), HalfEach(7)},
        {"a + before the first ( is no tournament",
         QStringList{Header(7), QStringLiteral("Game: Hold+em (1/2)"), Table} + Body +
             QStringList{QStringLiteral("Rake (1)"), Summary},
         Raked(7), HalfEach(7)},
        {"a + in a game line without (",
         Hand(7) + QStringList{Header(8), QStringLiteral("Game: Freeroll+")} + Hand(9), Raked(7),
         HalfEach(7)},
        {"a game line outside its place is skipped",
         QStringList{Header(7), Table, Game, Game, QStringLiteral("Table: Elm"), Table} + Body +
             QStringList{QStringLiteral("Rake (1)"), QStringLiteral("Game: Hold'em (10+1)"), Summary},
         Raked(7, QStringLiteral("Elm")), HalfEach(7)},
        {"actions before the table line are skipped",
         QStringList{Header(7), QStringLiteral("Cy bets 9"), Game, QStringLiteral("Cy bets 9"), Table} +
             Body + QStringList{QStringLiteral("Rake (1)"), Summary},
         Raked(7), HalfEach(7)},
        {"a colon or a quote keeps markers out",
         QStringList{Header(7), Game, Table} + Body +
             QStringList{QStringLiteral("Cy: I calls 10"), QStringLiteral("Dan said \"Cy raises to 5\""),
                         QStringLiteral("Table: Eve bets 3"), QStringLiteral("Rake (1)"), Summary},
         Raked(7), HalfEach(7)},
        {"lines between hands are skipped",
         Hand(7) + QStringList{QStringLiteral("Cy bets 9"), QStringLiteral("Rake (9)")} + Hand(8),
         Raked(7) + Raked(8), HalfEach(7) + HalfEach(8)},
        {"a table name keeps 99 characters",
         QStringList{Header(7), Game, QStringLiteral("Table: ") + longName} + Body +
             QStringList{QStringLiteral("Rake (1)"), Summary},
         Raked(7, longName.left(99)), HalfEach(7)},
        {"the hole-cards line keeps the blinds in the round",
         {Header(7), Game, Table, QStringLiteral("Ann posts big blind 2"), QStringLiteral("** Hole Cards **"),
          QStringLiteral("Ann raises to 6"), QStringLiteral("Bob calls 2"), QStringLiteral("Rake (1)"),
          Summary},
         Raked(7),
         {QStringLiteral("7|Ann|0.75"), QStringLiteral("7|Bob|0.25")}},
        {"any other ** line closes the round",
         {Header(7), Game, Table, QStringLiteral("Ann posts big blind 2"), QStringLiteral("** Flop **"),
          QStringLiteral("Ann raises to 6"), QStringLiteral("Bob calls 2"), QStringLiteral("Rake (1)"),
          Summary},
         Raked(7),
         {QStringLiteral("7|Ann|") + R(0.8), QStringLiteral("7|Bob|") + R(0.2)}},
        {"a refund after the round closed lowers the total",
         {Header(7), Game, Table, QStringLiteral("Ann bets 4"), QStringLiteral("Bob calls 4"),
          QStringLiteral("** River **"), QStringLiteral("Ann refunded 2"), QStringLiteral("Rake (3)"),
          Summary},
         {QStringLiteral("7|Oak|3|2")},
         {QStringLiteral("7|Ann|1"), QStringLiteral("7|Bob|2")}},
        {"totals adding up to 0 give shares of 0",
         {Header(7), Game, Table, QStringLiteral("Ann bets 5"), QStringLiteral("Ann refunded 5"),
          QStringLiteral("Bob checks"), QStringLiteral("Rake (1)"), Summary},
         Raked(7),
         {QStringLiteral("7|Ann|0"), QStringLiteral("7|Bob|0")}},
        {"one player in two letter cases",
         {Header(7), Game, Table, QStringLiteral("ann calls 2"), QStringLiteral("ANN raises to 6"),
          QStringLiteral("Bob calls 6"), QStringLiteral("Rake (1)"), Summary},
         Raked(7),
         {QStringLiteral("7|Bob|0.5"), QStringLiteral("7|ann|0.5")}},
        {"names that differ otherwise stay apart",
         {Header(7), Game, Table, QStringLiteral("René bets 1"), QStringLiteral("Rene calls 1"),
          QStringLiteral("Rene  calls 2"), QStringLiteral("Rake (1)"), Summary},
         {QStringLiteral("7|Oak|1|3")},
         {QStringLiteral("7|Rene|") + R(0.25), QStringLiteral("7|Rene |") + R(0.5),
          QStringLiteral("7|René|") + R(0.25)}},
        {"an empty name is a player",
         {Header(7), Game, Table, QStringLiteral(" calls 2"), QStringLiteral("Bob calls 2"),
          QStringLiteral("Rake (1)"), Summary},
         Raked(7),
         {QStringLiteral("7||0.5"), QStringLiteral("7|Bob|0.5")}},
        {"a stake that does not read still makes a player",
         {Header(7), Game, Table, QStringLiteral("Ann calls all"),
          QStringLiteral("Bob calls 2 and is all-in"), QStringLiteral("Rake (1)"), Summary},
         Raked(7),
         {QStringLiteral("7|Ann|0"), QStringLiteral("7|Bob|1")}},
    };
}

TEST(HandParser, LineKindsAndStates)
{
    for (const TScenario& s : Scenarios()) {
        TImportFixture f;
        EXPECT_EQ(f.Import(s.Lines), s.Master.size()) << s.Name;
        EXPECT_EQ(f.Rows("SELECT Hand, TableName, Rake, Dealt FROM Master ORDER BY Hand"), s.Master)
            << s.Name;
        EXPECT_EQ(f.DetailRows(), TImportFixture::Sorted(s.Detail)) << s.Name;
    }
}

struct THeaderCase
{
    const char* Line;
    const char* Row; // "Hand|Date|Time", or nullptr when no hand starts
};

const THeaderCase HeaderCases[] = {
    {"Hand #42-1 - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #42-1 - 2026-11-03 14:05:09 (UTC)", "42|2026-11-03|14:05:09"},
    {"Hand #  42-1 - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #$2A-1 - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #0x2a-1 - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #+42-1 - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #42-1-2 - 2026-11-03T14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #42- - 2026-11-03 14:05:09", "42|2026-11-03|14:05:09"},
    {"Hand #42-1 - 2026-11-03", "42|2026-11-03|"},
    {"Hand #42-1 - 2026-11", "42|2026-11|"},
    {"Hand #42-1 - 2026-11-03 14:05", "42|2026-11-03|14:05"},
    {"Hand #42-1", "42||"},
    {"Hand #42-1 -2026-11-03 14:05:09", "42||"},
    {"Hand #42-1 - - 2026-11-03 14:05:09", "42|- 2026-11-|3 14:05:"},
    {"Hand #42 - 2026-11-03 14:05:09", nullptr}, // the number text ends in a blank
    {"Hand #42", nullptr},
    {"Hand #-42-1 - 2026-11-03 14:05:09", nullptr},
    {"Hand #0-1 - 2026-11-03 14:05:09", nullptr},
    {"Hand #-1 - 2026-11-03 14:05:09", nullptr},
    {"Hand #2147483648-1 - 2026-11-03 14:05:09", nullptr},
    {"Hand #4,2-1 - 2026-11-03 14:05:09", nullptr},
    {"hand #42-1 - 2026-11-03 14:05:09", nullptr},
    {"Hand 42-1 - 2026-11-03 14:05:09", nullptr},
    {" Hand #42-1 - 2026-11-03 14:05:09", nullptr},
};

TEST(HandParser, HeaderRules)
{
    for (const THeaderCase& c : HeaderCases) {
        TImportFixture f;
        QStringList lines = Hand(1);
        lines[0] = QString::fromUtf8(c.Line);
        f.Import(lines);
        const QStringList expected = c.Row ? QStringList{QString::fromUtf8(c.Row)} : QStringList{};
        EXPECT_EQ(f.Rows("SELECT Hand, Date, Time FROM Master"), expected) << c.Line;
        // An empty date or time is text, never NULL.
        EXPECT_EQ(
            f.Rows("SELECT count(*) FROM Master WHERE typeof(Date) <> 'text' OR typeof(Time) <> 'text'"),
            QStringList{QStringLiteral("0")});
    }
}

TEST(HandParser, WorkedExample)
{
    const QStringList lines = {
        QStringLiteral("Hand #1001-3 - 2026-11-03 14:05:09"),
        QStringLiteral("Game: No Limit Hold'em (1/2) - Blinds 1/2"),
        QStringLiteral("Table: Oak"),
        QStringLiteral("Ann posts small blind 1"),
        QStringLiteral("Bob posts big blind 2"),
        QStringLiteral("** Hole Cards **"),
        QStringLiteral("Cy raises to 6"),
        QStringLiteral("Ann folds"),
        QStringLiteral("Bob calls 4"),
        QStringLiteral("** Flop ** [Ah Kd 7c]"),
        QStringLiteral("Bob checks"),
        QStringLiteral("Cy bets 10"),
        QStringLiteral("Bob calls 10"),
        QStringLiteral("** Turn ** [Ah Kd 7c] [2s]"),
        QStringLiteral("Bob bets 20"),
        QStringLiteral("Cy folds"),
        QStringLiteral("Bob refunded 20"),
        QStringLiteral("Bob wins Pot (33)"),
        QStringLiteral("Rake (3.3) Pot (36.3)"),
        QStringLiteral("** Summary **"),
    };
    TImportFixture f;
    ASSERT_EQ(f.Import(lines), 1);
    const double rake = 3.3;
    const auto share = [&](double total) {
        return static_cast<double>(static_cast<long double>(total) * rake / 33.0);
    };
    EXPECT_EQ(f.MasterRows(),
              QStringList{QStringLiteral("1001|Oak|2026-11-03|14:05:09|%1|3|%2").arg(R(rake), R(rake / 3))});
    EXPECT_EQ(f.Rows("SELECT Player, Share FROM Detail ORDER BY rowid"),
              (QStringList{QStringLiteral("Ann|") + R(share(1)), QStringLiteral("Bob|") + R(share(16)),
                           QStringLiteral("Cy|") + R(share(16))}));
    // The doubles nearest the exact figures, up to the last place.
    EXPECT_DOUBLE_EQ(rake / 3, 1.1);
    EXPECT_DOUBLE_EQ(share(1), 0.1);
    EXPECT_DOUBLE_EQ(share(16), 1.6);
}

// A hand's rows are exactly those of its latest raked reading, whatever came before.
TEST(HandParser, ReimportReplacesAHandsRowsWhole)
{
    const auto hand = [](const QString& table, const QStringList& actions, const QString& rake) {
        return QStringList{Header(7), Game, QStringLiteral("Table: ") + table} + actions +
               QStringList{QStringLiteral("Rake (%1)").arg(rake), Summary};
    };
    const QStringList three = hand("Oak", {"Ann bets 2", "Bob calls 2", "Cy calls 2"}, QStringLiteral("3"));
    const struct
    {
        const char* Name;
        QList<QStringList> Run; // one import run
        QString Master;
        QStringList Detail;
    } steps[] = {
        {"the same text twice in one run, then again",
         {three, three},
         "7|Oak|2026-11-03|10:00:07|3|3|1",
         {"7|Ann|1", "7|Bob|1", "7|Cy|1"}},
        {"a player gone",
         {hand("Elm", {"Ann bets 1", "Bob calls 1"}, "4")},
         "7|Elm|2026-11-03|10:00:07|4|2|2",
         {"7|Ann|2", "7|Bob|2"}},
        {"a player renamed",
         {hand("Elm", {"Ann bets 1", "Åsa calls 3"}, "4")},
         "7|Elm|2026-11-03|10:00:07|4|2|2",
         {"7|Ann|1", "7|Åsa|3"}},
        {"read again unraked: the stored rows stay",
         {hand("Elm", {"Ann bets 1"}, "0")},
         "7|Elm|2026-11-03|10:00:07|4|2|2",
         {"7|Ann|1", "7|Åsa|3"}},
        {"a player back, in one run after a reading without him",
         {three, hand("Oak", {"Cy bets 1"}, "1")},
         "7|Oak|2026-11-03|10:00:07|1|1|1",
         {"7|Cy|1"}},
    };
    TImportFixture f;
    f.Import(three);
    for (const auto& step : steps) {
        f.Import(step.Run);
        EXPECT_EQ(f.MasterRows(), QStringList{step.Master}) << step.Name;
        EXPECT_EQ(f.DetailRows(), step.Detail) << step.Name;
    }
}

TEST(HandParser, DatabaseErrorsReachTheCaller)
{
    TImportFixture f;
    f.Database.Execute(QStringLiteral("DROP TABLE Detail"));
    f.Database.StartTransaction();
    try {
        ImportHands(f.Database, Hand(7) + Hand(8));
        ADD_FAILURE() << "no error";
    } catch (const TError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("SQLite3 Error 1 - no such table: Detail"));
    }
    // The Master row of the failed hand stays in the open transaction; the
    // caller decides what becomes of it.
    EXPECT_EQ(f.Database.TransactionCount(), 1);
    f.Database.Rollback();
    EXPECT_EQ(f.Database.TransactionCount(), 0);
    EXPECT_TRUE(f.MasterRows().isEmpty());
}

} // namespace
