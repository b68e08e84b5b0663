#pragma once

#include "import/HandRecord.h"

#include <QLatin1String>
#include <QStringView>
#include <array>

// How an action line changes the player's stake in the round.
enum class TActionMode
{
    None,
    Add,
    Subtract,
    Replace
};

struct TActionMarker
{
    QLatin1String Text;
    TActionMode Mode;
};

// The action markers in the order they are tried: a line holding two of them
// is the action of the one that stands first here, wherever it stands in the line.
extern const std::array<TActionMarker, 11> ActionMarkers;

// The amount text after a marker is cut to this many characters.
constexpr qsizetype MaxAmountLength = 99;

// When the marker occurs in the line, the text before its first occurrence is
// a player of the hand, and the amount after it changes that player's stake in
// the round by the mode. Returns whether the marker occurs.
bool ApplyAction(TPlayerLedger& ledger, QLatin1String marker, QStringView line, TActionMode mode);

// The first marker, in table order, that occurs in the line: its index into
// ActionMarkers and the position of its first occurrence. The same answer as
// trying ApplyAction marker by marker, in one pass over the line.
struct TMarkerHit
{
    int Marker = -1; // -1: the line holds no marker
    qsizetype Position = -1;
};
TMarkerHit FindActionMarker(QStringView line);

// The action a body line of a hand stands for: FindActionMarker's answer for a
// line without a colon or a double quote, no marker for a line with one (what
// players say and what the dealer announces is no action).
TMarkerHit FindLineAction(QStringView line);

// ApplyAction for a marker already found at position.
void ApplyActionAt(TPlayerLedger& ledger, QStringView line, const TMarkerHit& hit);

// Ends a betting round: every stake of the round goes into its player's total
// (counted at once, added when the player next acts or the hand ends).
void CloseRound(TPlayerLedger& ledger);

// Ends the hand: closes its last round and, when it was raked and had players,
// works out Dealt, AvgShare and every player's Share, and returns true (the
// hand is to be written). Returns false for a hand that is not written.
bool FinishHand(THandRecord& hand);
