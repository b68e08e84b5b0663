#pragma once

#include <QCollator>
#include <vector>

class TResultTable;

// The table's rows ordered by one column: numbers as numbers, text by the
// collator (the user's locale), blobs byte by byte, NULL before any value.
// Rows that compare equal keep the query's order, in either direction.
std::vector<int> SortedRows(const TResultTable& table, int column, bool descending,
                            const QCollator& collator);
