#pragma once

#include <string>
#include <string_view>

#include "core/compare/change_list.h"
#include "core/output/csv_output.h"
#include "core/platform/result_file.h"

namespace qor::compare {

inline constexpr std::string_view kChangesCsvHeader = "TYPE,DESIGNATION,CHANGE,PARAMETER,OLD,NEW";

// One change as a CSV row ended by CR LF, quoted and guarded against formulas as the scan's
// CSV files are.
void appendChangeRow(std::string& out, const ChangeView& change,
                     output::CsvValues values = output::CsvValues::Guarded);

// The changes CSV file: the header line, then a row per change, CR LF after each.
void writeChangesCsv(const ChangeList& changes, platform::ResultFile& file,
                     output::CsvValues values = output::CsvValues::Guarded);

}  // namespace qor::compare
