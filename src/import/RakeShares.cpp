#include "import/RakeShares.h"

#include "db/RakeDatabase.h"
#include "import/ImportFormat.h"
#include "import/LineTests.h"

#include <cmath>

const std::array<TActionMarker, 11> ActionMarkers = {{
    {QLatin1String(" posts big blind "), TActionMode::Replace},
    {QLatin1String(" posts small blind "), TActionMode::Replace},
    {QLatin1String(" posts small & big blind "), TActionMode::Replace},
    {QLatin1String(" posts straddle "), TActionMode::Replace},
    {QLatin1String(" checks"), TActionMode::None},
    {QLatin1String(" calls "), TActionMode::Add},
    {QLatin1String(" bets "), TActionMode::Replace},
    {QLatin1String(" raises to "), TActionMode::Replace},
    {QLatin1String(" folds"), TActionMode::None},
    {QLatin1String(" wins "), TActionMode::None},
    {QLatin1String(" refunded "), TActionMode::Subtract},
}};

namespace {

// Every marker is a blank and a small letter; the letter picks the few markers
// worth comparing at a blank.
struct TCandidates
{
    int Count;
    int Markers[4];
};

TCandidates CandidatesFor(char16_t letter)
{
    switch (letter) {
    case u'p':
        return {4, {0, 1, 2, 3}};
    case u'c':
        return {2, {4, 5}};
    case u'b':
        return {1, {6}};
    case u'r':
        return {2, {7, 10}};
    case u'f':
        return {1, {8}};
    case u'w':
        return {1, {9}};
    default:
        return {0, {}};
    }
}

double ProportionalShare(double total, double rake, double sum)
{
    // A hand whose stakes cancel out (refunds) or overflow has no proportion:
    // every player's share is 0 while the equal share still charges the rake.
    if (sum == 0 || !std::isfinite(sum))
        return 0;
    // The product is kept in extended precision; the quotient is rounded once.
    const double share = static_cast<double>(static_cast<long double>(total) * rake / sum);
    return std::isnan(share) ? 0 : share;
}

} // namespace

TMarkerHit FindActionMarker(QStringView line)
{
    TMarkerHit best;
    const qsizetype size = line.size();
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (line[i] != u' ')
            continue;
        const TCandidates candidates = CandidatesFor(line[i + 1].unicode());
        for (int c = 0; c < candidates.Count; ++c) {
            const int marker = candidates.Markers[c];
            // Scanning left to right, the first find of a marker is its first occurrence.
            if (best.Marker >= 0 && marker >= best.Marker)
                break;
            if (BeginsWith(line.sliced(i), ActionMarkers[marker].Text)) {
                best = {marker, i};
                break;
            }
        }
        if (best.Marker == 0)
            break;
    }
    return best;
}

namespace {

void ApplyAt(TPlayerLedger& ledger, QStringView line, qsizetype at, qsizetype markerLength, TActionMode mode)
{
    TPlayer& player = ledger.FindOrAdd(line.first(at));
    if (mode == TActionMode::None)
        return;
    QStringView amountText = line.sliced(at + markerLength);
    amountText = amountText.first(qMin(MaxAmountLength, amountText.size()));
    const qsizetype blank = FindUnit(amountText, u' ');
    if (blank >= 0)
        amountText = amountText.first(blank);
    const double amount = ReadAmount(amountText);
    switch (mode) {
    case TActionMode::Add:
        player.Bet += amount;
        break;
    case TActionMode::Subtract:
        player.Bet -= amount;
        break;
    case TActionMode::Replace:
        player.Bet = amount;
        break;
    case TActionMode::None:
        break;
    }
}

} // namespace

void ApplyActionAt(TPlayerLedger& ledger, QStringView line, const TMarkerHit& hit)
{
    const TActionMarker& marker = ActionMarkers[hit.Marker];
    ApplyAt(ledger, line, hit.Position, marker.Text.size(), marker.Mode);
}

bool ApplyAction(TPlayerLedger& ledger, QLatin1String marker, QStringView line, TActionMode mode)
{
    const qsizetype at = line.indexOf(marker);
    if (at < 0)
        return false;
    ApplyAt(ledger, line, at, marker.size(), mode);
    return true;
}

void CloseRound(TPlayerLedger& ledger)
{
    for (TPlayerLedger::TEntry& entry : ledger) {
        entry.Player.Total += entry.Player.Bet;
        entry.Player.Bet = 0;
    }
}

bool FinishHand(TRakeDatabase& database, THandRecord& hand)
{
    TPlayerLedger& ledger = hand.PlayerLedger;
    CloseRound(ledger);
    const auto dealt = static_cast<qint32>(ledger.Count());
    if (hand.Rake == 0 || dealt == 0)
        return false;
    const double avgShare = hand.Rake / dealt;
    {
        // Bound as the UTF-8 the engine would make of the UTF-16 texts: the
        // same stored bytes without the engine's conversion and copy per bind.
        EngineUtf8(hand.TableName, hand.TableUtf8);
        EngineUtf8(hand.Date, hand.DateUtf8);
        EngineUtf8(hand.Time, hand.TimeUtf8);
        const auto master = database.Prepare(TRakeDatabase::MasterReplaceSQL);
        master->Bind_Int(1, hand.HandNumber);
        master->Bind_Str8(2, hand.TableUtf8);
        master->Bind_Str8(3, hand.DateUtf8);
        master->Bind_Str8(4, hand.TimeUtf8);
        master->Bind_Double(5, hand.Rake);
        master->Bind_Int(6, dealt);
        master->Bind_Double(7, avgShare);
        master->Step();
    }
    double sum = 0;
    for (const TPlayerLedger::TEntry& entry : ledger)
        sum += entry.Player.Total;
    const auto detail = database.Prepare(TRakeDatabase::DetailReplaceSQL);
    for (TPlayerLedger::TEntry& entry : ledger) {
        EngineUtf8(entry.Name, entry.Utf8);
        detail->Bind_Int(1, hand.HandNumber);
        detail->Bind_Str8(2, entry.Utf8);
        detail->Bind_Double(3, ProportionalShare(entry.Player.Total, hand.Rake, sum));
        detail->StepAndReset();
    }
    return true;
}
