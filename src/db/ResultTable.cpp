#include "db/ResultTable.h"

#include "db/TextPool.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int SmallestCapacity = 64;
constexpr int NullWords = (1 << 16) / 64;
// Beyond a quarter of a chunk's rows, numbers and distinct values together
// would soon cost more than the doubles.
constexpr int MostDistinctReals = (1 << 16) / 4;

// The fewest bytes that hold the value as a signed integer.
int WidthOf(qint64 value)
{
    if (value == static_cast<qint8>(value))
        return 1;
    if (value == static_cast<qint16>(value))
        return 2;
    if (value == static_cast<qint32>(value))
        return 4;
    return 8;
}

template <typename T> qint64 Read(const std::byte* cells, int index)
{
    T value;
    std::memcpy(&value, cells + static_cast<std::size_t>(index) * sizeof(T), sizeof(T));
    return value;
}

template <typename T> void Write(std::byte* cells, int index, qint64 value)
{
    const T narrow = static_cast<T>(value);
    std::memcpy(cells + static_cast<std::size_t>(index) * sizeof(T), &narrow, sizeof(T));
}

qint64 ReadInteger(const std::byte* cells, int width, int index)
{
    switch (width) {
    case 1:
        return Read<qint8>(cells, index);
    case 2:
        return Read<qint16>(cells, index);
    case 4:
        return Read<qint32>(cells, index);
    default:
        return Read<qint64>(cells, index);
    }
}

void WriteInteger(std::byte* cells, int width, int index, qint64 value)
{
    switch (width) {
    case 1:
        return Write<qint8>(cells, index, value);
    case 2:
        return Write<qint16>(cells, index, value);
    case 4:
        return Write<qint32>(cells, index, value);
    default:
        return Write<qint64>(cells, index, value);
    }
}
} // namespace

TResultTable::TResultTable(QVector<TColumn> columns)
    : FColumns(std::move(columns)), FData(FColumns.size()), FTexts(std::make_unique<TTextPool>())
{
}

TResultTable::~TResultTable() = default;

void TResultTable::Reserve(int rows)
{
    const auto chunks = static_cast<std::size_t>((std::max(rows, 0) + ChunkRows - 1) >> ChunkShift);
    for (auto& d : FData)
        d.Chunks.reserve(chunks);
}

qint64 TResultTable::IntegerAt(const TChunk& chunk, int index)
{
    return ReadInteger(chunk.Cells.get(), chunk.Width, index);
}

double TResultTable::RealAt(const TChunk& chunk, int index)
{
    if (!chunk.Reals.empty())
        return chunk.Reals[static_cast<std::size_t>(ReadInteger(chunk.Cells.get(), chunk.Width, index))];
    double value;
    std::memcpy(&value, chunk.Cells.get() + static_cast<std::size_t>(index) * sizeof(double), sizeof(double));
    return value;
}

bool TResultTable::IsNull(int row, int column) const
{
    const TChunk& chunk = ChunkOf(row, column);
    const int index = row & (ChunkRows - 1);
    return chunk.Nulls && (chunk.Nulls[index >> 6] >> (index & 63) & 1) != 0;
}

qint64 TResultTable::Integer(int row, int column) const
{
    switch (FColumns[column].Type) {
    case TFieldType::Integer:
        return IntegerAt(ChunkOf(row, column), row & (ChunkRows - 1));
    case TFieldType::Real:
        return static_cast<qint64>(RealAt(ChunkOf(row, column), row & (ChunkRows - 1)));
    default:
        return Text(row, column).toLongLong();
    }
}

double TResultTable::Real(int row, int column) const
{
    switch (FColumns[column].Type) {
    case TFieldType::Real:
        return RealAt(ChunkOf(row, column), row & (ChunkRows - 1));
    case TFieldType::Integer:
        return static_cast<double>(IntegerAt(ChunkOf(row, column), row & (ChunkRows - 1)));
    default:
        return Text(row, column).toDouble();
    }
}

