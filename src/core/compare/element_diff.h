#pragma once

#include <optional>
#include <string_view>
#include <utility>

#include "core/compare/change_list.h"
#include "core/compare/compare_selection.h"
#include "core/compare/element_records.h"

namespace qor::compare {

// The first of the other lines that differ, position by position, as (old line, new line);
// where one element has fewer lines, its side of the first position it lacks is empty.
// Nothing when the lines are the same. Lines are each followed by LF.
std::optional<std::pair<std::string_view, std::string_view>> firstDifferentLines(
    std::string_view oldLines, std::string_view newLines);

// Adds a `changed` row for each compared parameter box whose value differs, in box order, and
// one "(other lines)" row when the other lines are compared and differ. Tells whether it added
// any.
bool addElementChanges(scan::ElementType type, const TypeSelection& selection,
                       const ElementRecord& oldElement, const ElementRecord& newElement,
                       ChangeList& changes);

// The element's NAME value; empty for a type without a NAME box.
std::string_view nameOf(scan::ElementType type, const ElementRecord& element);

}  // namespace qor::compare
