#pragma once

#include "import/HandRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <memory>
#include <vector>

class TRakeDatabase;
class TStatement;

// Writes an import run's finished hands into the run's transaction: one Master
// row, then one Detail row per player in ledger order, prepared afresh for
// every hand. The statements that clear a stored hand's shares and look up
// its number are prepared once for the whole run.
class THandWriter : public THandSink
{
public:
    explicit THandWriter(TRakeDatabase& database);
    ~THandWriter() override;
    THandWriter(const THandWriter&) = delete;
    THandWriter& operator=(const THandWriter&) = delete;

    void WriteHand(THandRecord& hand) override;
    // Hands written so far whose number was not stored before.
    int NewHands() const { return FNewHands; }

private:
    // A number already stored for another date or time is another server's
    // hand: raises, so the run stops before it overwrites anything. A number
    // stored for the same hand loses its old shares, so the new reading's
    // players are the hand's only ones.
    void MakeRoomFor(qint32 hand, QByteArrayView date, QByteArrayView time);

    TRakeDatabase& FDatabase;
    std::unique_ptr<TStatement> FStored;
    std::unique_ptr<TStatement> FClearShares;
    // The texts as bound, UTF-8; their storage is kept from hand to hand.
    QByteArray FTable, FDate, FTime;
    std::vector<QByteArray> FNames;
    int FNewHands = 0;
};

// One text's hands written through a writer of its own, inside the
// transaction the caller holds. Returns the number of hands written.
int ImportHands(TRakeDatabase& database, const QStringList& lines);
