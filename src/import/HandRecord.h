#pragma once

#include "import/PlayerLedger.h"

#include <QByteArray>
#include <QString>

enum class THandState
{
    BetweenHands,
    AwaitGame,
    AwaitTable,
    InHand
};

// The facts of the hand being read. One record serves every hand of a text in
// turn; each hand header resets it.
struct THandRecord
{
    qint32 HandNumber = 0;
    QString TableName; // at most 99 characters
    QString Date;      // at most 10
    QString Time;      // at most 8
    double Rake = 0;
    // The three texts as bound when the hand is written, storage kept.
    QByteArray TableUtf8, DateUtf8, TimeUtf8;
    THandState State = THandState::BetweenHands;
    TPlayerLedger PlayerLedger;
    int Written = 0;
};
