#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qor::platform {

// Reads a finished workbook file at `path` (named `shownAs` in messages) back and checks that sheet
// i (from 1) ends with its row `lastRows[i - 1]` (0: no rows) and is well-formed to its end. The
// workbook library writes sheet data through temporary files without checking those writes, so a
// full disk can give it a short sheet that it packs without a word. Throws QorError when a
// sheet is short or the file cannot be read.
void checkWorkbookRows(const std::string& path, const std::string& shownAs,
                       const std::vector<std::int64_t>& lastRows);

// The content of the part `name` ("xl/workbook.xml") of the workbook file at `path`. Throws
// QorError.
std::string readWorkbookPart(const std::string& path, const std::string& name);

}  // namespace qor::platform
