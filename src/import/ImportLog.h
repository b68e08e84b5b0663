#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

class TRakeDatabase;

// What the import log keeps of one file that a committed run read to its end.
struct TImportRecord
{
    QString Source;
    qint64 Bytes = 0;
    QDateTime Modified; // not valid: NULL (a remote entry)
    int Hands = 0;      // raked hands written from the file
    int NewHands = 0;   // of them, with a number not stored before the file
};

// The log's form of a time: UTC, "yyyy-MM-dd HH:mm:ss".
QString LogTimeText(const QDateTime& time);

// Writes the run's records, all with the same time, inside the run's transaction.
void WriteImportLog(TRakeDatabase& database, const QList<TImportRecord>& records, const QDateTime& imported);

// What the log says is already in the database: which files a catch-up run
// leaves out.
class TImportLog
{
public:
    // Reads the whole log (nothing when the file has none yet).
    explicit TImportLog(TRakeDatabase& database);

    // A local file is new unless a row has its absolute path with its present
    // size and modification: never imported, or grown or changed since.
    bool IsNewLocal(const QString& path) const;
    // A remote entry's size is not listed and a server's file grows through
    // its day, so it is new unless a row has its source imported at or after
    // 00:00:00 UTC of the second day after the date in its name.
    bool IsNewRemote(const QString& source, const QString& entry) const;

private:
    struct TRow
    {
        qint64 Bytes;
        QString Modified; // null for NULL
        QString Imported;
    };
    QHash<QString, QList<TRow>> FRows;
};
