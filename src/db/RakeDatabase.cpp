#include "db/RakeDatabase.h"

#include "platform/Error.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {
const char* const ClosedMessage = "RakeDatabase: Cannot perform this operation on a closed database";
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

void TRakeDatabase::RaiseEngineError(int rc) const
{
    throw TError(EngineErrorText(rc, FHandle));
}

void TRakeDatabase::OpenFile(bool create)
{
    Close();
    // The engine's heap accounting takes a lock on every allocation and nothing
    // here reads it; switched off once, before the engine starts.
    static const bool accountingOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)accountingOff;
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(FFileName.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = rc == SQLITE_CANTOPEN ? QStringLiteral("Cannot open file %1").arg(FFileName)
                                                      : EngineErrorText(rc, handle);
        sqlite3_close_v2(handle);
        throw TError(message);
    }
    FHandle = handle;
    FTransactionCount = 0;
}

void TRakeDatabase::OpenRakeDatabase()
{
    FFileName = FFolder + FBaseName;
    if (QFileInfo::exists(FFileName)) {
        OpenFile(false);
    } else {
        OpenFile(true);
        Execute(QLatin1String(MasterCreateSQL));
        Execute(QLatin1String(DetailCreateSQL));
    }
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
        TStatement statement(*this, tail, end);
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
    return std::make_unique<TStatement>(*this, sql);
}

void TRakeDatabase::RunSingle(const char* sql)
{
    TStatement statement(*this, sql, sql + qstrlen(sql));
    statement.StepOnce();
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

void TRakeDatabase::Rollback() noexcept
{
    if (FHandle && sqlite3_get_autocommit(FHandle) == 0) {
        try {
            RunSingle("ROLLBACK TRANSACTION;");
        } catch (...) {
            // Nothing more can be done here; the engine rolls back on close at the latest.
        }
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
