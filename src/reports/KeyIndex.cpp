#include "reports/KeyIndex.h"

#include <algorithm>
#include <limits>

TKeyIndex::TKeyIndex(std::shared_ptr<const TResultTable> table, int column)
    : FTable(std::move(table)), FColumn(column)
{
    const int rows = FTable->RowCount();
    bool ordered = true;
    int keys = 0;
    qint64 low = std::numeric_limits<qint64>::max(), high = std::numeric_limits<qint64>::min();
    for (int r = 0; r < rows; ++r) {
        if (FTable->IsNull(r, column)) {
            ordered = false;
            continue;
        }
        const qint64 key = FTable->Integer(r, column);
        ordered = ordered && key >= high;
        low = std::min(low, key);
        high = std::max(high, key);
        ++keys;
    }
    if (ordered) {
        FSize = rows;
        return;
    }
    auto order = std::make_shared<std::vector<int>>(static_cast<std::size_t>(keys));
    FSize = keys;
    if (keys > 0 && static_cast<quint64>(high) - static_cast<quint64>(low) < 2 * static_cast<quint64>(keys)) {
        // Dense keys (hand numbers): a counting sort, stable and in linear
        // time, with a count per key beside the order itself.
        std::vector<int> starts(static_cast<std::size_t>(high - low) + 2, 0);
        for (int r = 0; r < rows; ++r)
            if (!FTable->IsNull(r, column))
                ++starts[static_cast<std::size_t>(FTable->Integer(r, column) - low) + 1];
        for (std::size_t k = 1; k < starts.size(); ++k)
            starts[k] += starts[k - 1];
        for (int r = 0; r < rows; ++r)
            if (!FTable->IsNull(r, column))
                (*order)[static_cast<std::size_t>(
                    starts[static_cast<std::size_t>(FTable->Integer(r, column) - low)]++)] = r;
    } else if (static_cast<quint64>(high) - static_cast<quint64>(low) <=
               std::numeric_limits<quint32>::max()) {
        // Sparse keys within 32 bits of each other: key and row in one word,
        // so that equal keys keep row order and the sort reads one array.
        std::vector<quint64> keyed;
        keyed.reserve(static_cast<std::size_t>(keys));
        for (int r = 0; r < rows; ++r)
            if (!FTable->IsNull(r, column))
                keyed.push_back((static_cast<quint64>(FTable->Integer(r, column)) - static_cast<quint64>(low))
                                    << 32 |
                                static_cast<quint32>(r));
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t k = 0; k < keyed.size(); ++k)
            (*order)[k] = static_cast<int>(keyed[k] & 0xffffffffu);
    } else {
        std::vector<std::pair<qint64, int>> keyed;
        keyed.reserve(static_cast<std::size_t>(keys));
        for (int r = 0; r < rows; ++r)
            if (!FTable->IsNull(r, column))
                keyed.emplace_back(FTable->Integer(r, column), r);
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t k = 0; k < keyed.size(); ++k)
            (*order)[k] = keyed[k].second;
    }
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
