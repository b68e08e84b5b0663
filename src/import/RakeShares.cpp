#include "import/RakeShares.h"

#include "import/ImportFormat.h"
#include "import/LineTests.h"
#include "platform/Simd.h"

#include <algorithm>
#include <bit>
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
// worth comparing at a blank, in table order.
struct TCandidates
{
    qint8 Count;
    qint8 Markers[4];
};

constexpr std::array<TCandidates, 26> CandidatesByLetter = [] {
    std::array<TCandidates, 26> table{};
    table[u'p' - u'a'] = {4, {0, 1, 2, 3}};
    table[u'c' - u'a'] = {2, {4, 5}};
    table[u'b' - u'a'] = {1, {6}};
    table[u'r' - u'a'] = {2, {7, 10}};
    table[u'f' - u'a'] = {1, {8}};
    table[u'w' - u'a'] = {1, {9}};
    return table;
}();

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

namespace {

// Tries the markers that may stand at a blank; the first occurrence of the
// best marker so far is kept.
inline void TryMarkersAt(QStringView line, qsizetype blank, TMarkerHit& best)
{
    if (blank + 1 >= line.size())
        return;
    const char16_t letter = line.utf16()[blank + 1];
    if (letter < u'a' || letter > u'z')
        return;
    const TCandidates& candidates = CandidatesByLetter[letter - u'a'];
    for (int c = 0; c < candidates.Count; ++c) {
        const int marker = candidates.Markers[c];
        // Scanning left to right, the first find of a marker is its first occurrence.
        if (best.Marker >= 0 && marker >= best.Marker)
            return;
        if (BeginsWith(line.sliced(blank), ActionMarkers[marker].Text)) {
            best = {marker, blank};
            return;
        }
    }
}

inline bool IsColonOrQuote(char16_t c)
{
    return c == u':' || c == u'"';
}

// One pass over the line: every blank is a place where a marker may start,
// and with StopAtColonOrQuote a colon or a double quote anywhere (even after
// the marker) makes the line no action. Eight units are looked at a time,
// since every body line of every hand comes here; a line's last block is the
// last eight units, overlapping the block before, with the units already seen
// masked off.
template <bool StopAtColonOrQuote> TMarkerHit ScanForMarker(QStringView line)
{
    TMarkerHit best;
    const char16_t* const data = line.utf16();
    const qsizetype size = line.size();
    if (size >= 8) {
        for (qsizetype i = 0; i < size; i += 8) {
            const qsizetype at = std::min(i, size - 8);
            const unsigned fresh = 0xFFu << (i - at) & 0xFFu; // the units before i were seen already
            const TUnitMasks masks = Simd::BlockMasks(data + at);
            if constexpr (StopAtColonOrQuote) {
                if ((masks.Stops & fresh) != 0)
                    return {};
            }
            if (best.Marker == 0) { // nothing ranks above it; only a stop could still change the answer
                if constexpr (StopAtColonOrQuote)
                    continue;
                return best;
            }
            unsigned blanks = masks.Blanks & fresh;
            while (blanks != 0 && best.Marker != 0) {
                TryMarkersAt(line, at + std::countr_zero(blanks), best);
                blanks &= blanks - 1;
            }
        }
        return best;
    }
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if constexpr (StopAtColonOrQuote) {
            if (IsColonOrQuote(c))
                return {};
        } else if (best.Marker == 0) {
            break;
        }
        if (c == u' ' && best.Marker != 0)
            TryMarkersAt(line, i, best);
    }
    return best;
}

} // namespace

TMarkerHit FindActionMarker(QStringView line)
{
    return ScanForMarker<false>(line);
}

TMarkerHit FindLineAction(QStringView line)
{
    return ScanForMarker<true>(line);
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
    if (player.Round != ledger.Round()) {
        // The player's last bet was in a round closed since.
        player.Total += player.Bet;
        player.Bet = 0;
        player.Round = ledger.Round();
    }
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
    ledger.NextRound();
}

bool FinishHand(THandRecord& hand)
{
    TPlayerLedger& ledger = hand.PlayerLedger;
    // Every bet still open joins its player's total, in whichever round it was.
    for (TPlayerLedger::TEntry& entry : ledger) {
        entry.Player.Total += entry.Player.Bet;
        entry.Player.Bet = 0;
    }
    hand.Dealt = static_cast<qint32>(ledger.Count());
    if (hand.Rake == 0 || hand.Dealt == 0)
        return false;
    hand.AvgShare = hand.Rake / hand.Dealt;
    double sum = 0;
    for (const TPlayerLedger::TEntry& entry : ledger)
        sum += entry.Player.Total;
    for (TPlayerLedger::TEntry& entry : ledger)
        entry.Share = ProportionalShare(entry.Player.Total, hand.Rake, sum);
    return true;
}
