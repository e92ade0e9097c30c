#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/base/user_interface.h"
#include "core/elements/element_table.h"

namespace qor::gui {

// The rows an Elements window shows, as a file: the columns on screen with the headings the
// scan's files spell ("DESIGNATION", "NAME"), then one row per element in the order shown.
struct VisibleRows {
    const elements::ElementTable& table;
    const std::vector<elements::Column>& columns;
    std::vector<elements::RowIndex> rows;
};

// Both files are written as the scan writes its results: into a temporary file beside `path`,
// renamed over it when complete, after the overwrite question when something stands there.
// False when the person keeps the existing file; throws QorError when the file cannot be
// written (nothing is left under its name then).
//
// CSV: a line per row ended by CR LF, values quoted and guarded against formulas as the scan's
// CSV files are. The values keep the exports' bytes when every export is read in one encoding,
// otherwise each is written in UTF-8 as its export's decision reads it.
bool writeVisibleRowsCsv(const VisibleRows& visible, const std::string& path, UserInterface& ui);
// Workbook (.xlsx): one sheet, the headings in row 1 (kept in view, with filter buttons), plain
// decimals as numbers and everything else as text. More rows than a sheet holds are refused
// before anything is written.
bool writeVisibleRowsWorkbook(const VisibleRows& visible, const std::string& path,
                              UserInterface& ui, std::time_t created);

}  // namespace qor::gui
