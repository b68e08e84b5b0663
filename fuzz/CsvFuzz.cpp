// Arbitrary result tables, made by a real query over a table the input
// describes, through the CSV writer. Read back as CSV, the text must give the
// header and every row again: each text as it was, each number as it was to
// 15 digits. Blobs are written raw, so a table with a blob column is only
// written, not read back.
#include "db/Query.h"
#include "db/RakeDatabase.h"
#include "platform/Error.h"
#include "reports/CsvWriter.h"
#include "reports/DataView.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>

namespace {

// Reads the input from the front: small counts as single bytes, values as
// length-prefixed bytes.
class TInput
{
public:
    TInput(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FAt >= FSize; }
    uint8_t Byte() { return FAt < FSize ? FData[FAt++] : 0; }
    QByteArray Bytes()
    {
        const size_t length = qMin<size_t>(Byte(), FSize - FAt);
        QByteArray bytes(reinterpret_cast<const char*>(FData + FAt), static_cast<qsizetype>(length));
        FAt += length;
        return bytes;
    }
    template <typename T> T Raw()
    {
        T value{};
        const size_t length = qMin(sizeof value, FSize - FAt);
        std::memcpy(&value, FData + FAt, length);
        FAt += length;
        return value;
    }

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FAt = 0;
};

TRakeDatabase& Database()
{
    static QTemporaryDir dir;
    static TRakeDatabase database(dir.path());
    if (!database.IsOpen())
        database.OpenRakeDatabase();
    return database;
}

// RFC 4180 records: fields split at commas outside quotes, records at CR LF outside quotes.
QList<QStringList> ParseCsv(const QString& text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields.append(std::exchange(field, QString()));
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            fields.append(std::exchange(field, QString()));
            records.append(std::exchange(fields, QStringList()));
            ++i;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !fields.isEmpty())
        std::abort(); // every record, the last one too, must end in CR LF
    return records;
}

void CheckReal(const QString& field, double value, const QString& separator)
{
    if (std::isnan(value) || std::isinf(value)) {
        if (field != FormatCsvReal(value, separator))
            std::abort();
        return;
    }
    QString plain = field;
    plain.replace(separator, QStringLiteral("."));
    bool ok = false;
    const double back = plain.toDouble(&ok);
    if (!ok || std::abs(back - value) > std::abs(value) * 1e-14)
        std::abort();
}

void Check(const QString& csv, const TDataView& view, const QString& separator)
{
    const QList<QStringList> records = ParseCsv(csv);
    if (records.size() != view.RowCount() + 1)
        std::abort();
    for (int c = 0; c < view.ColumnCount(); ++c) {
        if (records[0].size() != view.ColumnCount() || records[0][c] != view.Column(c).Name)
            std::abort();
    }
    for (int r = 0; r < view.RowCount(); ++r) {
        const QStringList& fields = records[r + 1];
        if (fields.size() != view.ColumnCount())
            std::abort();
        for (int c = 0; c < view.ColumnCount(); ++c) {
            const TFieldType type = view.Column(c).Type;
            if (type == TFieldType::Text) {
                if (fields[c] != view.Text(r, c))
                    std::abort();
            } else if (view.IsNull(r, c)) {
                if (!fields[c].isEmpty())
                    std::abort();
            } else if (type == TFieldType::Integer) {
                if (fields[c] != QString::number(view.Integer(r, c)))
                    std::abort();
            } else if (type == TFieldType::Real) {
                CheckReal(fields[c], view.Real(r, c), separator);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const Types[] = {"INTEGER", "REAL", "TEXT", "BLOB", "", "NUMERIC"};
    TInput input(data, size);
    const int columns = 1 + input.Byte() % 4;
    const QLocale locale = input.Byte() % 2 ? QLocale(QLocale::German) : QLocale::c();

    TRakeDatabase& database = Database();
    sqlite3* handle = database.Handle();
    sqlite3_exec(handle, "DROP TABLE IF EXISTS temp.t", nullptr, nullptr, nullptr);
    QByteArray create = "CREATE TEMP TABLE t(";
    for (int c = 0; c < columns; ++c) {
        const int type = input.Byte() % 6;
        create += (c ? ", \"" : "\"") + input.Bytes().replace('"', "\"\"") + "\" " + Types[type];
    }
    if (sqlite3_exec(handle, create + ")", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 0; // a name SQLite refuses, or a repeated one
    sqlite3_stmt* insert = nullptr;
    QByteArray sql = "INSERT INTO t VALUES(?" + QByteArray(",?").repeated(columns - 1) + ")";
    if (sqlite3_prepare_v2(handle, sql.constData(), -1, &insert, nullptr) != SQLITE_OK)
        std::abort();
    for (int row = 0; row < 64 && !input.Empty(); ++row) {
        for (int c = 1; c <= columns; ++c) {
            switch (input.Byte() % 5) {
            case 0:
                sqlite3_bind_null(insert, c);
                break;
            case 1:
                sqlite3_bind_int64(insert, c, input.Raw<qint64>());
                break;
            case 2:
                sqlite3_bind_double(insert, c, input.Raw<double>());
                break;
            case 3: {
                const QByteArray text = input.Bytes();
                sqlite3_bind_text(insert, c, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray blob = input.Bytes();
                sqlite3_bind_blob(insert, c, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);

    TQuery query(database);
    query.SetSelectSQL(QStringLiteral("SELECT * FROM temp.t"));
    TDataView view;
    view.Open(query.Open());
    const QString csv = BuildCsvText(view, locale);
    if (view.RowCount() > 0 && view.CurrentRow() != 0)
        std::abort();
    bool hasBlob = false;
    for (int c = 0; c < view.ColumnCount(); ++c)
        hasBlob |= view.Column(c).Type == TFieldType::Blob;
    if (!hasBlob)
        Check(csv, view, locale.decimalPoint());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCsvText(csv, buffer, QStringLiteral("fuzz.csv"));
    return 0;
}
