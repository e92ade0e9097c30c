#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/output/xlsx_sheet_check.h"

namespace qor::output {

// Reads a finished workbook file at `path` back, in pieces, and checks it whole: every part
// unpacks and matches its checksum, every part is XML that ends with the closing tag of its
// root element, and sheet i (from 1) holds exactly `sheets[i - 1]` (see SheetCheck). Throws
// QorError starting with `shownAs` ("The AI workbook '/r/AI.xlsx'") when it does not.
void checkWorkbook(const std::string& path, const std::string& shownAs,
                   const std::vector<SheetContent>& sheets);

// The sheet number of a part named "xl/worksheets/sheetN.xml"; 0 for any other part.
std::size_t sheetPartNumber(std::string_view name);

// The content of the part `name` ("xl/workbook.xml") of the workbook file at `path`. Throws
// QorError.
std::string readWorkbookPart(const std::string& path, const std::string& name);

}  // namespace qor::output
