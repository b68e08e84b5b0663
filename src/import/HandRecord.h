#pragma once

#include "import/PlayerLedger.h"

#include <QString>

enum class THandState
{
    BetweenHands,
    AwaitGame,
    AwaitTable,
    InHand
};

// The facts of the hand being read, and once it is finished what it charges
// each player: where the parser hands a hand over to be written. One record
// serves every hand of a text in turn; each hand header resets it.
struct THandRecord
{
    qint32 HandNumber = 0;
    QString TableName; // at most 99 characters
    QString Date;      // at most 10
    QString Time;      // at most 8
    double Rake = 0;
    // Worked out when the hand is finished (FinishHand), with each player's share.
    qint32 Dealt = 0;
    double AvgShare = 0;
    THandState State = THandState::BetweenHands;
    TPlayerLedger PlayerLedger;
    int Written = 0;
};

// Where finished raked hands go (the import run's writer).
class THandSink
{
public:
    virtual ~THandSink() = default;
    virtual void WriteHand(THandRecord& hand) = 0;
};
