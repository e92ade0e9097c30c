#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/elements/element_table.h"
#include "core/elements/value_order.h"
#include "core/elements/wildcard_pattern.h"

namespace qor::elements {

// The rows of `rows` (kept in their order) that show `pattern` in any of `columns`: pass all
// the columns on screen for "any column", or a single one. An empty pattern keeps every row.
std::vector<RowIndex> matchRows(const ElementTable& table, std::span<const RowIndex> rows,
                                const WildcardPattern& pattern, std::span<const Column> columns);

enum class SortOrder { Ascending, Descending };

// Where the rows stand in the order of one column, as ranks: a lower rank sorts first, rows
// whose cells compare equal share one. Designations are ordered naturally; parameters, cabinet,
// module and node numbers by compareValues; types in type order; files by path. Cells of
// nothing but spaces (or a column the row's type lacks) rank after every value.
struct ColumnRanks {
    std::vector<std::uint32_t> ofRow;  // by row of the table; rows not ranked hold 0
    std::uint32_t values = 0;          // ranks below this are values, from it on empty cells
    std::uint32_t count = 0;           // one past the highest rank
};

// Thrown by work that was asked to stop.
class QueryStopped : public std::runtime_error {
public:
    QueryStopped() : std::runtime_error("stopped") {}
};

// Ranks `rows` of the table by `column`. Throws QueryStopped once `stop` is set.
ColumnRanks rankRows(const ElementTable& table, std::span<const RowIndex> rows,
                     const Column& column, const std::atomic<bool>* stop = nullptr);

// Sorts `rows` (ranked in `ranks`) stably by their ranks, in linear time. Descending reverses
// the values; empty cells stay last, in the same order either way.
void sortByRanks(std::vector<RowIndex>& rows, const ColumnRanks& ranks, SortOrder order);

// Sorts `rows` stably by `column` (rankRows, then sortByRanks).
void sortRows(const ElementTable& table, std::vector<RowIndex>& rows, const Column& column,
              SortOrder order = SortOrder::Ascending);

}  // namespace qor::elements
