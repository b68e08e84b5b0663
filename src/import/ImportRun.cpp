#include "import/ImportRun.h"

#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/HandWriter.h"
#include "platform/Busy.h"
#include "platform/Simd.h"

int RunImport(TRakeDatabase& database, const QStringList& entries, const QString& verb,
              const TImportRunHooks& hooks)
{
    const QString count = QString::number(entries.size());
    int total = 0;
    QString failure;
    bool failed = false;
    {
        TBusyScope busy(hooks.Busy);
        database.StartTransaction();
        try {
            THandWriter writer(database);
            int position = 0;
            for (const QString& entry : entries) {
                ++position;
                hooks.SetStatus(
                    QStringLiteral("%1 (%2 of %3):  %4").arg(verb).arg(position).arg(count, entry));
                if (hooks.KeepDrawn)
                    hooks.KeepDrawn();
                std::optional<QStringList> lines = hooks.Fetch(entry, failure);
                if (!lines) {
                    failed = true;
                    break;
                }
                // The hooks run the window's drawing, the network or the
                // settings; what they leave in the vector registers must not
                // slow the parser and the engine through a whole file.
                ClearUpperVectorState();
                total += ImportHands(writer, *lines);
                if (hooks.Progress)
                    hooks.Progress(position, total);
            }
        } catch (...) {
            // Nothing of a run that failed on the database stays, and the next run starts clean.
            database.Rollback();
            throw;
        }
    }
    if (failed)
        hooks.ShowError(failure);
    if (total > 0)
        hooks.CloseViews();
    hooks.SetStatus(QStringLiteral("Updating database ..."));
    try {
        database.Commit();
    } catch (...) {
        database.Rollback();
        throw;
    }
    hooks.SetStatus(QString());
    hooks.ShowPlain(QStringLiteral("Raked hands imported:  %1").arg(total));
    return total;
}
