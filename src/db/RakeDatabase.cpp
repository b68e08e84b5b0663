#include "db/RakeDatabase.h"

#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <sqlite3.h>

namespace {
constexpr int BusyAttempts = 8;
constexpr int BusyWaitMs = 10;
const char* const ClosedMessage = "RakeDatabase: Cannot perform this operation on a closed database";
} // namespace

// ---------------------------------------------------------------- TStatement

TStatement::TStatement(TRakeDatabase& database, sqlite3_stmt* statement)
    : FDatabase(database), FStatement(statement)
{
}

TStatement::~TStatement()
{
    sqlite3_finalize(FStatement);
}

void TStatement::Bind_Int(int index, qint32 value)
{
    const int rc = sqlite3_bind_int(FStatement, index, value);
    if (rc != SQLITE_OK)
        FDatabase.RaiseEngineError(rc);
}

void TStatement::Bind_Str16(int index, const QString& value)
{
    const int rc = sqlite3_bind_text16(FStatement, index, value.utf16(),
                                       static_cast<int>(value.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        FDatabase.RaiseEngineError(rc);
}

void TStatement::Bind_Double(int index, double value)
{
    const int rc = sqlite3_bind_double(FStatement, index, value);
    if (rc != SQLITE_OK)
        FDatabase.RaiseEngineError(rc);
}

int TStatement::StepWithRetry()
{
    int rc = SQLITE_OK;
    for (int attempt = 1; attempt <= BusyAttempts; ++attempt) {
        rc = sqlite3_step(FStatement);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            return rc;
        if (attempt < BusyAttempts)
            QThread::msleep(BusyWaitMs);
    }
    return rc;
}

int TStatement::Step()
{
    const int rc = StepWithRetry();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        FDatabase.RaiseEngineError(rc);
    return rc;
}

int TStatement::StepAndReset()
{
    int rc = StepWithRetry();
    const int resetRc = sqlite3_reset(FStatement);
    // A generic failure of the step is reported by the reset's specific code.
    if (rc == SQLITE_ERROR && resetRc != SQLITE_OK)
        rc = resetRc;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        FDatabase.RaiseEngineError(rc);
    return rc;
}

// ------------------------------------------------------------- TRakeDatabase

TRakeDatabase::TRakeDatabase(const QString& folder) : FFolder(folder)
{
    if (!FFolder.isEmpty() && !FFolder.endsWith(QLatin1Char('/')))
        FFolder += QLatin1Char('/');
}

TRakeDatabase::~TRakeDatabase()
{
    Close();
}

void TRakeDatabase::RaiseEngineError(int rc) const
{
    if (FHandle == nullptr)
        throw TError(QStringLiteral("SQLite3 Error %1").arg(rc));
    throw TError(QStringLiteral("SQLite3 Error %1 - %2").arg(rc).arg(QString::fromUtf8(sqlite3_errmsg(FHandle))));
}

sqlite3* TRakeDatabase::OpenHandle(const QString& path, bool create) const
{
    // The engine's heap accounting takes a lock on every allocation and nothing
    // here reads it; switched off once, before the engine starts.
    static const bool accountingOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)accountingOff;
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        // Named after the database file, also while its schema is made elsewhere.
        QString message = rc == SQLITE_CANTOPEN
                              ? QStringLiteral("Cannot open file %1").arg(FFileName)
                              : handle ? QStringLiteral("SQLite3 Error %1 - %2").arg(rc).arg(
                                             QString::fromUtf8(sqlite3_errmsg(handle)))
                                       : QStringLiteral("SQLite3 Error %1").arg(rc);
        sqlite3_close_v2(handle);
        throw TError(message);
    }
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
    const QString temporary = FFileName + QStringLiteral(".new-%1").arg(QRandomGenerator::global()->generate(), 8,
                                                                           16, QLatin1Char('0'));
    QFile::remove(temporary);
    Close();
    FHandle = OpenHandle(temporary, true);
    try {
        Execute(QLatin1String(MasterCreateSQL));
        Execute(QLatin1String(DetailCreateSQL));
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
    FFileName = FFolder + QLatin1String(DatabaseFileName);
    if (!QFileInfo::exists(FFileName))
        CreateWhole();
    OpenFile(false);
    FTransactionCount = 0;
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

sqlite3* TRakeDatabase::HandleForCompile()
{
    if (!FHandle) {
        if (FFileName.isEmpty())
            FFileName = FFolder + QLatin1String(DatabaseFileName);
        OpenFile(false);
    }
    return FHandle;
}

sqlite3_stmt* TRakeDatabase::CompileFirst(const QString& sql)
{
    sqlite3* handle = HandleForCompile();
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    const char* end = tail + text.size();
    // Skip leading empty statements (";", comments) as the engine returns them as null.
    while (tail < end) {
        sqlite3_stmt* statement = nullptr;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(handle, tail, static_cast<int>(end - tail), &statement, &next);
        if (rc != SQLITE_OK)
            RaiseEngineError(rc);
        if (statement)
            return statement;
        if (next == tail)
            break;
        tail = next;
    }
    return nullptr;
}

void TRakeDatabase::Execute(const QString& sql)
{
    CheckOpen();
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    const char* end = tail + text.size();
    while (tail < end) {
        sqlite3_stmt* statement = nullptr;
        const char* next = nullptr;
        int rc = sqlite3_prepare_v2(FHandle, tail, static_cast<int>(end - tail), &statement, &next);
        if (rc != SQLITE_OK)
            RaiseEngineError(rc);
        if (statement) {
            do {
                rc = sqlite3_step(statement);
            } while (rc == SQLITE_ROW);
            if (rc != SQLITE_DONE) {
                sqlite3_reset(statement);
                // Keep the message before finalize clears it.
                const QString message =
                    QStringLiteral("SQLite3 Error %1 - %2").arg(rc).arg(QString::fromUtf8(sqlite3_errmsg(FHandle)));
                sqlite3_finalize(statement);
                throw TError(message);
            }
            sqlite3_finalize(statement);
        }
        if (next == tail)
            break;
        tail = next;
    }
}

std::unique_ptr<TStatement> TRakeDatabase::Prepare(const QString& sql)
{
    sqlite3_stmt* statement = CompileFirst(sql);
    if (!statement)
        throw TError(QStringLiteral("Empty SQL Statement"));
    return std::make_unique<TStatement>(*this, statement);
}

void TRakeDatabase::RunSingle(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(FHandle, sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        RaiseEngineError(rc);
    rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const QString message =
            QStringLiteral("SQLite3 Error %1 - %2").arg(rc).arg(QString::fromUtf8(sqlite3_errmsg(FHandle)));
        sqlite3_finalize(statement);
        throw TError(message);
    }
    sqlite3_finalize(statement);
}

void TRakeDatabase::StartTransaction()
{
    CheckOpen();
    if (FTransactionCount == 0)
        RunSingle("BEGIN DEFERRED TRANSACTION;");
    ++FTransactionCount;
}

void TRakeDatabase::Commit()
{
    if (FTransactionCount == 0)
        return;
    if (FTransactionCount == 1) {
        CheckOpen();
        RunSingle("COMMIT TRANSACTION;");
    }
    --FTransactionCount;
}

void TRakeDatabase::RunQuietly(const char* sql) noexcept
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(FHandle, sql, -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
        }
        sqlite3_finalize(statement);
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

void TRakeDatabase::Vacuum()
{
    CheckOpen();
    RunSingle("VACUUM;");
}

void TRakeDatabase::EmptyDatabase()
{
    Execute(QStringLiteral("DELETE FROM Master"));
    Execute(QStringLiteral("DELETE FROM Detail"));
    Vacuum();
}
