#include "db/Query.h"

#include "db/RakeDatabase.h"
#include "db/Statement.h"
#include "platform/Simd.h"

#include <QSet>
#include <sqlite3.h>

namespace {
// Affinity of a declared type, by the engine's rules.
TFieldType TypeOfDeclared(const char* declared)
{
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.contains("INT"))
        return TFieldType::Integer;
    if (type.contains("CHAR") || type.contains("CLOB") || type.contains("TEXT"))
        return TFieldType::Text;
    if (type.contains("BLOB"))
        return TFieldType::Blob;
    return TFieldType::Real;
}

TFieldType TypeOfStorage(int storage)
{
    switch (storage) {
    case SQLITE_INTEGER:
        return TFieldType::Integer;
    case SQLITE_FLOAT:
        return TFieldType::Real;
    case SQLITE_BLOB:
        return TFieldType::Blob;
    default:
        return TFieldType::Text; // text, and NULL
    }
}

void AppendCell(TResultTable& table, sqlite3_stmt* statement, int c, TFieldType type)
{
    if (sqlite3_column_type(statement, c) == SQLITE_NULL) {
        table.AppendNull(c);
        return;
    }
    switch (type) {
    case TFieldType::Integer:
        table.AppendInteger(c, sqlite3_column_int64(statement, c));
        break;
    case TFieldType::Real:
        table.AppendReal(c, sqlite3_column_double(statement, c));
        break;
    case TFieldType::Text: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        table.AppendText(c, text, sqlite3_column_bytes(statement, c));
        break;
    }
    case TFieldType::Blob: {
        const void* data = sqlite3_column_blob(statement, c);
        table.AppendBlob(c, data, sqlite3_column_bytes(statement, c));
        break;
    }
    }
}
} // namespace

TQuery::TQuery(TRakeDatabase& database) : FDatabase(database) {}

TQuery::~TQuery()
{
    Close();
}

void TQuery::Close()
{
    FStatement.reset();
}

void TQuery::SetSelectSQL(const QString& sql)
{
    Close();
    FSelectSQL = sql;
    FStatement = std::make_unique<TStatement>(FDatabase.ReopenIfClosed(), sql);
}

std::shared_ptr<TResultTable> TQuery::Open()
{
    if (!FStatement) {
        // Compiled afresh after a Close, or after a failed start-up.
        FStatement = std::make_unique<TStatement>(FDatabase.ReopenIfClosed(), FSelectSQL);
    } else {
        FStatement->Reset();
    }
    sqlite3_stmt* statement = FStatement->Handle();
    // However the load ends (out of memory too), the statement is reset: a
    // statement left in the middle keeps a read open, and that holds up every
    // import's commit.
    struct TResetOnExit
    {
        sqlite3_stmt* Statement;
        ~TResetOnExit() { sqlite3_reset(Statement); }
    } resetOnExit{statement};
    // A window program's libraries may have left the vector registers dirty.
    ClearUpperVectorState();
    // The first step comes before the types: expressions are typed by their first row.
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_reset(statement);
        RaiseEngineError(rc, FDatabase.Handle());
    }
    const int count = sqlite3_column_count(statement);
    QVector<TColumn> columns;
    columns.reserve(count);
    QSet<QString> taken;
    for (int c = 0; c < count; ++c) {
        TColumn column;
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, c));
        column.Name = name;
        for (int n = 1; taken.contains(column.Name); ++n)
            // One pass: a name holding "%1" must not take the number in its place.
            column.Name = QStringLiteral("%1_%2").arg(name, QString::number(n));
        taken.insert(column.Name);
        const char* declared = sqlite3_column_decltype(statement, c);
        if (declared)
            column.Type = TypeOfDeclared(declared);
        else
            column.Type =
                rc == SQLITE_ROW ? TypeOfStorage(sqlite3_column_type(statement, c)) : TFieldType::Text;
        columns.append(column);
    }
    auto table = std::make_shared<TResultTable>(columns);
    while (rc == SQLITE_ROW) {
        for (int c = 0; c < count; ++c)
            AppendCell(*table, statement, c, columns[c].Type);
        table->EndRow();
        rc = sqlite3_step(statement);
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(statement);
        RaiseEngineError(rc, FDatabase.Handle());
    }
    sqlite3_reset(statement);
    return table;
}
