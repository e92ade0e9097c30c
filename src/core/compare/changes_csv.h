#pragma once

#include <string>
#include <string_view>

#include "core/base/text_encoding.h"
#include "core/compare/change_list.h"
#include "core/output/csv_output.h"
#include "core/platform/result_file.h"

namespace qor::compare {

inline constexpr std::string_view kChangesCsvHeader = "TYPE,DESIGNATION,CHANGE,PARAMETER,OLD,NEW";

// One change as a CSV row ended by CR LF, quoted and guarded against formulas as the scan's
// CSV files are.
void appendChangeRow(std::string& out, const ChangeView& change,
                     output::CsvValues values = output::CsvValues::Guarded);

// The changes CSV file: the header line, then a row per change, CR LF after each. Values keep
// their bytes when both exports are read in one encoding (as the scan's CSV files do);
// otherwise every value is written in UTF-8, read as its export's encoding reads it.
void writeChangesCsv(const ChangeList& changes, platform::ResultFile& file,
                     output::CsvValues values = output::CsvValues::Guarded,
                     const ExportEncoding& oldEncoding = {},
                     const ExportEncoding& newEncoding = {});

}  // namespace qor::compare
