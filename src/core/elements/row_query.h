#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "core/elements/element_table.h"
#include "core/elements/wildcard_pattern.h"

namespace qor::elements {

// The rows of `rows` (kept in their order) that show `pattern` in any of `columns`: pass all
// the columns on screen for "any column", or a single one. An empty pattern keeps every row.
std::vector<RowIndex> matchRows(const ElementTable& table, std::span<const RowIndex> rows,
                                const WildcardPattern& pattern, std::span<const Column> columns);

// Natural order of designations: digit runs compare as numbers, the rest without regard to
// ASCII case ("AI800_1.2" before "AI800_1.10"). Negative, zero or positive.
int compareNatural(std::string_view a, std::string_view b);

// A key whose byte order is compareNatural's order up to ties (texts that differ only in case
// or leading zeros): ASCII letters folded, each run of digits as "0", its significant digits'
// count in two bytes, then those digits.
std::string naturalKey(std::string_view text);

// Order of parameter values: values that read as decimal numbers ("12", "-0.5", "1E3",
// spaces around allowed) compare as numbers and come first; other text follows, compared
// naturally; empty values (or only spaces) come last. Equal numbers fall back on their text.
int compareValues(std::string_view a, std::string_view b);

enum class SortOrder { Ascending, Descending };

// Sorts `rows` stably by `column`: designations naturally, parameters, cabinet and module by
// compareValues, node numbers by compareValues, types in type order, files by path.
void sortRows(const ElementTable& table, std::vector<RowIndex>& rows, const Column& column,
              SortOrder order = SortOrder::Ascending);

}  // namespace qor::elements
