#include "reports/DataView.h"
#include "reports/KeyIndex.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>

namespace {
// One integer column "Key"; nullopt is NULL.
std::shared_ptr<TResultTable> KeyTable(const std::vector<std::optional<qint64>>& keys)
{
    auto table = std::make_shared<TResultTable>(QVector<TColumn>{{"Key", TFieldType::Integer}});
    for (const auto& key : keys) {
        key ? table->AppendInteger(0, *key) : table->AppendNull(0);
        table->EndRow();
    }
    return table;
}
} // namespace

TEST(DataViewTest, NavigationPositionAndAfterScroll)
{
    enum TOp
    {
        First,
        Next,
        MoveTo
    };
    struct TStep
    {
        TOp Op;
        int Row, Position;
        bool Eof;
        int Scrolls; // AfterScroll calls so far
    };
    const std::vector<std::pair<int, std::vector<TStep>>> cases = {
        {0, {{First, 0, 0, true, 1}, {Next, 0, 0, true, 1}, {MoveTo, 0, 0, true, 1}}},
        {1, {{Next, 0, 1, true, 0}, {First, 0, 1, false, 1}, {MoveTo, 0, 1, false, 1}}},
        {3,
         {{Next, 0, 2, false, 1},
          {Next, 0, 3, false, 2},
          {Next, 0, 3, true, 2},
          {First, 0, 1, false, 3},
          {MoveTo, 2, 3, false, 4},
          {MoveTo, 2, 3, false, 4},
          {MoveTo, 7, 3, false, 4},
          {MoveTo, -1, 3, false, 4}}},
    };
    for (const auto& [rows, steps] : cases) {
        SCOPED_TRACE(rows);
        TDataView view;
        int scrolls = 0;
        view.SetAfterScroll([&] { ++scrolls; });
        view.Open(KeyTable(std::vector<std::optional<qint64>>(rows, 5)));
        EXPECT_EQ(scrolls, 0) << "opening leaves the position to the caller";
        EXPECT_EQ(view.Position(), rows > 0 ? 1 : 0);
        for (const auto& step : steps) {
            step.Op == First ? view.First() : step.Op == Next ? view.Next() : view.MoveTo(step.Row);
            EXPECT_EQ(view.Position(), step.Position);
            EXPECT_EQ(view.Eof(), step.Eof);
            EXPECT_EQ(scrolls, step.Scrolls);
        }
        view.Close();
        EXPECT_EQ(view.ColumnCount(), 0);
        EXPECT_EQ(view.Position(), 0);
    }
}

TEST(DataViewTest, KeyIndexGivesTheRowsOfOneKeyInTheirOwnOrder)
{
    struct TCase
    {
        std::vector<std::optional<qint64>> Keys;
        qint64 Key;
        std::vector<int> Rows; // table rows expected, in order
    };
    const std::vector<TCase> cases = {
        {{1, 2, 2, 2, 3}, 2, {1, 2, 3}},
        {{1, 2, 3, 3}, 3, {2, 3}},
        {{1, 2, 3}, 1, {0}},
        {{1, 3}, 2, {}},
        {{5, 6}, 9, {}},
        {{7, 3, 7, 1, 7, 3}, 7, {0, 2, 4}},
        {{7, 3, 7, 1, 7, 3}, 3, {1, 5}},
        {{0, std::nullopt, 0}, 0, {0, 2}},
        {{-5, 4, -5}, -5, {0, 2}},
        {{}, 0, {}},
        // Keys far apart (sorted by key and row), and apart by more than 32 bits.
        {{900, std::nullopt, 10, 900, 10}, 900, {0, 3}},
        {{4000000000LL, 1, 4000000000LL, 2}, 4000000000LL, {0, 2}},
        {{INT64_MAX, INT64_MIN, INT64_MAX, std::nullopt, INT64_MIN}, INT64_MIN, {1, 4}},
        {{INT64_MAX, INT64_MIN, INT64_MAX}, INT64_MAX, {0, 2}},
    };
    for (const auto& c : cases) {
        auto table = KeyTable(c.Keys);
        const TKeyIndex index(table, 0);
        TDataView view;
        view.Open(table);
        const auto [first, last] = index.Range(c.Key);
        view.SelectRows(index.Order(), first, last);
        std::vector<int> rows;
        for (int r = 0; r < view.RowCount(); ++r)
            rows.push_back(view.TableRow(r));
        EXPECT_EQ(rows, c.Rows) << c.Keys.size() << " keys, key " << c.Key;
        EXPECT_EQ(view.Position(), c.Rows.empty() ? 0 : 1);
    }
}
