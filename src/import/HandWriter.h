#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <memory>

class TRakeDatabase;
class TStatement;

// What writing a raked hand asks of the database beyond its two REPLACE
// statements, with the statements prepared once for a whole run.
class THandWriter
{
public:
    explicit THandWriter(TRakeDatabase& database);
    ~THandWriter();
    THandWriter(const THandWriter&) = delete;
    THandWriter& operator=(const THandWriter&) = delete;

    TRakeDatabase& Database() { return FDatabase; }

    // Before a hand is written (date and time as bound, UTF-8). A number
    // already stored for another date or time is another server's hand:
    // raises, so the run stops before it overwrites anything. A number stored
    // for the same hand loses its old shares, so the new reading's players
    // are the hand's only ones.
    void MakeRoomFor(qint32 hand, QByteArrayView date, QByteArrayView time);

private:
    TRakeDatabase& FDatabase;
    std::unique_ptr<TStatement> FStored;
    std::unique_ptr<TStatement> FClearShares;
};
