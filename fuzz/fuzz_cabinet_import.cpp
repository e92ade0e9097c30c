// Fuzz target: a cabinet-module import file's text. Each line gives at most one row, lines come
// in file order, values are upper-cased, a taken row has both values, and rows written back out
// as quoted pairs import as the same rows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/options/cabinet_import.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

bool holdsLowerCase(std::string_view text) {
    return text.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string_view::npos;
}

// The rows as quoted pairs, one per line; empty when a value holds a quote, which such a
// field cannot carry.
std::string quotedPairs(const scan::CabinetLabels& rows) {
    std::string text;
    for (const scan::CabinetRow& row : rows) {
        if (row.cabinet.find('"') != std::string::npos ||
            row.module.find('"') != std::string::npos) {
            return {};
        }
        text += '"' + row.cabinet + "\",\"" + row.module + "\"\r\n";
    }
    return text;
}

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const options::CabinetImport import = options::parseCabinetImport(text);

    const scan::CabinetLabels read = import.rows();
    fuzz::require(read.size() <= import.lines.size(), "at most one row per line");
    std::size_t lastLine = 0;
    for (const options::ImportLine& line : import.lines) {
        fuzz::require(line.line > lastLine, "lines come in file order");
        lastLine = line.line;
        fuzz::require(!line.text.empty(), "a line holds something");
        fuzz::require(
            !fuzz::holdsLowerCase(line.row.cabinet) && !fuzz::holdsLowerCase(line.row.module),
            "values are upper-cased");
    }
    for (const scan::CabinetRow& row : read) {
        fuzz::require(!row.cabinet.empty() && !row.module.empty(), "a row has both values");
    }
    if (import.firstMalformed() == nullptr) {
        fuzz::require(import.rows({.takeSemicolonPairs = true}).size() == read.size(),
                      "a file without malformed lines holds no ';' pair");
    }

    // The rows written back out as quoted pairs, one per line, read as the same rows.
    const std::string written = fuzz::quotedPairs(read);
    if (!written.empty()) {
        const scan::CabinetLabels again =
            options::parseCabinetImport(written).rows({.skipHeading = false});
        fuzz::require(again.size() == read.size(), "written pairs read back as many rows");
        for (std::size_t i = 0; i < read.size(); ++i) {
            fuzz::require(again[i].cabinet == read[i].cabinet && again[i].module == read[i].module,
                          "written pairs read back unchanged");
        }
    }
    return 0;
}
