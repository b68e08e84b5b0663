#include "db/Statement.h"

#include "platform/Error.h"

#include <QThread>
#include <sqlite3.h>

static_assert(TStatement::Row == SQLITE_ROW && TStatement::Done == SQLITE_DONE);

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

void RaiseEngineError(int rc, sqlite3* handle)
{
    throw TError(EngineErrorText(rc, handle));
}

namespace {

// Beyond ASCII, as the engine encodes: a lone surrogate is taken as it stands,
// a high one takes the next unit whatever it is.
[[gnu::noinline]] unsigned char* EncodeWide(const char16_t*& in, const char16_t* end, unsigned char* p)
{
    char32_t c = *in++;
    if (c >= 0xD800 && c < 0xE000 && in < end) {
        const char32_t c2 = *in++;
        c = (c2 & 0x03FF) + ((c & 0x003F) << 10) + (((c & 0x03C0) + 0x0040) << 10);
    }
    if (c < 0x800) {
        *p++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *p++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *p++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return p;
}

} // namespace

void EngineUtf8(QStringView text, QByteArray& out)
{
    out.resize(text.size() * 3 + 1);
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    const char16_t* in = text.utf16();
    const char16_t* const end = in + text.size();
    while (in < end) {
        if (*in < 0x80)
            *p++ = static_cast<unsigned char>(*in++);
        else
            p = EncodeWide(in, end, p);
    }
    out.resize(reinterpret_cast<char*>(p) - out.data());
}

TStatement::TStatement(sqlite3* connection, const QString& sql) : FConnection(connection)
{
    const QByteArray text = sql.toUtf8();
    Compile(text.constData(), text.constData() + text.size());
    FTail = nullptr; // it pointed into the local copy of the text
    if (!FStatement)
        throw TError(QStringLiteral("Empty SQL Statement"));
}

TStatement::TStatement(sqlite3* connection, const char* text, const char* end) : FConnection(connection)
{
    Compile(text, end);
}

TStatement::~TStatement()
{
    sqlite3_finalize(FStatement);
}

void TStatement::Compile(const char* text, const char* end)
{
    const char* tail = text;
    // The engine gives no statement for an empty one (";", a comment): step over them.
    while (tail < end) {
        const char* next = nullptr;
        const int rc =
            sqlite3_prepare_v2(FConnection, tail, static_cast<int>(end - tail), &FStatement, &next);
        if (rc != SQLITE_OK)
            Raise(rc);
        if (FStatement || next == tail) {
            tail = next;
            break;
        }
        tail = next;
    }
    FTail = tail;
}

void TStatement::Raise(int rc) const
{
    RaiseEngineError(rc, FConnection);
}

void TStatement::Bind_Int(int index, qint32 value)
{
    const int rc = sqlite3_bind_int(FStatement, index, value);
    if (rc != SQLITE_OK)
        Raise(rc);
}

void TStatement::Bind_Str16(int index, const QString& value)
{
    const int rc = sqlite3_bind_text16(FStatement, index, value.utf16(),
                                       static_cast<int>(value.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        Raise(rc);
}

void TStatement::Bind_Str8(int index, QByteArrayView utf8)
{
    const int rc =
        sqlite3_bind_text(FStatement, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        Raise(rc);
}

void TStatement::Bind_Int64(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(FStatement, index, value);
    if (rc != SQLITE_OK)
        Raise(rc);
}

void TStatement::Bind_Null(int index)
{
    const int rc = sqlite3_bind_null(FStatement, index);
    if (rc != SQLITE_OK)
        Raise(rc);
}

void TStatement::Bind_Double(int index, double value)
{
    const int rc = sqlite3_bind_double(FStatement, index, value);
    if (rc != SQLITE_OK)
        Raise(rc);
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
        Raise(rc);
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
        Raise(rc);
    return rc;
}

int TStatement::StepOnce()
{
    const int rc = sqlite3_step(FStatement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_reset(FStatement);
        Raise(rc);
    }
    return rc;
}

void TStatement::Reset()
{
    sqlite3_reset(FStatement);
}

qint64 TStatement::ColumnInt64(int index) const
{
    return sqlite3_column_int64(FStatement, index);
}

double TStatement::ColumnDouble(int index) const
{
    return sqlite3_column_double(FStatement, index);
}

bool TStatement::ColumnIsNull(int index) const
{
    return sqlite3_column_type(FStatement, index) == SQLITE_NULL;
}

QByteArrayView TStatement::ColumnUtf8(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStatement, index));
    return text ? QByteArrayView(text, sqlite3_column_bytes(FStatement, index)) : QByteArrayView();
}
