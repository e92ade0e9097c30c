#pragma once

#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/checks/run_checks.h"
#include "core/output/csv_output.h"

namespace qor::checks {

// The columns of findings in CSV files and workbooks, as qorscan --check --format csv heads them.
inline constexpr std::string_view kFindingsCsvHeader =
    "FILE,LINE,NODE,TYPE,DESIGNATION,ID,SEVERITY,MESSAGE";

// One finding as a CSV row (no line end): its fields quoted and guarded as a scan's CSV files.
void appendFindingCsv(std::string& out, const FindingRow& row,
                      output::CsvValues values = output::CsvValues::Guarded);

// Findings written as the scan writes its results: into a temporary file beside `path`, renamed
// over it when complete, after the overwrite question when something stands there. False when
// the person keeps the existing file; throws QorError when the file cannot be written (nothing
// is left under its name then). Messages in English, texts in UTF-8, the paths as bytes.
//
// CSV: the header, then a line per finding, ended by CR LF.
bool writeFindingsCsv(std::span<const Finding> findings, const CheckInput& input,
                      const std::string& path, UserInterface& ui);
// Workbook (.xlsx): one sheet "Findings", the header in row 1 (kept in view, with filter
// buttons), line numbers as numbers. More rows than a sheet holds are refused before anything
// is written.
bool writeFindingsWorkbook(std::span<const Finding> findings, const CheckInput& input,
                           const std::string& path, UserInterface& ui, std::time_t created);

}  // namespace qor::checks
