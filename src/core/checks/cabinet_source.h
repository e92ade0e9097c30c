#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/options/cabinet_table.h"
#include "core/scan/cabinet_row.h"

namespace qor::checks {

// The cabinet-module table the checks hold the elements against, and where each of its rows
// came from: the lines of an import file (qorscan --cabinets), or the rows of the stored table.
struct CabinetSource {
    std::string path;  // the import file, or the settings file that holds the stored table
    bool stored = false;
    std::vector<scan::CabinetRow> rows;  // the rows the labelling reads, in table order
    std::vector<std::size_t> lines;      // each row's line in the import file; 0 when stored

    // "line 12" of an import file, or "row 3" of the stored table, for messages.
    std::string placeOf(std::size_t row, bool english) const;
};

// The rows an import file gives, as a scan takes them, each with its line.
CabinetSource cabinetSourceOf(const options::CabinetFile& file, std::string path);
// The stored table's rows (row i at line 0).
CabinetSource cabinetSourceOf(std::vector<scan::CabinetRow> rows, std::string settingsPath);

}  // namespace qor::checks
