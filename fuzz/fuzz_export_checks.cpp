// Fuzz target: one export through the element loader and every check, against a small cabinet
// table. The loader must read the same elements, fields and cut values however the export is
// cut into chunks (so elements and their cuts cross chunk boundaries), and the checks must find
// the same, worded the same, on one thread or two. What a finding says holds: a duplicate's
// partner has the same key in the same export on another line, an inverted range is two numbers
// the wrong way round, a cut value is there.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/checks/check_support.h"
#include "core/checks/run_checks.h"
#include "core/elements/element_loader.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

using elements::ElementTable;
using elements::RowIndex;

bool sameTables(const ElementTable& a, const ElementTable& b) {
    if (a.rowCount() != b.rowCount()) {
        return false;
    }
    for (RowIndex row = 0; row < a.rowCount(); ++row) {
        const elements::ElementRecord& x = a.record(row);
        const elements::ElementRecord& y = b.record(row);
        if (x.line != y.line || x.type != y.type || x.cutFields != y.cutFields ||
            a.fieldCount(row) != b.fieldCount(row)) {
            return false;
        }
        for (std::size_t field = 0; field < a.fieldCount(row); ++field) {
            if (a.field(row, field) != b.field(row, field)) {
                return false;
            }
        }
    }
    return true;
}

std::string wordedFindings(const checks::CheckInput& input, const checks::CheckResult& result) {
    std::string text;
    for (const checks::Finding& finding : result.findings) {
        const checks::FindingRow row = findingRow(finding, input, checks::Wording::English);
        text += row.file + ":" + std::to_string(row.line) + ":" + row.id + ":" + row.message + "\n";
    }
    return text;
}

void requireWhatFindingsSay(const checks::CheckInput& input, const checks::CheckResult& result) {
    const ElementTable& table = input.table;
    for (const checks::Finding& finding : result.findings) {
        const std::string_view id = checks::checkRegistry()[finding.check]->id;
        if (id == "duplicate-designation" || id == "duplicate-name") {
            const std::size_t field = id == "duplicate-name" ? checks::kNameField : 0;
            require(table.field(finding.row, field) == table.field(finding.other, field) &&
                        !table.field(finding.row, field).empty(),
                    "a duplicate's partner has the same key");
            require(table.record(finding.row).file == table.record(finding.other).file &&
                        table.record(finding.row).line != table.record(finding.other).line,
                    "a duplicate's partner is another element of the same export");
        } else if (id == "range-inverted") {
            const scan::ElementType type = table.record(finding.row).type;
            const auto value = [&](std::string_view parameter) {
                return checks::numberValue(table.field(
                    finding.row,
                    static_cast<std::size_t>(checks::parameterField(table, type, parameter))));
            };
            require(
                value("RANGEMIN") && value("RANGEMAX") && *value("RANGEMIN") >= *value("RANGEMAX"),
                "an inverted range is two numbers the wrong way round");
        } else if (id == "value-cut") {
            require(!table.field(finding.row, finding.other).empty(), "a cut value is there");
        }
    }
}

class CheckHarness {
public:
    CheckHarness() {
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        exportPath_ =
            (folder / ("qor_fuzz_checks_" + std::to_string(::getpid()) + ".qor")).string();
        cabinets_ = checks::cabinetSourceOf(
            {{"CB1", "AI800_1"}, {"CB2", "ai800_1"}, {"CB3", "DI810_2"}, {"CB4", "DO9"}}, "");
    }
    ~CheckHarness() { std::remove(exportPath_.c_str()); }
    CheckHarness(const CheckHarness&) = delete;
    CheckHarness& operator=(const CheckHarness&) = delete;

    void run(const std::uint8_t* data, std::size_t size) {
        std::FILE* file = std::fopen(exportPath_.c_str(), "wb");
        require(file != nullptr, "the export file can be created");
        const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
        require(std::fclose(file) == 0 && written, "the export file is written");

        elements::LoadSettings whole;
        elements::LoadSettings chunked;
        // The first byte chooses how small the chunks of the second reading are.
        chunked.chunkBytes = 1 + (size > 0 ? data[0] >> 2 : 0);
        ElementTable first;
        try {
            first = elements::loadExport(exportPath_, whole);
        } catch (const QorError&) {
            return;  // no export: refused as a scan refuses it
        }
        const ElementTable second = elements::loadExport(exportPath_, chunked);
        require(sameTables(first, second),
                "the same elements and cut values however the export is cut into chunks");

        const checks::CheckInput one{first, &cabinets_};
        const checks::CheckInput other{second, &cabinets_};
        const checks::CheckResult alone = checks::runChecks(one, {}, 1);
        const checks::CheckResult shared = checks::runChecks(other, {}, 2);
        require(wordedFindings(one, alone) == wordedFindings(other, shared),
                "the same findings on one thread or two");
        requireWhatFindingsSay(one, alone);
    }

private:
    std::string exportPath_;
    checks::CabinetSource cabinets_;
};

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qor::fuzz::CheckHarness harness;
    harness.run(data, size);
    return 0;
}
