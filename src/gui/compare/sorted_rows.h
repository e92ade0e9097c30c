#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/compare/change_list.h"

namespace qor::gui {

// The bytes a change sorts by in one column.
using SortKeyOf = std::function<std::string_view(const compare::ChangeView& change)>;

// Every row of `changes`, ordered by the keys (compared as std::string_view compares them),
// descending when asked; rows of equal keys stay in row order. Reads the list once, and once
// more for the keys longer than 8 bytes whose first 8 bytes another key shares; only those
// stay in memory while it sorts, besides 16 bytes a row. Throws QorError when the list cannot
// be read.
std::vector<std::uint32_t> sortedRows(const compare::ChangeList& changes, const SortKeyOf& keyOf,
                                      bool descending);

}  // namespace qor::gui
