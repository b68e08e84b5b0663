#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

struct sqlite3;
struct sqlite3_stmt;

// "SQLite3 Error <rc> - <the connection's message>", or "SQLite3 Error <rc>"
// when there is no connection to ask: the one text of every engine error.
QString EngineErrorText(int rc, sqlite3* handle);

// Raises the engine's error for result code rc as TError.
[[noreturn]] void RaiseEngineError(int rc, sqlite3* handle);

// The UTF-8 form of text as the engine makes it when UTF-16 text is bound, so
// that binding these bytes stores exactly what binding the UTF-16 stored: a
// unit of the surrogate range takes the next unit with it, paired or not.
// Writes into out, keeping its storage for the next call.
void EngineUtf8(QStringView text, QByteArray& out);

// The one statement object: compiles in the constructor and finalizes in the
// destructor, so no path, failing or not, leaks a statement or finalizes one
// twice. Every use of the engine goes through it: the import's prepared
// statements, the queries, Execute, BEGIN/COMMIT/VACUUM and the rollback.
class TStatement
{
public:
    // The engine's answers for a row and for completion.
    static constexpr int Row = 100;
    static constexpr int Done = 101;

    // The statement knows only the engine's connection it is compiled on; who
    // owns the connection (and reopens it) is not its business.

    // Compiles the first statement of sql; raises "Empty SQL Statement" when
    // the text holds none (only blanks, comments or ";").
    TStatement(sqlite3* connection, const QString& sql);
    // Compiles the first statement of the UTF-8 text [text, end), skipping
    // empty ones. Leaves the object empty (IsEmpty) when none is left; Tail()
    // is where the rest of the text begins.
    TStatement(sqlite3* connection, const char* text, const char* end);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    bool IsEmpty() const { return FStatement == nullptr; }
    const char* Tail() const { return FTail; }

    void Bind_Int(int index, qint32 value);
    void Bind_Str16(int index, const QString& value);
    // UTF-8 text, bound without a copy: the bytes must stay as they are until
    // the statement has been stepped and the value rebound or finalized.
    void Bind_Str8(int index, QByteArrayView utf8);
    void Bind_Double(int index, double value);
    void Bind_Int64(int index, qint64 value);
    void Bind_Null(int index);

    // Runs to the next row (SQLITE_ROW) or to completion (SQLITE_DONE), retrying
    // busy and locked answers; any other result raises TError.
    int Step();
    // As Step, then resets the statement; bindings keep their values.
    int StepAndReset();
    // One step without retry; any result but a row or done raises TError (after
    // a reset, so the message is the specific one).
    int StepOnce();
    void Reset();

    // A column of the current row as UTF-8 text (empty for NULL); valid until
    // the next step or reset.
    QByteArrayView ColumnUtf8(int index) const;
    qint64 ColumnInt64(int index) const;
    double ColumnDouble(int index) const;
    bool ColumnIsNull(int index) const;

    sqlite3_stmt* Handle() const { return FStatement; }

private:
    void Compile(const char* text, const char* end);
    int StepWithRetry();
    [[noreturn]] void Raise(int rc) const;
    sqlite3* FConnection;
    sqlite3_stmt* FStatement = nullptr;
    const char* FTail = nullptr;
};
