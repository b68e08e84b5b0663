#include "import/ImportRun.h"

#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/HandWriter.h"
#include "import/ImportLog.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/Simd.h"

#include <QFileInfo>

namespace {
// The front end's busy indication for as long as the loop runs, however it ends.
class TBusyWhile
{
public:
    explicit TBusyWhile(TImportFrontEnd& frontEnd) : FFrontEnd(frontEnd) { FFrontEnd.SetBusy(true); }
    ~TBusyWhile() { FFrontEnd.SetBusy(false); }
    TBusyWhile(const TBusyWhile&) = delete;
    TBusyWhile& operator=(const TBusyWhile&) = delete;

private:
    TImportFrontEnd& FFrontEnd;
};
} // namespace

int RunImport(TRakeDatabase& database, const QStringList& entries, const QString& verb,
              const TFetchEntry& fetch, TImportFrontEnd& frontEnd)
{
    const QString count = QString::number(entries.size());
    int total = 0;
    QString failure;
    bool failed = false;
    QList<TImportRecord> records;
    {
        TBusyWhile busy(frontEnd);
        database.StartTransaction();
        try {
            const bool ours = database.AddMissingTables();
            // An older file gets the date index after the run's last hand.
            bool indexAfter = ours && !database.HasIndex(QStringLiteral("MasterDateTime"));
            // So does a run that reads more than the file held at its start (a
            // new file, the first import of an archive, a small file read
            // again whole): the index is dropped and made once at the end,
            // one sort instead of an insert into it for every hand. A smaller
            // run keeps it, as making it would cost more.
            const qint64 heldBytes = QFileInfo(database.FileName()).size();
            qint64 readBytes = 0;
            // A file that is not ours (no Master and Detail) gets no log either.
            const bool logged = database.HasTable(QStringLiteral("Imports"));
            THandWriter writer(database);
            int position = 0;
            for (const QString& entry : entries) {
                ++position;
                frontEnd.SetStatus(
                    QStringLiteral("%1 (%2 of %3):  %4").arg(verb).arg(position).arg(count, entry));
                frontEnd.KeepDrawn();
                TEntryText text;
                try {
                    text = fetch(entry);
                } catch (const TError& e) {
                    failure = e.Message();
                    failed = true;
                    break;
                }
                readBytes += text.Bytes;
                if (ours && !indexAfter && readBytes > heldBytes) {
                    database.Execute(QStringLiteral("DROP INDEX MasterDateTime;"));
                    indexAfter = true;
                }
                // The front end runs the window's drawing, the network or the
                // settings; what it leaves in the vector registers must not
                // slow the parser and the engine through a whole file.
                ClearUpperVectorState();
                const int newBefore = writer.NewHands();
                const int hands = ImportHands(writer, text.Lines);
                total += hands;
                records.append(
                    {text.Source, text.Bytes, text.Modified, hands, writer.NewHands() - newBefore});
                frontEnd.Progress(position, total);
            }
            if (indexAfter) {
                frontEnd.SetStatus(QStringLiteral("Building the date index ..."));
                frontEnd.KeepDrawn();
                database.Execute(QLatin1String(TRakeDatabase::MasterDateIndexSQL));
            }
            if (logged)
                WriteImportLog(database, records, Clock::NowUtc());
        } catch (...) {
            // Nothing of a run that failed on the database stays, and the next run starts clean.
            database.Rollback();
            throw;
        }
    }
    if (failed)
        frontEnd.ShowError(failure);
    if (total > 0)
        frontEnd.CloseViews();
    frontEnd.SetStatus(QStringLiteral("Updating database ..."));
    try {
        database.Commit();
    } catch (...) {
        database.Rollback();
        throw;
    }
    frontEnd.SetStatus(QString());
    TImportCounts counts;
    counts.Files = int(records.size());
    counts.Hands = total;
    for (const TImportRecord& record : records)
        counts.NewHands += record.NewHands;
    frontEnd.Counted(counts);
    frontEnd.ShowPlain(QStringLiteral("Raked hands imported:  %1").arg(total));
    return total;
}
