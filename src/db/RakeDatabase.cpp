#include "db/RakeDatabase.h"

#include "platform/Error.h"
#include "platform/Interrupt.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <sqlite3.h>

namespace {
const char* const ClosedMessage = "RakeDatabase: Cannot perform this operation on a closed database";

// A start that is still making its new file is well within this.
constexpr qint64 LeftoverAgeSeconds = 10 * 60;

// "<file>.new-" and CreateWhole's 8 hex digits, or the journal of such a file.
bool IsNewFileLeftover(QStringView name, QStringView fileName)
{
    const QLatin1String marker(".new-");
    if (!name.startsWith(fileName) || !name.sliced(fileName.size()).startsWith(marker))
        return false;
    QStringView rest = name.sliced(fileName.size() + marker.size());
    if (rest.endsWith(QLatin1String("-journal")))
        rest.chop(8);
    return rest.size() == 8 && std::all_of(rest.begin(), rest.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

// What a start killed inside CreateWhole left behind: files of that exact form
// in the database's own folder, old enough that no start is still making them.
void RemoveNewFileLeftovers(const QString& databasePath)
{
    const QFileInfo database(databasePath);
    const QString fileName = database.fileName();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-LeftoverAgeSeconds);
    QDirIterator entries(database.absolutePath(), QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        if (IsNewFileLeftover(entry.fileName(), fileName) && entry.lastModified().toUTC() < before)
            QFile::remove(entry.filePath());
    }
}
} // namespace

// ------------------------------------------------------------- TRakeDatabase

TRakeDatabase::TRakeDatabase(const QString& folder, const QString& fileName)
    : FFolder(folder), FBaseName(fileName)
{
    if (!FFolder.isEmpty() && !FFolder.endsWith(QLatin1Char('/')))
        FFolder += QLatin1Char('/');
}

TRakeDatabase::~TRakeDatabase()
{
    Close();
}

sqlite3* TRakeDatabase::OpenHandle(const QString& path, bool create) const
{
    // Set once, before the engine starts. The heap accounting takes a lock on
    // every allocation and nothing here reads it. The program uses the engine
    // from one thread at a time (a window's long read runs on a worker while
    // the window leaves the engine alone), so the engine's own locks (taken
    // on every call and every allocation) guard nothing.
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK &&
                                   sqlite3_config(SQLITE_CONFIG_SINGLETHREAD) == SQLITE_OK;
    (void)configured;
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = rc == SQLITE_CANTOPEN ? QStringLiteral("Cannot open file %1").arg(FFileName)
                                                      : EngineErrorText(rc, handle);
        sqlite3_close_v2(handle);
        throw TError(message);
    }
    // A request to stop from outside (Ctrl+C) also stops a long statement.
    sqlite3_progress_handler(
        handle, 1000, [](void*) { return Interrupt::Requested() ? 1 : 0; }, nullptr);
    return handle;
}

void TRakeDatabase::OpenFile(bool create)
{
    Close();
    FHandle = OpenHandle(FFileName, create);
    FTransactionCount = 0;
}

