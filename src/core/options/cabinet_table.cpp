#include "core/options/cabinet_table.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/base/message_text.h"
#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/settings_table.h"
#include "core/platform/input_file.h"
#include "core/scan/line_ceiling.h"
#include "core/scan/text_rules.h"

namespace qor::options {
namespace {

constexpr std::string_view kModule = "frmOptions";

// The stored row count: a whole number, spaces around it allowed. A count beyond 32767 is
// refused: no real table is that long, and a damaged value must not stall the load.
int parseRowCount(const std::string& stored) {
    std::string_view digits = scan::trimSpaces(stored);
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-') {
        digits.remove_prefix(1);  // from_chars takes a '-' but not a '+'
    }
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || end != digits.data() + digits.size() ||
        error == std::errc::invalid_argument) {
        throw QorError("Type mismatch: the stored " + std::string(settings::kCabinetRowCount.key) +
                       " " + quotedExcerpt(stored) + " is not a whole number");
    }
    if (error == std::errc::result_out_of_range || value < -32768 || value > 32767) {
        throw QorError("Overflow: the stored " + std::string(settings::kCabinetRowCount.key) + " " +
                       quotedExcerpt(stored) + " is out of range");
    }
    return value;
}

// The largest import file taken: far beyond a table of a million rows, far below what would
// exhaust memory.
constexpr std::uint64_t kImportLimitBytes = std::uint64_t{128} << 20;

std::string readImportFile(const std::string& path) {
    platform::InputFile file(path, "import file");
    const auto tooLarge = [&path] {
        return QorError(fillIn(translate("CabinetTable",
                                         "The import file '%1' is larger than "
                                         "128 MiB: it is not imported"),
                               {path}));
    };
    const std::uint64_t sizeAtOpening = file.identity().size;
    if (sizeAtOpening > kImportLimitBytes) {
        throw tooLarge();
    }
    // A byte more than the file held: a read that fills it has found the file grown.
    std::string text(static_cast<std::size_t>(sizeAtOpening) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == text.size()) {
            if (size > kImportLimitBytes) {
                throw tooLarge();
            }
            text.resize(std::min<std::size_t>(size * 2, kImportLimitBytes + 1));
        }
        const std::size_t got = file.read(text.data() + size, text.size() - size);
        if (got == 0) {
            break;
        }
        size += got;
    }
    text.resize(size);
    return text;
}

std::string fileNameOf(const std::string& path) {
    const std::u8string name = std::filesystem::u8path(path).filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

CabinetModuleTable CabinetModuleTable::readFrom(const platform::SettingsStore& store,
                                                UserInterface& ui) {
    constexpr std::string_view kProcedure = "GetListViewItems";
    CabinetModuleTable table;
    int count = 0;
    runStep(ui, kModule, kProcedure,
            [&] { count = parseRowCount(settings::kCabinetRowCount.readFrom(store)); });
    runStep(ui, kModule, kProcedure,
            [&] { table.importedFileName = settings::kLastImportedFile.readFrom(store); });
    runStep(ui, kModule, kProcedure, [&] {
        const std::size_t stored = count > 0 ? static_cast<std::size_t>(count) : 0;
        for (std::size_t i = 1; i <= stored; ++i) {
            table.rows.push_back({settings::kCabinetName.readFrom(store, i),
                                  settings::kModuleSkeleton.readFrom(store, i)});
        }
    });
    return table;
}

void CabinetModuleTable::writeTo(platform::SettingsStore& store, UserInterface& ui) {
    constexpr std::string_view kProcedure = "SaveListViewValues";
    if (rows.empty()) {
        importedFileName.clear();
    }
    // Rows deleted since the last save must not linger behind the count.
    runStep(ui, kModule, kProcedure, [&] { store.removeSection(settings::kCabinetSection); });
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        runStep(ui, kModule, kProcedure, [&] {
            settings::kCabinetName.writeTo(store, i, rows[i - 1].cabinet);
            settings::kModuleSkeleton.writeTo(store, i, rows[i - 1].module);
        });
    }
    runStep(ui, kModule, kProcedure, [&] {
        settings::kCabinetRowCount.writeIntegerTo(store, static_cast<long long>(rows.size()));
    });
    runStep(ui, kModule, kProcedure,
            [&] { settings::kLastImportedFile.writeTo(store, importedFileName); });
}

RowClash clashOf(const std::vector<scan::CabinetRow>& rows, const scan::CabinetRow& row,
                 std::optional<std::size_t> except) {
    RowClash clash;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == except || !scan::equalsNoCase(rows[i].module, row.module)) {
            continue;
        }
        if (scan::equalsNoCase(rows[i].cabinet, row.cabinet)) {
            return {RowClashKind::Duplicate, i};
        }
        clash = {RowClashKind::Conflict, i};
    }
    return clash;
}

CabinetFile readCabinetFile(const std::string& path, UserInterface& ui) {
    std::string text = readImportFile(path);
    const long long cut = scan::cutLongLines(text);
    CabinetFile file{parseCabinetImport(text), fileNameOf(path)};
    scan::reportCutLines(ui, path, cut);
    return file;
}

std::optional<CabinetFile> importCabinetFile(const std::string& path, UserInterface& ui) {
    std::optional<CabinetFile> file;
    runStep(ui, kModule, "ReadValuesFromImportFile", [&] { file = readCabinetFile(path, ui); });
    return file;
}

}  // namespace qor::options
