#pragma once

#include "db/ResultTable.h"

#include <memory>
#include <utility>
#include <vector>

// The rows of a result grouped by one integer column: ascending by key, rows
// of equal key in the result's own order, NULL keys left out. Built once per
// load so that finding the rows of one key is a binary search; a result
// already in key order costs nothing more, and dense keys (hand numbers) cost
// one int per row.
class TKeyIndex
{
public:
    TKeyIndex() = default;
    TKeyIndex(std::shared_ptr<const TResultTable> table, int column);

    // The run [first, last) of Order() whose rows hold key.
    std::pair<int, int> Range(qint64 key) const;
    // Row numbers in key order; null when the result already is in key order
    // without NULLs, so that positions are row numbers.
    const std::shared_ptr<const std::vector<int>>& Order() const { return FOrder; }
    int Size() const { return FSize; }

private:
    qint64 KeyAt(int position) const;

    std::shared_ptr<const TResultTable> FTable;
    int FColumn = 0;
    std::shared_ptr<const std::vector<int>> FOrder;
    int FSize = 0;
};
