#include "db/Statement.h"

#include "db/RakeDatabase.h"
#include "platform/Error.h"

#include <QThread>
#include <sqlite3.h>

namespace {
constexpr int BusyAttempts = 8;
constexpr int BusyWaitMs = 10;
} // namespace

QString EngineErrorText(int rc, sqlite3* handle)
{
    if (handle == nullptr)
        return QStringLiteral("SQLite3 Error %1").arg(rc);
    return QStringLiteral("SQLite3 Error %1 - %2").arg(rc).arg(QString::fromUtf8(sqlite3_errmsg(handle)));
}

TStatement::TStatement(TRakeDatabase& database, const QString& sql) : FDatabase(database)
{
    const QByteArray text = sql.toUtf8();
    Compile(text.constData(), text.constData() + text.size());
    FTail = nullptr; // it pointed into the local copy of the text
    if (!FStatement)
        throw TError(QStringLiteral("Empty SQL Statement"));
}

TStatement::TStatement(TRakeDatabase& database, const char* text, const char* end) : FDatabase(database)
{
    Compile(text, end);
}

TStatement::~TStatement()
{
    sqlite3_finalize(FStatement);
}

void TStatement::Compile(const char* text, const char* end)
{
    sqlite3* handle = FDatabase.HandleForCompile();
    const char* tail = text;
    // The engine gives no statement for an empty one (";", a comment): step over them.
    while (tail < end) {
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(handle, tail, static_cast<int>(end - tail), &FStatement, &next);
        if (rc != SQLITE_OK)
            FDatabase.RaiseEngineError(rc);
        if (FStatement || next == tail) {
            tail = next;
            break;
        }
        tail = next;
    }
    FTail = tail;
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

int TStatement::StepOnce()
{
    const int rc = sqlite3_step(FStatement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_reset(FStatement);
        FDatabase.RaiseEngineError(rc);
    }
    return rc;
}

void TStatement::Reset()
{
    sqlite3_reset(FStatement);
}
