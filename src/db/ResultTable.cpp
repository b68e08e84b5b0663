#include "db/ResultTable.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace {
struct THash
{
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
} // namespace

struct TTextIndex
{
    std::unordered_map<std::string, int, THash, std::equal_to<>> Index;
};

TResultTable::TResultTable(QVector<TColumn> columns)
    : FColumns(std::move(columns)), FData(FColumns.size()), FTextIndex(std::make_unique<TTextIndex>())
{
}

TResultTable::~TResultTable() = default;

void TResultTable::Reserve(int rows)
{
    for (int c = 0; c < FColumns.size(); ++c) {
        auto& d = FData[c];
        d.Nulls.reserve(rows);
        if (FColumns[c].Type == TFieldType::Real)
            d.Reals.reserve(rows);
        else
            d.Integers.reserve(rows);
    }
}

bool TResultTable::IsNull(int row, int column) const
{
    return FData[column].Nulls[row];
}

qint64 TResultTable::Integer(int row, int column) const
{
    const auto& d = FData[column];
    switch (FColumns[column].Type) {
    case TFieldType::Integer:
        return d.Integers[row];
    case TFieldType::Real:
        return static_cast<qint64>(d.Reals[row]);
    default:
        return Text(row, column).toLongLong();
    }
}

double TResultTable::Real(int row, int column) const
{
    const auto& d = FData[column];
    switch (FColumns[column].Type) {
    case TFieldType::Real:
        return d.Reals[row];
    case TFieldType::Integer:
        return static_cast<double>(d.Integers[row]);
    default:
        return Text(row, column).toDouble();
    }
}

const QString& TResultTable::Text(int row, int column) const
{
    static const QString empty;
    const auto& d = FData[column];
    if (FColumns[column].Type != TFieldType::Text || d.Nulls[row])
        return empty;
    return FTexts[static_cast<int>(d.Integers[row])];
}

QByteArray TResultTable::Blob(int row, int column) const
{
    const auto& d = FData[column];
    if (FColumns[column].Type != TFieldType::Blob || d.Nulls[row])
        return {};
    return FBlobs[static_cast<int>(d.Integers[row])];
}

QVariant TResultTable::Value(int row, int column) const
{
    if (IsNull(row, column))
        return {};
    switch (FColumns[column].Type) {
    case TFieldType::Integer:
        return QVariant::fromValue(FData[column].Integers[row]);
    case TFieldType::Real:
        return FData[column].Reals[row];
    case TFieldType::Text:
        return Text(row, column);
    case TFieldType::Blob:
        return Blob(row, column);
    }
    return {};
}

void TResultTable::AppendNull(int column)
{
    auto& d = FData[column];
    d.Nulls.push_back(true);
    if (FColumns[column].Type == TFieldType::Real)
        d.Reals.push_back(0.0);
    else
        d.Integers.push_back(0);
}

void TResultTable::AppendInteger(int column, qint64 value)
{
    auto& d = FData[column];
    d.Nulls.push_back(false);
    d.Integers.push_back(value);
}

void TResultTable::AppendReal(int column, double value)
{
    auto& d = FData[column];
    d.Nulls.push_back(false);
    d.Reals.push_back(value);
}

int TResultTable::InternText(const char* utf8, int bytes)
{
    std::string_view key(utf8 ? utf8 : "", static_cast<size_t>(bytes));
    auto it = FTextIndex->Index.find(key);
    if (it != FTextIndex->Index.end())
        return it->second;
    const int index = FTexts.size();
    FTexts.append(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    FTextIndex->Index.emplace(std::string(key), index);
    return index;
}

void TResultTable::AppendText(int column, const char* utf8, int bytes)
{
    auto& d = FData[column];
    d.Nulls.push_back(false);
    d.Integers.push_back(InternText(utf8, bytes));
}

void TResultTable::AppendBlob(int column, const void* data, int bytes)
{
    auto& d = FData[column];
    d.Nulls.push_back(false);
    d.Integers.push_back(FBlobs.size());
    FBlobs.append(QByteArray(static_cast<const char*>(data), bytes));
}