const QString& TResultTable::Text(int row, int column) const
{
    static const QString empty;
    if (FColumns[column].Type != TFieldType::Text || IsNull(row, column))
        return empty;
    return FTexts->Text(static_cast<int>(IntegerAt(ChunkOf(row, column), row & (ChunkRows - 1))));
}

QByteArray TResultTable::Blob(int row, int column) const
{
    if (FColumns[column].Type != TFieldType::Blob || IsNull(row, column))
        return {};
    return FBlobs[static_cast<std::size_t>(IntegerAt(ChunkOf(row, column), row & (ChunkRows - 1)))];
}

QVariant TResultTable::Value(int row, int column) const
{
    if (IsNull(row, column))
        return {};
    switch (FColumns[column].Type) {
    case TFieldType::Integer:
        return QVariant::fromValue(Integer(row, column));
    case TFieldType::Real:
        return Real(row, column);
    case TFieldType::Text:
        return Text(row, column);
    case TFieldType::Blob:
        return Blob(row, column);
    }
    return {};
}

TResultTable::TChunk& TResultTable::NextCell(int column, int width, int& index)
{
    auto& d = FData[column];
    const int row = d.Count++;
    const auto number = static_cast<std::size_t>(row >> ChunkShift);
    index = row & (ChunkRows - 1);
    if (number == d.Chunks.size()) {
        // Only a column's first chunk starts small and grows: a small result
        // stays small, and a big one fills whole chunks and never copies them.
        TChunk chunk;
        chunk.Capacity = number == 0 ? SmallestCapacity : ChunkRows;
        chunk.Width = width;
        chunk.Cells =
            std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(chunk.Capacity) * width);
        d.Chunks.push_back(std::move(chunk));
    }
    TChunk& chunk = d.Chunks[number];
    if (index == chunk.Capacity || width > chunk.Width)
        Resize(chunk, index,
               index == chunk.Capacity ? std::min(2 * chunk.Capacity, ChunkRows) : chunk.Capacity,
               std::max(width, chunk.Width));
    return chunk;
}

// Grows or widens the first count cells, at most one chunk of them.
void TResultTable::Resize(TChunk& chunk, int count, int capacity, int width)
{
    auto cells = std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(capacity) * width);
    if (width == chunk.Width)
        std::memcpy(cells.get(), chunk.Cells.get(), static_cast<std::size_t>(count) * width);
    else
        for (int i = 0; i < count; ++i)
            WriteInteger(cells.get(), width, i, ReadInteger(chunk.Cells.get(), chunk.Width, i));
    chunk.Cells = std::move(cells);
    chunk.Capacity = capacity;
    chunk.Width = width;
}

void TResultTable::PutInteger(int column, qint64 value, bool null)
{
    int index;
    TChunk& chunk = NextCell(column, WidthOf(value), index);
    WriteInteger(chunk.Cells.get(), chunk.Width, index, value);
    if (null) {
        if (!chunk.Nulls)
            chunk.Nulls = std::make_unique<quint64[]>(NullWords);
        chunk.Nulls[index >> 6] |= quint64(1) << (index & 63);
    }
}

void TResultTable::AppendNull(int column)
{
    if (FColumns[column].Type != TFieldType::Real) {
        PutInteger(column, 0, true);
        return;
    }
    AppendReal(column, 0.0);
    auto& d = FData[column];
    TChunk& chunk = d.Chunks.back();
    const int index = (d.Count - 1) & (ChunkRows - 1);
    if (!chunk.Nulls)
        chunk.Nulls = std::make_unique<quint64[]>(NullWords);
    chunk.Nulls[index >> 6] |= quint64(1) << (index & 63);
}

void TResultTable::AppendInteger(int column, qint64 value)
{
    if (FColumns[column].Type == TFieldType::Real)
        AppendReal(column, static_cast<double>(value));
    else
        PutInteger(column, value, false);
}

