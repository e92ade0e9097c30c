// Fuzz target: the read-back check of written workbooks. An input starting "PK" is a workbook
// file: checking it throws nothing but QorError, and a workbook that passes holds a sheet that
// passes when checked whole. Any other input is a sheet's XML, in pieces of the first byte's
// size: the verdict does not depend on where the pieces are cut.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "core/base/qor_error.h"
#include "core/output/xlsx_check.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

// What the seed workbook three_rows.xlsx holds: rows 1 to 3 in 198 bytes.
output::SheetContent written() {
    return output::SheetContent{"Sheet1", {{1, 3}}, 198};
}

std::optional<std::string> checkWhole(std::string_view sheet) {
    const output::SheetContent expected = written();
    output::SheetCheck check(expected);
    check.add(sheet);
    return check.finish();
}

void checkFile(std::string_view bytes) {
    const std::string path = "/tmp/fuzz_workbook_check." + std::to_string(getpid()) + ".xlsx";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bool passed = false;
    try {
        output::checkWorkbook(path, "The workbook", {written()});
        passed = true;
    } catch (const QorError&) {
    }
    if (passed) {
        require(!checkWhole(output::readWorkbookPart(path, "xl/worksheets/sheet1.xml")),
                "a sheet that passes unpacked in pieces passes whole");
    }
    unlink(path.c_str());
}

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.starts_with("PK")) {
        fuzz::checkFile(input);
        return 0;
    }
    if (input.empty()) {
        return 0;
    }
    const std::size_t piece = static_cast<unsigned char>(input[0]) % 64 + 1;
    const std::string_view sheet = input.substr(1);
    const output::SheetContent expected = fuzz::written();
    output::SheetCheck check(expected);
    for (std::size_t at = 0; at < sheet.size(); at += piece) {
        check.add(sheet.substr(at, piece));
    }
    fuzz::require(check.finish() == fuzz::checkWhole(sheet),
                  "the verdict does not depend on the pieces");
    return 0;
}
