#pragma once

#include "db/Statement.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

struct sqlite3;

// The program's single connection to the rake database file.
class TRakeDatabase
{
public:
    static constexpr const char* DatabaseFileName = "Kestrum2.db3";
    static constexpr const char* MasterCreateSQL =
        "CREATE TABLE Master (Hand INTEGER PRIMARY KEY, TableName TEXT, Date TEXT, Time TEXT, "
        "Rake REAL, Dealt INTEGER, AvgShare REAL);";
    static constexpr const char* DetailCreateSQL =
        "CREATE TABLE Detail (Hand INTEGER, Player TEXT, Share REAL, PRIMARY KEY (Hand, Player));";
    // The import log: one row per file a committed run read to its end.
    static constexpr const char* ImportsCreateSQL =
        "CREATE TABLE Imports (Imported TEXT, Source TEXT, Bytes "
        "INTEGER, Modified TEXT, Hands INTEGER, NewHands INTEGER);";
    // A player's own rakeback rate, overriding the default one.
    static constexpr const char* RakebackRatesCreateSQL =
        "CREATE TABLE RakebackRates (Player TEXT PRIMARY KEY, Percent REAL);";
    // Lets a report of a span of dates read only that span.
    static constexpr const char* MasterDateIndexSQL = "CREATE INDEX MasterDateTime ON Master (Date, Time);";
    static constexpr const char* MasterReplaceSQL = "REPLACE INTO Master (Hand, TableName, Date, Time, Rake, "
                                                    "Dealt, AvgShare) VALUES(?, ?, ?, ?, ?, ?, ?);";
    static constexpr const char* DetailReplaceSQL =
        "REPLACE INTO Detail (Hand, Player, Share) VALUES(?, ?, ?);";

    // folder: where the file lives (the executable's folder in production);
    // fileName: "Kestrum2.db3" unless the command line names another file.
    explicit TRakeDatabase(const QString& folder, const QString& fileName = QLatin1String(DatabaseFileName));
    ~TRakeDatabase();
    TRakeDatabase(const TRakeDatabase&) = delete;
    TRakeDatabase& operator=(const TRakeDatabase&) = delete;

    // Opens the file, creating it with its tables when it is missing: a new
    // file appears whole, with every table, or not at all.
    void OpenRakeDatabase();
    // An import run, inside its transaction, gives a file that holds Master
    // and Detail the tables of ours it lacks (a file made by an older version)
    // and says whether the file is ours. Nothing else ever changes a file's
    // schema: opening and reading don't.
    bool AddMissingTables();
    bool HasTable(const QString& name);
    bool HasIndex(const QString& name);
    // Opens the file only when it is there, creating nothing; raises
    // "Cannot open file" otherwise.
    void OpenExistingRakeDatabase();
    void Close();
    bool IsOpen() const { return FHandle != nullptr; }
    QString FileName() const { return FFileName; }
    // The file's full path, known before it is opened.
    QString Path() const { return FFolder + FBaseName; }

    void Execute(const QString& sql);
    std::unique_ptr<TStatement> Prepare(const QString& sql);
    // The same for a UTF-8 text that lives as long as the program (the fixed statements).
    std::unique_ptr<TStatement> Prepare(const char* sql);
    // An import run's transaction takes the write lock at its BEGIN, so a
    // reader that comes first can't leave the run unable to commit.
    void StartTransaction();
    void Commit();
    // How long the BEGIN and the COMMIT wait for another connection's lock
    // before they fail with its busy error, and what runs between tries (a
    // window keeps itself drawn). Every other statement keeps its short retry.
    void SetLockWait(int milliseconds, std::function<void()> between = {});
    // Ends a failed run: rolls back whatever transaction is open and sets the
    // nesting count back to 0. Never raises.
    void Rollback() noexcept;
    void Vacuum();
    void EmptyDatabase();

    int TransactionCount() const { return FTransactionCount; }
    // Rows the last finished INSERT, UPDATE or DELETE changed.
    int Changes() const;

    // Before anything is compiled: the open connection, reopening the existing
    // file (never creating it) when start-up could not open it.
    sqlite3* ReopenIfClosed();
    sqlite3* Handle() const { return FHandle; }
    // Stops the statement running on the connection, from any thread or a
    // signal handler: it fails with the engine's "interrupted" error.
    void Interrupt() const noexcept;

private:
    sqlite3* OpenHandle(const QString& path, bool create) const;
    void OpenFile(bool create);
    void CreateWhole();
    void RunQuietly(const char* sql) noexcept; // no result, no error
    void CheckOpen() const;
    void RunSingle(const char* sql); // one statement, stepped once, no busy retry
    void RunWaitingForLock(const char* sql);
    static int BusyHandler(void* database, int tries);

    QString FFolder;
    QString FBaseName;
    QString FFileName;
    sqlite3* FHandle = nullptr;
    int FTransactionCount = 0;
    int FLockWaitMs = 60000;
    std::function<void()> FBetweenLockTries;
    QElapsedTimer FLockWaitClock;
};