int TResultTable::RealNumber(TChunk& chunk, std::vector<quint32>& probe, double value)
{
    if (2 * (chunk.Reals.size() + 1) > probe.size()) {
        if (static_cast<int>(chunk.Reals.size()) == MostDistinctReals)
            return -1;
        std::vector<quint32> table(probe.empty() ? 64 : 2 * probe.size(), 0);
        probe.swap(table);
        for (std::size_t n = 0; n < chunk.Reals.size(); ++n) {
            quint64 bits;
            std::memcpy(&bits, &chunk.Reals[n], sizeof bits);
            std::size_t slot = (bits * 0x9e3779b97f4a7c15u >> 32) & (probe.size() - 1);
            while (probe[slot] != 0)
                slot = (slot + 1) & (probe.size() - 1);
            probe[slot] = static_cast<quint32>(n) + 1;
        }
    }
    // By bits, so -0.0 and every NaN come back as they went in.
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::size_t slot = (bits * 0x9e3779b97f4a7c15u >> 32) & (probe.size() - 1);
    for (; probe[slot] != 0; slot = (slot + 1) & (probe.size() - 1)) {
        quint64 held;
        std::memcpy(&held, &chunk.Reals[probe[slot] - 1], sizeof held);
        if (held == bits)
            return static_cast<int>(probe[slot] - 1);
    }
    probe[slot] = static_cast<quint32>(chunk.Reals.size()) + 1;
    chunk.Reals.push_back(value);
    return static_cast<int>(chunk.Reals.size()) - 1;
}

void TResultTable::AppendReal(int column, double value)
{
    if (FColumns[column].Type != TFieldType::Real) {
        PutInteger(column, static_cast<qint64>(value), false);
        return;
    }
    auto& d = FData[column];
    const bool fresh = (d.Count & (ChunkRows - 1)) == 0;
    if (fresh) {
        // Every chunk starts with distinct values; the one before is complete.
        if (!d.Chunks.empty())
            d.Chunks.back().Reals.shrink_to_fit();
        d.RealSlots.clear();
    }
    int index;
    TChunk& chunk = NextCell(column, fresh ? 1 : d.Chunks.back().Width, index);
    if (fresh || !chunk.Reals.empty()) {
        const int number = RealNumber(chunk, d.RealSlots, value);
        if (number >= 0) {
            if (WidthOf(number) > chunk.Width)
                Resize(chunk, index, chunk.Capacity, WidthOf(number));
            WriteInteger(chunk.Cells.get(), chunk.Width, index, number);
            return;
        }
        // Too many distinct values: the chunk holds plain doubles from here on.
        auto cells = std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(chunk.Capacity) *
                                                                 sizeof(double));
        for (int i = 0; i < index; ++i) {
            const double held = RealAt(chunk, i);
            std::memcpy(cells.get() + static_cast<std::size_t>(i) * sizeof(double), &held, sizeof(double));
        }
        chunk.Cells = std::move(cells);
        chunk.Width = sizeof(double);
        chunk.Reals = {};
        d.RealSlots = {};
    }
    std::memcpy(chunk.Cells.get() + static_cast<std::size_t>(index) * sizeof(double), &value, sizeof(double));
}

void TResultTable::AppendText(int column, const char* utf8, int bytes)
{
    auto& d = FData[column];
    d.LastText =
        FTexts->InternLike({utf8 ? utf8 : "", static_cast<std::size_t>(utf8 ? bytes : 0)}, d.LastText);
    PutInteger(column, d.LastText, false);
}

void TResultTable::AppendBlob(int column, const void* data, int bytes)
{
    PutInteger(column, static_cast<qint64>(FBlobs.size()), false);
    FBlobs.emplace_back(static_cast<const char*>(data), bytes);
}

qint64 TResultTable::HeldBytes() const
{
    qint64 bytes = 0;
    for (const auto& d : FData)
        for (const auto& chunk : d.Chunks)
            bytes += qint64(chunk.Capacity) * chunk.Width + (chunk.Nulls ? NullWords * 8 : 0) +
                     qint64(chunk.Reals.capacity()) * 8;
    for (int id = 0; id < FTexts->Size(); ++id)
        bytes += FTexts->Text(id).size() * 3; // the UTF-16 text and its UTF-8 bytes, about
    for (const auto& blob : FBlobs)
        bytes += blob.size();
    return bytes;
}
