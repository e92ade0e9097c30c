#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/result_file.h"

namespace qor::platform {

class Workbook;

// The path SaveAs writes for `fileName`: ".xlsx" appended unless the name has it. Throws
// SpreadsheetError for a file name the spreadsheet refuses.
std::string xlsxFilePath(std::string_view fileName);

// Writes the workbook's sheets in tab order to `path` as an .xlsx file; `activeIndex`
// (from 0) is the sheet shown on opening, `created` its creation time. The file appears
// complete or not at all: it is built in a private folder beside the target and moved into
// place. Throws SpreadsheetError.
void writeXlsxFile(const Workbook& book, std::size_t activeIndex, const std::string& path,
                   Placement placement, std::time_t created);

}  // namespace qor::platform
