#include "support/HandSimulation.h"

#include <algorithm>
#include <vector>

QString FormatCents(qint64 cents)
{
    QString text = QString::number(cents / 100);
    const qint64 fraction = cents % 100;
    if (fraction == 0)
        return text;
    if (fraction % 10 == 0)
        return text + QLatin1Char('.') + QString::number(fraction / 10);
    return text + (fraction < 10 ? QStringLiteral(".0") : QStringLiteral(".")) + QString::number(fraction);
}

namespace {

struct TSeat
{
    QString Name;
    QString Variant; // the same name in other letter case, used after the first action
    bool Spoken = false;
    bool Active = true;
    bool NoRaise = false; // posted small & big blind: calls, checks or folds before the flop
    qint64 Street = 0;    // live stake in this betting round, cents
    qint64 Invested = 0;  // put into the pot in this hand, after refunds
};

class THandSimulation
{
public:
    THandSimulation(const THandPlan& plan, std::mt19937& random, QStringList& lines)
        : FPlan(plan), FRandom(random), FLines(lines)
    {
    }
    void Play(QVector<TExpectedHand>& expected);

private:
    int Below(int bound)
    {
        return bound <= 1 ? 0 : static_cast<int>(FRandom() % static_cast<quint32>(bound));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    int Next(int seat) const; // next active seat after seat
    int ActiveCount() const;
    QString Say(TSeat& seat);
    void Act(TSeat& seat, const char* marker, const QString& rest = QString());
    void Put(TSeat& seat, qint64 cents)
    {
        seat.Street += cents;
        seat.Invested += cents;
    }
    QString Cards(int count);
    void MaybeChat();
    bool BettingRound(int first);
    void RefundUncalled();
    void NewStreet(const char* name, int cards);
    qint64 Pot() const;
    QString PlayersList() const;

    const THandPlan& FPlan;
    std::mt19937& FRandom;
    QStringList& FLines;
    std::vector<TSeat> FSeats;
    QStringList FBoard;
    qint64 FLevel = 0;
    qint64 FLastRaise = 0;
    bool FRiver = false;
    int FShortRefundSeat = -1; // the bettor over a short all-in call on the river
    qint64 FShortRefund = 0;
};

int THandSimulation::Next(int seat) const
{
    const int n = static_cast<int>(FSeats.size());
    for (int k = 1; k <= n; ++k) {
        const int p = (seat + k) % n;
        if (FSeats[p].Active)
            return p;
    }
    return seat;
}

int THandSimulation::ActiveCount() const
{
    return static_cast<int>(
        std::count_if(FSeats.begin(), FSeats.end(), [](const TSeat& s) { return s.Active; }));
}

QString THandSimulation::Say(TSeat& seat)
{
    if (!seat.Spoken) {
        seat.Spoken = true;
        return seat.Name;
    }
    return seat.Variant.isEmpty() ? seat.Name : seat.Variant;
}

void THandSimulation::Act(TSeat& seat, const char* marker, const QString& rest)
{
    FLines.append(Say(seat) + QLatin1String(marker) + rest);
}

QString THandSimulation::Cards(int count)
{
    static const char Ranks[] = "23456789TJQKA";
    static const char Suits[] = "cdhs";
    QStringList cards;
    for (int i = 0; i < count; ++i)
        cards.append(QString(QLatin1Char(Ranks[Below(13)])) + QLatin1Char(Suits[Below(4)]));
    return cards.join(QLatin1Char(' '));
}

void THandSimulation::MaybeChat()
{
    if (!Chance(4))
        return;
    const QString& who = FSeats[Below(static_cast<int>(FSeats.size()))].Name;
    const QString& other = FSeats[Below(static_cast<int>(FSeats.size()))].Name;
    // Chat and dealer notes hold markers too; their colon or quote keeps them out.
    switch (Below(6)) {
    case 0:
        FLines.append(who + QStringLiteral(": \"nice hand\""));
        break;
    case 1:
        FLines.append(who + QStringLiteral(": I calls 10 every time, lol"));
        break;
    case 2:
        FLines.append(who + QStringLiteral(" said \"") + other + QStringLiteral(" raises to 50, wow\""));
        break;
    case 3:
        FLines.append(QStringLiteral("Dealer: ") + who + QStringLiteral(" bets 100 is over the limit"));
        break;
    case 4:
        FLines.append(who + QStringLiteral(" has timed out"));
        break;
    default:
        FLines.append(who + QStringLiteral(": gl ") + other + QStringLiteral(" :)"));
        break;
    }
}

qint64 THandSimulation::Pot() const
{
    qint64 pot = 0;
    for (const TSeat& s : FSeats)
        pot += s.Invested;
    return pot;
}

QString THandSimulation::PlayersList() const
{
    QStringList parts;
    for (const TSeat& s : FSeats) {
        if (s.Invested > 0)
            parts.append(s.Name + QStringLiteral(": ") + FormatCents(s.Invested));
    }
    return parts.join(QStringLiteral(", "));
}

// Plays one round from seat first; false when only one player is left.
bool THandSimulation::BettingRound(int first)
{
    const int n = static_cast<int>(FSeats.size());
    std::vector<bool> needs(n);
    for (int p = 0; p < n; ++p)
        needs[p] = FSeats[p].Active;
    int raises = 0;
    int at = first;
    const auto reopen = [&](int raiser) {
        for (int q = 0; q < n; ++q)
            needs[q] = q != raiser && FSeats[q].Active;
    };
    for (;;) {
        int p = -1;
        for (int k = 0; k < n && p < 0; ++k) {
            if (needs[(at + k) % n])
                p = (at + k) % n;
        }
        if (p < 0)
            return true;
        at = p + 1;
        needs[p] = false;
        TSeat& seat = FSeats[p];
        MaybeChat();
        const qint64 toCall = FLevel - seat.Street;
        const bool mayRaise = !seat.NoRaise && raises < 3;
        if (toCall <= 0) {
            if (mayRaise && Chance(30)) {
                if (FLevel == 0) {
                    const qint64 amount = FPlan.Bb * (1 + Below(6));
                    Act(seat, " bets ", FormatCents(amount));
                    Put(seat, amount);
                    FLevel = FLastRaise = amount;
                } else {
                    const qint64 level = FLevel + std::max(FLastRaise, FPlan.Bb) * (1 + Below(2));
                    Act(seat, " raises to ", FormatCents(level));
                    Put(seat, level - seat.Street);
                    FLastRaise = level - FLevel;
                    FLevel = level;
                }
                ++raises;
                reopen(p);
            } else {
                Act(seat, " checks");
            }
            continue;
        }
        const int roll = Below(100);
        if (roll < 15 && mayRaise) {
            const qint64 level = FLevel + std::max(FLastRaise, FPlan.Bb) * (1 + Below(2));
            Act(seat, " raises to ", FormatCents(level));
            Put(seat, level - seat.Street);
            FLastRaise = level - FLevel;
            FLevel = level;
            ++raises;
            reopen(p);
        } else if (roll < 60) {
            if (FRiver && ActiveCount() == 2 && toCall >= 50 && Chance(15)) {
                // All in for less: the bettor gets the rest back after the show down.
                const qint64 call = toCall - 25 * (1 + Below(static_cast<int>(toCall / 25) - 1));
                Act(seat, " calls ", FormatCents(call) + QStringLiteral(" and is all-in"));
                Put(seat, call);
                for (int q = 0; q < n; ++q) {
                    if (q != p && FSeats[q].Active && FSeats[q].Street == FLevel)
                        FShortRefundSeat = q;
                }
                FShortRefund = FLevel - seat.Street;
                return true;
            }
            Act(seat, " calls ", FormatCents(toCall));
            Put(seat, toCall);
        } else {
            Act(seat, " folds");
            seat.Active = false;
            if (ActiveCount() == 1)
                return false;
        }
    }
}

// The last player's bet that nobody matched goes back before the win.
void THandSimulation::RefundUncalled()
{
    qint64 matched = 0;
    int winner = -1;
    for (int p = 0; p < static_cast<int>(FSeats.size()); ++p) {
        if (FSeats[p].Active)
            winner = p;
        else
            matched = std::max(matched, FSeats[p].Street);
    }
    TSeat& seat = FSeats[winner];
    if (seat.Street > matched) {
        const qint64 back = seat.Street - matched;
        Act(seat, " refunded ", FormatCents(back));
        seat.Street -= back;
        seat.Invested -= back;
    }
    Act(seat, " wins ", QStringLiteral("Pot (") + FormatCents(Pot()) + QLatin1Char(')'));
}

void THandSimulation::NewStreet(const char* name, int cards)
{
    for (TSeat& s : FSeats)
        s.Street = 0;
    FLevel = FLastRaise = 0;
    const QString board = Cards(cards);
    FLines.append(QStringLiteral("** ") + QLatin1String(name) + QStringLiteral(" ** [") +
                  (FBoard.isEmpty() ? board : FBoard.join(QLatin1Char(' ')) + QStringLiteral("] [") + board) +
                  QLatin1Char(']'));
    FBoard.append(board);
}

void THandSimulation::Play(QVector<TExpectedHand>& expected)
{
    FLines.append(QStringLiteral("Hand #%1-%2 - %3 %4")
                      .arg(FPlan.Number)
                      .arg(FPlan.Sequence)
                      .arg(FPlan.Date, FPlan.Time));
    FLines.append(QStringLiteral("Game: ") + FPlan.Game);
    FLines.append(QStringLiteral("Table: ") + FPlan.TableLine);
    QStringList regulars = FPlan.Regulars;
    std::shuffle(regulars.begin(), regulars.end(), FRandom);
    const int seated = std::min(static_cast<int>(regulars.size()), 2 + Below(8));
    for (int i = 0; i < seated; ++i) {
        TSeat seat;
        seat.Name = regulars[i];
        FSeats.push_back(seat);
        FLines.append(QStringLiteral("Seat %1: %2 (%3)")
                          .arg(i + 1)
                          .arg(seat.Name, FormatCents(FPlan.Bb * (40 + Below(160)))));
    }
    for (TSeat& seat : FSeats) {
        if (ActiveCount() > 2 && Chance(6)) {
            seat.Active = false;
            FLines.append(seat.Name + QStringLiteral(" sits out"));
        }
    }
    if (Chance(8)) {
        // The server echoes a login as typed: the same player in other letter case.
        TSeat& seat = FSeats[Below(static_cast<int>(FSeats.size()))];
        seat.Variant = seat.Name.toUpper() != seat.Name ? seat.Name.toUpper() : seat.Name.toLower();
    }
    const int button = Next(Below(static_cast<int>(FSeats.size())));
    FLines.append(FSeats[button].Name + QStringLiteral(" has the dealer button"));
    const bool headsUp = ActiveCount() == 2;
    const int small = headsUp ? button : Next(button);
    const int big = Next(small);
    Act(FSeats[small], " posts small blind ", FormatCents(FPlan.Sb));
    Put(FSeats[small], FPlan.Sb);
    Act(FSeats[big], " posts big blind ", FormatCents(FPlan.Bb));
    Put(FSeats[big], FPlan.Bb);
    FLevel = FLastRaise = FPlan.Bb;
    int last = big;
    if (ActiveCount() >= 4 && Chance(6)) {
        const int straddle = Next(big);
        Act(FSeats[straddle], " posts straddle ", FormatCents(2 * FPlan.Bb));
        Put(FSeats[straddle], 2 * FPlan.Bb);
        FLevel = 2 * FPlan.Bb;
        last = straddle;
    }
    if (ActiveCount() >= 5 && Chance(5)) {
        // A newcomer pays in both blinds; the small one is dead money.
        const int newcomer = Next(Next(last));
        if (newcomer != button && newcomer != small && newcomer != big) {
            TSeat& seat = FSeats[newcomer];
            Act(seat, " posts small & big blind ", FormatCents(FPlan.Sb + FPlan.Bb));
            seat.Invested += FPlan.Sb + FPlan.Bb;
            seat.Street = FPlan.Bb;
            seat.NoRaise = true;
        }
    }
    FLines.append(QStringLiteral("** Hole Cards **"));
    if (Chance(30))
        FLines.append(QStringLiteral("Dealt to ") + FSeats[big].Name + QStringLiteral(" [") + Cards(2) +
                      QLatin1Char(']'));
    bool flopSeen = false;
    bool going = BettingRound(Next(last));
    for (TSeat& seat : FSeats)
        seat.NoRaise = false;
    const char* const streets[] = {"Flop", "Turn", "River"};
    for (int street = 0; street < 3 && going; ++street) {
        NewStreet(streets[street], street == 0 ? 3 : 1);
        flopSeen = true;
        FRiver = street == 2;
        going = BettingRound(Next(button));
    }
    if (!going) {
        RefundUncalled();
    } else {
        FLines.append(QStringLiteral("** Pot Show Down ** [") + FBoard.join(QLatin1Char(' ')) +
                      QLatin1Char(']'));
        if (FShortRefundSeat >= 0) {
            TSeat& seat = FSeats[FShortRefundSeat];
            Act(seat, " refunded ", FormatCents(FShortRefund));
            seat.Invested -= FShortRefund;
        }
        std::vector<int> shown;
        for (int p = 0; p < static_cast<int>(FSeats.size()); ++p) {
            if (FSeats[p].Active) {
                FLines.append(FSeats[p].Name + QStringLiteral(" shows [") + Cards(2) +
                              QStringLiteral("] (a pair)"));
                shown.push_back(p);
            }
        }
        const qint64 pot = Pot();
        if (Chance(15)) {
            Act(FSeats[shown[0]], " wins ",
                QStringLiteral("Pot (") + FormatCents(pot / 2) + QLatin1Char(')'));
            Act(FSeats[shown[1]], " wins ",
                QStringLiteral("Pot (") + FormatCents(pot - pot / 2) + QLatin1Char(')'));
        } else {
            Act(FSeats[shown[Below(static_cast<int>(shown.size()))]], " wins ",
                QStringLiteral("Pot (") + FormatCents(pot) + QLatin1Char(')'));
        }
    }
    const qint64 pot = Pot();
    double rake = 0;
    if (!FPlan.Tournament && flopSeen) {
        // No flop, no drop; 5% of the pot up to three big blinds.
        const qint64 cents = std::max<qint64>(1, std::min(pot * 5 / 100, 3 * FPlan.Bb));
        const QString tail = QStringLiteral(" Players (") + PlayersList() + QLatin1Char(')');
        if (cents >= 2 && Chance(20)) {
            // Main and side pot, each raked on its own line.
            const qint64 main = cents * 2 / 3;
            FLines.append(
                QStringLiteral("Rake (%1) Pot (%2)").arg(FormatCents(main), FormatCents(pot * 2 / 3)) + tail);
            FLines.append(QStringLiteral("Rake (%1) Pot (%2)")
                              .arg(FormatCents(cents - main), FormatCents(pot - pot * 2 / 3)) +
                          tail);
            rake = main / 100.0;
            rake += (cents - main) / 100.0;
        } else {
            FLines.append(QStringLiteral("Rake (%1) Pot (%2)").arg(FormatCents(cents), FormatCents(pot)) +
                          tail);
            rake = cents / 100.0;
        }
    } else if (!FPlan.Tournament && Chance(50)) {
        FLines.append(QStringLiteral("Rake (0) Pot (%1) Players (").arg(FormatCents(pot)) + PlayersList() +
                      QLatin1Char(')'));
    }
    if (Chance(60))
        FLines.append(QStringLiteral("** Summary **"));
    else
        FLines.append(QStringLiteral("** Deck ** [") + Cards(10) + QLatin1Char(']'));
    FLines.append(QStringLiteral("Total pot ") + FormatCents(pot) + QStringLiteral(" | Rake ") +
                  QString::number(rake));
    FLines.append(QString());
    if (rake == 0)
        return;
    TExpectedHand hand{FPlan.Number, FPlan.TableLine.left(99), FPlan.Date, FPlan.Time, rake, 0, 0, {}};
    double sum = 0;
    for (const TSeat& s : FSeats) {
        if (s.Spoken)
            sum += s.Invested / 100.0;
    }
    for (const TSeat& s : FSeats) {
        if (!s.Spoken)
            continue;
        ++hand.Dealt;
        const double total = s.Invested / 100.0;
        hand.Shares.append({s.Name, static_cast<double>(static_cast<long double>(total) * rake / sum)});
    }
    hand.AvgShare = rake / hand.Dealt;
    expected.append(hand);
}

} // namespace

void SimulateHand(const THandPlan& plan, std::mt19937& random, QStringList& lines,
                  QVector<TExpectedHand>& expected)
{
    THandSimulation(plan, random, lines).Play(expected);
}
