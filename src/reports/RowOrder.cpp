#include "reports/RowOrder.h"

#include "db/ResultTable.h"

#include <algorithm>
#include <numeric>

namespace {
// -1, 0 or 1 for two non-NULL cells of the column.
int CompareValues(const TResultTable& table, int column, int a, int b, const QCollator& collator)
{
    switch (table.Columns()[column].Type) {
    case TFieldType::Integer: {
        const qint64 x = table.Integer(a, column), y = table.Integer(b, column);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case TFieldType::Real: {
        const double x = table.Real(a, column), y = table.Real(b, column);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case TFieldType::Text:
        return collator.compare(table.Text(a, column), table.Text(b, column));
    case TFieldType::Blob: {
        const int c = table.Blob(a, column).compare(table.Blob(b, column));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    }
    return 0;
}
} // namespace

std::vector<int> SortedRows(const TResultTable& table, int column, bool descending, const QCollator& collator)
{
    std::vector<int> rows(table.RowCount());
    std::iota(rows.begin(), rows.end(), 0);
    const auto compare = [&](int a, int b) {
        const bool nullA = table.IsNull(a, column), nullB = table.IsNull(b, column);
        if (nullA || nullB)
            return nullA == nullB ? 0 : nullA ? -1 : 1;
        return CompareValues(table, column, a, b, collator);
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return descending ? compare(b, a) < 0 : compare(a, b) < 0; });
    return rows;
}