void TRakeDatabase::CreateWhole()
{
    // The schema is made in a file of its own beside the database and renamed
    // into place, so the database file either does not exist or holds both
    // tables, whatever stops the program or the disk in between.
    const QString temporary =
        FFileName +
        QStringLiteral(".new-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    QFile::remove(temporary);
    Close();
    FHandle = OpenHandle(temporary, true);
    try {
        Execute(QLatin1String(MasterCreateSQL));
        Execute(QLatin1String(DetailCreateSQL));
        Execute(QLatin1String(ImportsCreateSQL));
        Execute(QLatin1String(RakebackRatesCreateSQL));
        Execute(QLatin1String(MasterDateIndexSQL));
    } catch (...) {
        Close();
        QFile::remove(temporary);
        QFile::remove(temporary + QLatin1String("-journal"));
        throw;
    }
    Close();
    // Never over a file that appeared meanwhile: another copy of the program
    // made it first, and that one is opened as it is.
    if (!QFile::rename(temporary, FFileName)) {
        QFile::remove(temporary);
        if (!QFileInfo::exists(FFileName))
            throw TError(QStringLiteral("Cannot open file %1").arg(FFileName));
    }
}

void TRakeDatabase::OpenRakeDatabase()
{
    FFileName = FFolder + FBaseName;
    RemoveNewFileLeftovers(FFileName);
    if (!QFileInfo::exists(FFileName))
        CreateWhole();
    OpenFile(false);
    FTransactionCount = 0;
}

void TRakeDatabase::OpenExistingRakeDatabase()
{
    FFileName = FFolder + FBaseName;
    if (!QFileInfo::exists(FFileName))
        throw TError(QStringLiteral("Cannot open file %1").arg(FFileName));
    OpenFile(false);
}

void TRakeDatabase::Close()
{
    if (FHandle) {
        // close_v2 lets the handle go even if a query still holds a statement.
        sqlite3_close_v2(FHandle);
        FHandle = nullptr;
    }
    FTransactionCount = 0;
}

void TRakeDatabase::CheckOpen() const
{
    if (!FHandle)
        throw TError(QLatin1String(ClosedMessage));
}

sqlite3* TRakeDatabase::ReopenIfClosed()
{
    if (!FHandle) {
        if (FFileName.isEmpty())
            FFileName = FFolder + FBaseName;
        OpenFile(false);
    }
    return FHandle;
}

void TRakeDatabase::Execute(const QString& sql)
{
    CheckOpen();
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    const char* end = tail + text.size();
    while (tail < end) {
        TStatement statement(FHandle, tail, end);
        if (!statement.IsEmpty())
            while (statement.StepOnce() == SQLITE_ROW) {
            }
        if (statement.Tail() == tail)
            break;
        tail = statement.Tail();
    }
}

std::unique_ptr<TStatement> TRakeDatabase::Prepare(const QString& sql)
{
    return std::make_unique<TStatement>(ReopenIfClosed(), sql);
}

std::unique_ptr<TStatement> TRakeDatabase::Prepare(const char* sql)
{
    auto statement = std::make_unique<TStatement>(ReopenIfClosed(), sql, sql + qstrlen(sql));
    if (statement->IsEmpty())
        throw TError(QStringLiteral("Empty SQL Statement"));
    return statement;
}

void TRakeDatabase::RunSingle(const char* sql)
{
    TStatement statement(FHandle, sql, sql + qstrlen(sql));
    statement.StepOnce();
}

void TRakeDatabase::SetLockWait(int milliseconds, std::function<void()> between)
{
    FLockWaitMs = milliseconds;
    FBetweenLockTries = std::move(between);
}

int TRakeDatabase::BusyHandler(void* data, int tries)
{
    auto* database = static_cast<TRakeDatabase*>(data);
    if (tries == 0)
        database->FLockWaitClock.start();
    if (database->FLockWaitClock.elapsed() >= database->FLockWaitMs || Interrupt::Requested())
        return 0; // give up: the statement fails with the busy error
    if (database->FBetweenLockTries)
        database->FBetweenLockTries();
    QThread::msleep(10);
    return 1;
}

void TRakeDatabase::Interrupt() const noexcept
{
    if (sqlite3* handle = FHandle)
        sqlite3_interrupt(handle);
}

void TRakeDatabase::RunWaitingForLock(const char* sql)
{
    CheckOpen();
    // The handler is on for this one statement only: every other statement
    // keeps its own retry of a few short tries.
    sqlite3_busy_handler(FHandle, &TRakeDatabase::BusyHandler, this);
    try {
        RunSingle(sql);
    } catch (...) {
        sqlite3_busy_handler(FHandle, nullptr, nullptr);
        throw;
    }
    sqlite3_busy_handler(FHandle, nullptr, nullptr);
}

void TRakeDatabase::StartTransaction()
{
    CheckOpen();
    if (FTransactionCount == 0)
        RunWaitingForLock("BEGIN IMMEDIATE TRANSACTION;");
    ++FTransactionCount;
}

void TRakeDatabase::Commit()
{
    if (FTransactionCount == 0)
        return;
    if (FTransactionCount == 1)
        RunWaitingForLock("COMMIT TRANSACTION;");
    --FTransactionCount;
}

void TRakeDatabase::RunQuietly(const char* sql) noexcept
{
    try {
        TStatement statement(FHandle, sql, sql + qstrlen(sql));
        if (!statement.IsEmpty())
            while (statement.StepOnce() == SQLITE_ROW) {
            }
    } catch (...) {
        // Clean-up after a failure: nothing more can be done here.
    }
}

void TRakeDatabase::Rollback() noexcept
{
    if (FHandle) {
        if (sqlite3_get_autocommit(FHandle) == 0)
            RunQuietly("ROLLBACK TRANSACTION;");
        // After a failed write (a full disk) the engine ends the transaction
        // itself but leaves the undo to the next reader: until then the grown
        // file and its journal stay on disk. A read now puts the file back as
        // it was before the run and removes the journal.
        RunQuietly("PRAGMA schema_version;");
    }
    FTransactionCount = 0;
}

int TRakeDatabase::Changes() const
{
    return FHandle ? sqlite3_changes(FHandle) : 0;
}

void TRakeDatabase::Vacuum()
{
    CheckOpen();
    RunSingle("VACUUM;");
}

namespace {
bool HasSchemaObject(TRakeDatabase& database, const char* type, const QString& name)
{
    const auto statement =
        database.Prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = ? AND name = ?"));
    statement->Bind_Str8(1, type);
    statement->Bind_Str16(2, name);
    return statement->Step() == TStatement::Row;
}
} // namespace

bool TRakeDatabase::HasTable(const QString& name)
{
    return HasSchemaObject(*this, "table", name);
}

bool TRakeDatabase::HasIndex(const QString& name)
{
    return HasSchemaObject(*this, "index", name);
}

bool TRakeDatabase::AddMissingTables()
{
    if (!HasTable(QStringLiteral("Master")) || !HasTable(QStringLiteral("Detail")))
        return false; // not a file of ours: the run's first hand says so
    if (!HasTable(QStringLiteral("Imports")))
        Execute(QLatin1String(ImportsCreateSQL));
    if (!HasTable(QStringLiteral("RakebackRates")))
        Execute(QLatin1String(RakebackRatesCreateSQL));
    return true;
}

void TRakeDatabase::EmptyDatabase()
{
    Execute(QStringLiteral("DELETE FROM Master"));
    Execute(QStringLiteral("DELETE FROM Detail"));
    if (HasTable(QStringLiteral("Imports")))
        Execute(QStringLiteral("DELETE FROM Imports"));
    Vacuum();
}
