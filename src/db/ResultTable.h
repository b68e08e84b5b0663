#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum class TFieldType
{
    Integer,
    Real,
    Text,
    Blob
};

struct TColumn
{
    QString Name;
    TFieldType Type = TFieldType::Text;
};

class TTextPool;

// The rows of one query result, stored column by column with a fixed type per
// column, compactly enough for an archive of tens of millions of rows: cells
// live in chunks of 65,536 rows (a growing result never copies what it holds),
// each integer chunk is 8, 16, 32 or 64 bits wide as its values need (a value
// that does not fit widens that chunk only), texts and blobs are numbers into
// a list where each distinct text is held once, a chunk of reals holding few
// distinct values (rake in cents) keeps each once with a narrow number per
// cell, and a chunk keeps a NULL bitmap only once it has a NULL. Built on one thread, the table may be read
// on another after it is handed over: reading changes nothing.
class TResultTable
{
public:
    explicit TResultTable(QVector<TColumn> columns);
    ~TResultTable();
    TResultTable(const TResultTable&) = delete;
    TResultTable& operator=(const TResultTable&) = delete;

    const QVector<TColumn>& Columns() const { return FColumns; }
    int ColumnCount() const { return FColumns.size(); }
    int RowCount() const { return FRowCount; }

    // A NULL cell reads as 0, 0.0, an empty text or an empty blob.
    bool IsNull(int row, int column) const;
    qint64 Integer(int row, int column) const;
    double Real(int row, int column) const;
    const QString& Text(int row, int column) const;
    QByteArray Blob(int row, int column) const;
    // Null gives an invalid QVariant; otherwise a value of the column's type.
    QVariant Value(int row, int column) const;

    // Loading, used by TQuery: one call per cell, row by row.
    void AppendNull(int column);
    void AppendInteger(int column, qint64 value);
    void AppendReal(int column, double value);
    void AppendText(int column, const char* utf8, int bytes);
    void AppendBlob(int column, const void* data, int bytes);
    void EndRow() { ++FRowCount; }
    // The expected number of rows; a hint, a result may hold more or fewer.
    void Reserve(int rows);

    // Bytes held by the cells, the texts and the blobs (the benchmarks show it).
    qint64 HeldBytes() const;

private:
    static constexpr int ChunkShift = 16;
    static constexpr int ChunkRows = 1 << ChunkShift;

    struct TChunk
    {
        std::unique_ptr<std::byte[]> Cells; // Width bytes per cell
        std::unique_ptr<quint64[]> Nulls;   // a bit per row, made at the first NULL
        int Capacity = 0;
        int Width = 1; // 1, 2, 4 or 8
        // Reals: the chunk's distinct values, the cells numbers into them;
        // empty when the cells are the doubles themselves.
        std::vector<double> Reals;
    };
    struct TColumnData
    {
        std::vector<TChunk> Chunks;
        int Count = 0;
        int LastText = -1; // texts often repeat the row above: no hashing then
        // The last chunk's real values by their bits (number + 1, 0 free).
        std::vector<quint32> RealSlots;
    };

    const TChunk& ChunkOf(int row, int column) const { return FData[column].Chunks[row >> ChunkShift]; }
    static qint64 IntegerAt(const TChunk& chunk, int index);
    static double RealAt(const TChunk& chunk, int index);
    // The chunk and index of a column's next cell, with room for a cell of width bytes.
    TChunk& NextCell(int column, int width, int& index);
    static void Resize(TChunk& chunk, int count, int capacity, int width);
    // The number of value in the chunk's distinct reals, added when new; -1
    // when the chunk holds so many that plain doubles cost less.
    static int RealNumber(TChunk& chunk, std::vector<quint32>& probe, double value);
    void PutInteger(int column, qint64 value, bool null);

    QVector<TColumn> FColumns;
    std::vector<TColumnData> FData;
    std::unique_ptr<TTextPool> FTexts;
    std::vector<QByteArray> FBlobs;
    int FRowCount = 0;
};
