// Fuzz target: a cabinet-module import file's text. The table grows by one row per pair, the
// label lists are the table, the values are upper-cased, only a last unpaired field is
// reported, and rows written back out as quoted pairs import as the same rows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/options/cabinet_table.h"
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
    fuzz::QuietUi ui;
    const scan::CabinetRow kept{"KEPT", "ROW"};
    options::CabinetModuleTable table;
    table.rows.push_back(kept);

    const std::size_t added = table.appendImport(text, ui);
    fuzz::require(table.rows.size() == added + 1, "one row per pair read");
    fuzz::require(
        table.rows.front().cabinet == kept.cabinet && table.rows.front().module == kept.module,
        "the rows already there stay");
    for (const scan::CabinetRow& row : table.rows) {
        fuzz::require(!fuzz::holdsLowerCase(row.cabinet) && !fuzz::holdsLowerCase(row.module),
                      "values are upper-cased");
    }
    fuzz::require(ui.errors() <= 1, "only the last field can be unpaired");
    fuzz::require(ui.errors() == 0 || table.rows.back().module.empty(),
                  "an unpaired field gives an empty module skeleton");

    const scan::CabinetLabels read(table.rows.begin() + 1, table.rows.end());
    const std::string written = fuzz::quotedPairs(read);
    if (!written.empty()) {
        options::CabinetModuleTable again;
        again.appendImport(written, ui);
        fuzz::require(again.rows.size() == read.size(), "written pairs read back as many rows");
        for (std::size_t i = 0; i < read.size(); ++i) {
            fuzz::require(
                again.rows[i].cabinet == read[i].cabinet && again.rows[i].module == read[i].module,
                "written pairs read back unchanged");
        }
    }
    return 0;
}
