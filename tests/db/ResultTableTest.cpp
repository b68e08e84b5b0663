#include "db/ResultTable.h"

#include "support/QtPrinters.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace {
constexpr int ChunkRows = 65536;
constexpr qint64 Min64 = std::numeric_limits<qint64>::min();
constexpr qint64 Max64 = std::numeric_limits<qint64>::max();

// Integers that begin small and then need 16, 32 and 64 bits, mid-chunk, on
// the last row of a chunk and on the first of the next; NULL first appears
// in the third chunk.
std::optional<qint64> IntegerOf(int row)
{
    struct TEdge
    {
        int Row;
        std::optional<qint64> Value;
    };
    static const TEdge edges[] = {
        {500, -128},
        {501, 127},
        {1000, 128},
        {1001, -129},
        {5000, 32767},
        {5001, -32769},
        {20000, 2147483647},
        {20001, 2147483648LL},
        {20002, -2147483649LL},
        {ChunkRows - 1, Min64},
        {ChunkRows, Max64},
        {ChunkRows + 1, 1},
        {2 * ChunkRows + 7, std::nullopt},
        {2 * ChunkRows + 8, Max64},
        {3 * ChunkRows - 1, std::nullopt},
    };
    for (const auto& edge : edges)
        if (edge.Row == row)
            return edge.Value;
    return row % 100 - 50;
}

// 300 texts (more than the first table of the pool holds), runs of equal
// texts, an empty text beside NULL, bytes after a zero byte, and non-ASCII.
std::optional<QByteArray> TextOf(int row)
{
    if (row % 997 == 3)
        return std::nullopt;
    switch (row % 13) {
    case 0:
        return QByteArray();
    case 1:
        return QByteArray("a\0b", 3);
    case 2:
        return QByteArray("a");
    case 3:
        return QStringLiteral("Zo\u00eb \u2603").toUtf8();
    default:
        return "Player " + QByteArray::number(row / 4 % 300);
    }
}

// Column R: a new value on most rows; column S: rake in cents, few values.
std::optional<double> RealOf(int row, int column)
{
    if (row % 3001 == 5)
        return std::nullopt;
    if (column == 5)
        return row % 401 == 400 ? -0.0 : (row % 400 + 1) / 100.0;
    return row % 7 == 0 ? 1e300 : row % 7 == 1 ? -0.1 : row / 3.0;
}

std::optional<QByteArray> BlobOf(int row)
{
    if (row % 2 == 0)
        return std::nullopt;
    return QByteArray::number(row) + QByteArray(1, '\0');
}
} // namespace

TEST(ResultTableTest, EveryCellReadsBackAcrossWidthsChunksNullsAndRepeatedTexts)
{
    constexpr int Rows = 3 * ChunkRows + 11;
    TResultTable table({{"I", TFieldType::Integer},
                        {"R", TFieldType::Real},
                        {"T", TFieldType::Text},
                        {"U", TFieldType::Text},
                        {"B", TFieldType::Blob},
                        {"S", TFieldType::Real}});
    for (int r = 0; r < Rows; ++r) {
        const auto i = IntegerOf(r);
        i ? table.AppendInteger(0, *i) : table.AppendNull(0);
        for (int c : {1, 5}) {
            const auto real = RealOf(r, c);
            real ? table.AppendReal(c, *real) : table.AppendNull(c);
        }
        for (int c : {2, 3}) {
            // U holds the texts of T a row later: one pool for both columns.
            const auto t = TextOf(c == 2 ? r : r + 1);
            t ? table.AppendText(c, t->constData(), int(t->size())) : table.AppendNull(c);
        }
        const auto b = BlobOf(r);
        b ? table.AppendBlob(4, b->constData(), int(b->size())) : table.AppendNull(4);
        table.EndRow();
    }
    ASSERT_EQ(table.RowCount(), Rows);
    int wrong = 0;
    for (int r = 0; r < Rows && wrong < 10; ++r) {
        const auto i = IntegerOf(r);
        const auto b = BlobOf(r);
        const auto expectText = [&](int c, std::optional<QByteArray> t) {
            const QVariant expected = t ? QVariant(QString::fromUtf8(*t)) : QVariant();
            if (table.Value(r, c) != expected || table.IsNull(r, c) != !t ||
                table.Text(r, c) != (t ? QString::fromUtf8(*t) : QString()))
                ADD_FAILURE() << "row " << r << " column " << c, ++wrong;
        };
        if (table.IsNull(r, 0) != !i || table.Integer(r, 0) != i.value_or(0) ||
            table.Value(r, 0) != (i ? QVariant::fromValue(*i) : QVariant()))
            ADD_FAILURE() << "row " << r << " integer " << i.value_or(0) << " read " << table.Integer(r, 0),
                ++wrong;
        for (int c : {1, 5}) {
            const auto real = RealOf(r, c);
            if (table.IsNull(r, c) != !real || table.Real(r, c) != real.value_or(0.0) ||
                std::signbit(table.Real(r, c)) != std::signbit(real.value_or(0.0)))
                ADD_FAILURE() << "row " << r << " real column " << c, ++wrong;
        }
        expectText(2, TextOf(r));
        expectText(3, TextOf(r + 1));
        if (table.IsNull(r, 4) != !b || table.Blob(r, 4) != b.value_or(QByteArray()))
            ADD_FAILURE() << "row " << r << " blob", ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(ResultTableTest, SmallIntegersFewTextsAndFewRealsTakeAByteACell)
{
    constexpr int Rows = 2 * ChunkRows;
    TResultTable table(
        {{"Dealt", TFieldType::Integer}, {"TableName", TFieldType::Text}, {"Rake", TFieldType::Real}});
    for (int r = 0; r < Rows; ++r) {
        table.AppendInteger(0, r % 10);
        const QByteArray name = "Table " + QByteArray::number(r % 50);
        table.AppendText(1, name.constData(), int(name.size()));
        table.AppendReal(2, (r % 100 + 1) / 100.0);
        table.EndRow();
    }
    EXPECT_LE(table.HeldBytes(), qint64(Rows) * 3 + 4096);
    EXPECT_EQ(table.Text(Rows - 1, 1), QStringLiteral("Table 21"));
}
