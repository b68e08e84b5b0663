#include "import/ImportLog.h"

#include "db/RakeDatabase.h"
#include "import/LocalEntry.h"

#include <QFileInfo>

QString LogTimeText(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void WriteImportLog(TRakeDatabase& database, const QList<TImportRecord>& records, const QDateTime& imported)
{
    if (records.isEmpty())
        return;
    const QString when = LogTimeText(imported);
    const auto insert =
        database.Prepare(QStringLiteral("INSERT INTO Imports (Imported, Source, Bytes, Modified, Hands, "
                                        "NewHands) VALUES (?, ?, ?, ?, ?, ?);"));
    for (const TImportRecord& record : records) {
        insert->Bind_Str16(1, when);
        insert->Bind_Str16(2, record.Source);
        insert->Bind_Int64(3, record.Bytes);
        if (record.Modified.isValid())
            insert->Bind_Str16(4, LogTimeText(record.Modified));
        else
            insert->Bind_Null(4);
        insert->Bind_Int(5, record.Hands);
        insert->Bind_Int(6, record.NewHands);
        insert->StepAndReset();
    }
}

TImportLog::TImportLog(TRakeDatabase& database)
{
    if (!database.HasTable(QStringLiteral("Imports")))
        return;
    const auto rows =
        database.Prepare(QStringLiteral("SELECT Source, Bytes, Modified, Imported FROM Imports"));
    while (rows->Step() == TStatement::Row) {
        const QByteArrayView modified = rows->ColumnUtf8(2);
        FRows[QString::fromUtf8(rows->ColumnUtf8(0))].append(
            {rows->ColumnInt64(1), rows->ColumnIsNull(2) ? QString() : QString::fromUtf8(modified),
             QString::fromUtf8(rows->ColumnUtf8(3))});
    }
}

bool TImportLog::IsNewLocal(const QString& path) const
{
    const QFileInfo file(path);
    const auto found = FRows.constFind(LocalEntrySource(path));
    if (found == FRows.cend() || !file.exists())
        return true;
    const QString modified = LogTimeText(file.lastModified().toUTC());
    for (const TRow& row : *found)
        if (row.Bytes == file.size() && !row.Modified.isNull() && row.Modified == modified)
            return false;
    return true;
}

bool TImportLog::IsNewRemote(const QString& source, const QString& entry) const
{
    const auto found = FRows.constFind(source);
    if (found == FRows.cend())
        return true;
    const QDate day = QDate::fromString(entry.mid(2, 10), QStringLiteral("yyyy-MM-dd"));
    // Without a date in its name, any record of the entry will do.
    const QString complete =
        day.isValid() ? LogTimeText(QDateTime(day.addDays(2), QTime(0, 0), Qt::UTC)) : QString();
    for (const TRow& row : *found)
        if (row.Imported >= complete)
            return false;
    return true;
}
