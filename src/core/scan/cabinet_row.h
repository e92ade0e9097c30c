#pragma once

#include <string>
#include <vector>

namespace qor::scan {

// One row of the cabinet-module table: the cabinet a module skeleton sits in.
struct CabinetRow {
    std::string cabinet;  // "Cabinet Name"
    std::string module;   // "Module Skeleton Name"
};

// The label lists the channel labelling reads: row i of the table at index i - 1. They are
// rebuilt from the table when it is loaded, saved or imported, not on every edit.
using CabinetLabels = std::vector<CabinetRow>;

}  // namespace qor::scan
