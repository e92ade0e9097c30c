#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/scan/element_types.h"
#include "core/scan/type_options.h"

namespace qor::scan {

// The columns of one element type's output, built from its parameter selection.
struct ColumnData {
    // Entry 0 is "CHANNEL" ("ITEM NUMBER" for a type without channels; "CABINET", "MODULE",
    // "CHANNEL" in entries 0 to 2 for a labelled channel type), then the selected parameter
    // names in box order; one slot per leading entry and per parameter box, the slots left
    // over empty.
    std::vector<std::string> columns{"CHANNEL"};
    // Each non-empty entry followed by a comma, "CHANNEL" for every type: "CHANNEL,NAME,DESCR,".
    std::string headerLine = "CHANNEL,";
    // Leading entries plus selected parameters.
    int columnCount = 1;
};

using ColumnDataSet = std::array<ColumnData, kElementTypeCount>;

// Builds the column data of one type; `labelled` is true for a channel type while the
// cabinet-module labels are applied.
ColumnData buildColumnData(const ElementTypeInfo& type, const TypeOptions& options, bool labelled);

// Every entry with all its commas removed.
std::vector<std::string> withoutCommas(const std::vector<std::string>& list);

}  // namespace qor::scan
