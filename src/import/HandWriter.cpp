#include "import/HandWriter.h"

#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "platform/Error.h"

namespace {
const char* const StoredSQL = "SELECT Date, Time FROM Master WHERE Hand = ?;";
const char* const ClearSharesSQL = "DELETE FROM Detail WHERE Hand = ?;";

// A header without date and time says nothing about which hand it is.
bool Undated(QByteArrayView date, QByteArrayView time)
{
    return date.isEmpty() && time.isEmpty();
}
} // namespace

THandWriter::THandWriter(TRakeDatabase& database) : FDatabase(database) {}

THandWriter::~THandWriter() = default;

void THandWriter::WriteHand(THandRecord& hand)
{
    // Bound as the UTF-8 the engine would make of the UTF-16 texts: the same
    // stored bytes without the engine's conversion and copy per bind.
    EngineUtf8(hand.TableName, FTable);
    EngineUtf8(hand.Date, FDate);
    EngineUtf8(hand.Time, FTime);
    MakeRoomFor(hand.HandNumber, FDate, FTime);
    {
        const auto master = FDatabase.Prepare(TRakeDatabase::MasterReplaceSQL);
        master->Bind_Int(1, hand.HandNumber);
        master->Bind_Str8(2, FTable);
        master->Bind_Str8(3, FDate);
        master->Bind_Str8(4, FTime);
        master->Bind_Double(5, hand.Rake);
        master->Bind_Int(6, hand.Dealt);
        master->Bind_Double(7, hand.AvgShare);
        master->Step();
    }
    const TPlayerLedger& ledger = hand.PlayerLedger;
    if (FNames.size() < size_t(ledger.Count()))
        FNames.resize(size_t(ledger.Count()));
    const auto detail = FDatabase.Prepare(TRakeDatabase::DetailReplaceSQL);
    size_t i = 0;
    for (const TPlayerLedger::TEntry& entry : ledger) {
        QByteArray& name = FNames[i++];
        EngineUtf8(entry.Name, name);
        detail->Bind_Int(1, hand.HandNumber);
        detail->Bind_Str8(2, name);
        detail->Bind_Double(3, entry.Share);
        detail->StepAndReset();
    }
}

void THandWriter::MakeRoomFor(qint32 hand, QByteArrayView date, QByteArrayView time)
{
    // Prepared at the first raked hand: a run without one asks nothing of the file.
    if (!FStored) {
        FStored = FDatabase.Prepare(StoredSQL);
        FClearShares = FDatabase.Prepare(ClearSharesSQL);
    }
    // A new number, nearly every hand of a run, costs this one look-up by
    // the table's own key.
    FStored->Bind_Int(1, hand);
    if (FStored->Step() != TStatement::Row) {
        FStored->Reset();
        ++FNewHands;
        return;
    }
    const QByteArrayView storedDate = FStored->ColumnUtf8(0);
    const QByteArrayView storedTime = FStored->ColumnUtf8(1);
    if ((storedDate != date || storedTime != time) && !Undated(storedDate, storedTime) &&
        !Undated(date, time)) {
        const QString message =
            QStringLiteral("Hand %1 is already stored for %2 %3; this file has it for %4 %5. "
                           "Keep each server in a database of its own.")
                .arg(hand)
                .arg(QString::fromUtf8(storedDate), QString::fromUtf8(storedTime), QString::fromUtf8(date),
                     QString::fromUtf8(time));
        FStored->Reset();
        throw TError(message);
    }
    FStored->Reset();
    // The hand is read again: its players may have changed since (a file
    // read while the server was still writing it), so its old shares go.
    FClearShares->Bind_Int(1, hand);
    FClearShares->StepAndReset();
}

int ImportHands(TRakeDatabase& database, const QStringList& lines)
{
    THandWriter writer(database);
    return ImportHands(writer, lines);
}
