#include "db/ResultTable.h"

#include "support/QtPrinters.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr int ChunkRows = 65536;
constexpr int I = 0, R = 1, S = 2, T = 3, U = 4, B = 5;
constexpr qint64 Edges[] = {-128, 127, 128, -129, 32767, -32769, 2147483647, 2147483648LL, -2147483649LL};

// The cell of each column as Value gives it (invalid: NULL). R holds a new
// real on most rows, S rake in cents; T has 300 texts and runs of equal ones,
// an empty text, a zero byte and non-ASCII, and U the texts of T a row later.
QVariant Cell(int row, int column)
{
    switch (column) {
    case I:
        // Wider values mid-chunk, on a chunk's last row and on the next one's
        // first; the first NULL comes in chunk three.
        if (row >= 500 && row < 509)
            return Edges[row - 500];
        if (row == ChunkRows - 1 || row == ChunkRows)
            return row == ChunkRows ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
        return row == 2 * ChunkRows + 7 || row == 3 * ChunkRows - 1 ? QVariant()
                                                                    : QVariant(qint64(row % 100 - 50));
    case R:
    case S:
        if (row % 3001 == 5)
            return {};
        if (column == S)
            return row % 401 == 400 ? -0.0 : (row % 400 + 1) / 100.0;
        return row % 7 == 0 ? 1e300 : row / 3.0;
    case T:
    case U: {
        row += column == U;
        const char* fixed[] = {"", "a\0b", "a", "Zo\u00eb \u2603"};
        if (row % 997 == 3)
            return {};
        if (row % 13 < 4)
            return QString::fromUtf8(fixed[row % 13], row % 13 == 1 ? 3 : -1);
        return QStringLiteral("Player %1").arg(row / 4 % 300);
    }
    default:
        return row % 2 ? QVariant(QByteArray::number(row) + QByteArray(1, '\0')) : QVariant();
    }
}
} // namespace

TEST(ResultTableTest, EveryCellReadsBackAcrossWidthsChunksNullsAndRepeatedValues)
{
    constexpr int Rows = 3 * ChunkRows + 11;
    TResultTable table({{"I", TFieldType::Integer},
                        {"R", TFieldType::Real},
                        {"S", TFieldType::Real},
                        {"T", TFieldType::Text},
                        {"U", TFieldType::Text},
                        {"B", TFieldType::Blob}});
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const QVariant v = Cell(r, c);
            const QByteArray bytes = c == T || c == U ? v.toString().toUtf8() : v.toByteArray();
            if (!v.isValid())
                table.AppendNull(c);
            else if (c == I)
                table.AppendInteger(c, v.toLongLong());
            else if (c == R || c == S)
                table.AppendReal(c, v.toDouble());
            else if (c == B)
                table.AppendBlob(c, bytes.constData(), int(bytes.size()));
            else
                table.AppendText(c, bytes.constData(), int(bytes.size()));
        }
        table.EndRow();
    }
    ASSERT_EQ(table.RowCount(), Rows);
    int wrong = 0;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < table.ColumnCount() && wrong < 10; ++c) {
            const QVariant v = Cell(r, c);
            const bool sign =
                (c == R || c == S) && std::signbit(table.Real(r, c)) != std::signbit(v.toDouble());
            if (table.Value(r, c) != v || table.IsNull(r, c) == v.isValid() || sign)
                ADD_FAILURE() << "row " << r << " column " << c << ": "
                              << table.Value(r, c).toString().toStdString(),
                    ++wrong;
        }
}
