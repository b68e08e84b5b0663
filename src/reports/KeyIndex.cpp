#include "reports/KeyIndex.h"

#include <algorithm>

TKeyIndex::TKeyIndex(std::shared_ptr<const TResultTable> table, int column)
    : FTable(std::move(table)), FColumn(column)
{
    const int rows = FTable->RowCount();
    bool ordered = true;
    for (int r = 0; r < rows && ordered; ++r)
        ordered = !FTable->IsNull(r, column) &&
                  (r == 0 || FTable->Integer(r - 1, column) <= FTable->Integer(r, column));
    if (ordered) {
        FSize = rows;
        return;
    }
    // Key and row together: sorting the pairs keeps equal keys in row order
    // and reads the keys from one contiguous array.
    std::vector<std::pair<qint64, int>> keyed;
    keyed.reserve(rows);
    for (int r = 0; r < rows; ++r)
        if (!FTable->IsNull(r, column))
            keyed.emplace_back(FTable->Integer(r, column), r);
    std::sort(keyed.begin(), keyed.end());
    auto order = std::make_shared<std::vector<int>>();
    order->reserve(keyed.size());
    for (const auto& entry : keyed)
        order->push_back(entry.second);
    FSize = static_cast<int>(order->size());
    FOrder = std::move(order);
}

qint64 TKeyIndex::KeyAt(int position) const
{
    return FTable->Integer(FOrder ? (*FOrder)[position] : position, FColumn);
}

std::pair<int, int> TKeyIndex::Range(qint64 key) const
{
    int low = 0;
    int high = FSize;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (KeyAt(middle) < key)
            low = middle + 1;
        else
            high = middle;
    }
    int end = low;
    high = FSize;
    while (end < high) {
        const int middle = end + (high - end) / 2;
        if (KeyAt(middle) <= key)
            end = middle + 1;
        else
            high = middle;
    }
    return {low, end};
}
