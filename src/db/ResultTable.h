#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
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

// The rows of one query result, stored column by column with a fixed type per
// column. Text values are interned: a name that repeats over millions of rows
// is held once.
class TResultTable
{
public:
    explicit TResultTable(QVector<TColumn> columns);

    const QVector<TColumn>& Columns() const { return FColumns; }
    int ColumnCount() const { return FColumns.size(); }
    int RowCount() const { return FRowCount; }

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
    void Reserve(int rows);

private:
    struct TColumnData
    {
        std::vector<qint64> Integers; // Integer columns; also text/blob indexes
        std::vector<double> Reals;    // Real columns
        std::vector<bool> Nulls;
    };
    int InternText(const char* utf8, int bytes);

    QVector<TColumn> FColumns;
    std::vector<TColumnData> FData;
    QStringList FTexts; // interned texts
    QVector<QByteArray> FBlobs;
    std::unique_ptr<struct TTextIndex> FTextIndex;
    int FRowCount = 0;

public:
    ~TResultTable();
};
