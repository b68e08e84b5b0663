#include "db/Query.h"

#include "db/RakeDatabase.h"
#include "db/Statement.h"

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

// Some libraries a window program loads (graphics drivers among them) leave
// the upper halves of the vector registers dirty; the engine's plain SSE code
// then runs about a fifth slower until something clears them. One clear
// before a query costs nothing.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void ClearVectorUpperHalves()
{
    __builtin_ia32_vzeroupper();
}
void BeforeEngineWork()
{
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        ClearVectorUpperHalves();
}
#else
void BeforeEngineWork() {}
#endif

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
    FStatement = std::make_unique<TStatement>(FDatabase, sql);
}

std::shared_ptr<TResultTable> TQuery::Open()
{
    if (!FStatement) {
        // Compiled afresh after a Close, or after a failed start-up.
        FStatement = std::make_unique<TStatement>(FDatabase, FSelectSQL);
    } else {
        FStatement->Reset();
    }
    sqlite3_stmt* statement = FStatement->Handle();
    BeforeEngineWork();
    // The first step comes before the types: expressions are typed by their first row.
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_reset(statement);
        FDatabase.RaiseEngineError(rc);
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
        FDatabase.RaiseEngineError(rc);
    }
    sqlite3_reset(statement);
    return table;
}
