#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qor::output {

struct CloseUnzip {
    void operator()(void* zip) const;
};
// A zip file open for reading (minizip's unzFile).
using Unzip = std::unique_ptr<void, CloseUnzip>;

// The zip file at `path`, a UTF-8 path on every system; null when it cannot be opened as one.
Unzip openUnzip(const std::string& path);

// Rows of a sheet written beside the workbook library (see SheetRows): a piece of a deflate
// stream that does not end it.
struct SheetSplice {
    std::FILE* file;  // the compressed rows from its start
    std::uint64_t compressedSize;
    std::uint64_t size;  // unpacked
    std::uint32_t crc;
};

// Writes the workbook file `to` from the library's file `from`: its parts in their order, copied
// as they are packed, but for each sheet i (from 1) that has a splice at `splices[i - 1]`, whose
// rows go in just before its "</sheetData>". Throws QorError.
void spliceWorkbook(const std::string& from, const std::string& to,
                    const std::vector<std::optional<SheetSplice>>& splices);

}  // namespace qor::output
