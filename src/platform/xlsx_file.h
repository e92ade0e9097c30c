#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qor::platform {

class Workbook;

// The path SaveAs writes for `fileName`: ".xlsx" appended unless the name has it. Throws
// SpreadsheetError for a file name the spreadsheet refuses.
std::string xlsxFilePath(std::string_view fileName);

// Writes the workbook's sheets in tab order to `path` as an .xlsx file; `activeIndex`
// (from 0) is the sheet shown on opening. The file appears complete or not at all: it is
// built beside the target and renamed over it. Throws SpreadsheetError.
void writeXlsxFile(const Workbook& book, std::size_t activeIndex, const std::string& path);

}  // namespace qor::platform
