#include "core/options/cabinet_table.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/settings_keys.h"
#include "core/platform/input_file.h"
#include "core/scan/line_ceiling.h"
#include "core/scan/text_rules.h"

namespace qor::options {
namespace {

constexpr std::string_view kModule = "frmOptions";
constexpr std::string_view kTableSection = keys::kCabinetsModules;
constexpr std::string_view kCountKey = keys::kListViewItemsCount;
constexpr std::string_view kSettingsSection = keys::kSettings;
constexpr std::string_view kLastImportedFileKey = keys::kLastImportedFile;

std::string cabinetKey(std::size_t i) {
    return "CabinetValue_" + std::to_string(i);
}
std::string moduleKey(std::size_t i) {
    return "ModuleValue_" + std::to_string(i);
}

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
        throw QorError("Type mismatch: the stored " + std::string(kCountKey) + " '" + stored +
                       "' is not a whole number");
    }
    if (error == std::errc::result_out_of_range || value < -32768 || value > 32767) {
        throw QorError("Overflow: the stored " + std::string(kCountKey) + " '" + stored +
                       "' is out of range");
    }
    return value;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Splits an import file into its fields, in order.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field, or false when the text is used up.
    bool next(std::string& field) {
        if (!fieldPending_) {
            skipBlankLines();
            if (pos_ >= text_.size()) {
                return false;
            }
        }
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] == '"') {
            const std::size_t start = pos_ + 1;
            const std::size_t close = text_.find('"', start);
            if (close == std::string_view::npos) {
                field.assign(text_.substr(start));  // unterminated: the rest is the field
                pos_ = text_.size();
            } else {
                field.assign(text_.substr(start, close - start));
                pos_ = close + 1;
                skipToDelimiter();  // whatever follows the closing quote is dropped
            }
        } else {
            const std::size_t start = pos_;
            skipToDelimiter();
            std::string_view value = text_.substr(start, pos_ - start);
            while (!value.empty() && value.back() == ' ') {
                value.remove_suffix(1);
            }
            field.assign(value);
        }
        consumeDelimiter();
        return true;
    }

private:
    void skipToDelimiter() {
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) {
            ++pos_;
        }
    }

    // A comma promises one more field, even at the end of the text; a line end does not.
    void consumeDelimiter() {
        fieldPending_ = false;
        if (pos_ >= text_.size()) {
            return;
        }
        if (text_[pos_] == ',') {
            ++pos_;
            fieldPending_ = true;
        } else {
            skipLineEnd();
        }
    }

    void skipLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
            ++pos_;
        }
        ++pos_;
    }

    // At a line start: lines holding nothing but spaces and tabs carry no fields at all,
    // so a stray blank line cannot shift the cabinet/module pairs that follow it.
    void skipBlankLines() {
        for (;;) {
            std::size_t p = pos_;
            while (p < text_.size() && isBlank(text_[p])) {
                ++p;
            }
            if (p >= text_.size()) {
                pos_ = p;
                return;
            }
            if (!isLineEnd(text_[p])) {
                return;
            }
            pos_ = p;
            skipLineEnd();
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool fieldPending_ = false;
};

// The largest import file taken: far beyond a table of a million rows, far below what would
// exhaust memory.
constexpr std::uint64_t kImportLimitBytes = std::uint64_t{128} << 20;

std::string readImportFile(const std::string& path) {
    platform::InputFile file(path, "import file");
    const auto tooLarge = [&path] {
        return QorError("The import file '" + path +
                        "' is larger than 128 MiB: it is not imported");
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

void loadCabinetTable(const platform::SettingsStore& store, CabinetModuleTable& table,
                      scan::CabinetLabels& labels, UserInterface& ui) {
    constexpr std::string_view kProcedure = "GetListViewItems";
    int count = 0;
    runStep(ui, kModule, kProcedure,
            [&] { count = parseRowCount(store.value(kTableSection, kCountKey, "0")); });
    runStep(ui, kModule, kProcedure, [&] {
        table.importedFileName = store.value(kSettingsSection, kLastImportedFileKey, "");
    });
    table.rows.clear();
    runStep(ui, kModule, kProcedure, [&] {
        const std::size_t stored = count > 0 ? static_cast<std::size_t>(count) : 0;
        for (std::size_t i = 1; i <= stored; ++i) {
            table.rows.push_back({store.value(kTableSection, cabinetKey(i), ""),
                                  store.value(kTableSection, moduleKey(i), "")});
        }
    });
    labels = table.rows;
}

void saveCabinetTable(platform::SettingsStore& store, CabinetModuleTable& table,
                      scan::CabinetLabels& labels, UserInterface& ui) {
    constexpr std::string_view kProcedure = "SaveListViewValues";
    const std::size_t count = table.rows.size();
    labels.resize(count);
    if (count < 1) {
        runStep(ui, kModule, kProcedure,
                [&] { store.setValue(kSettingsSection, kLastImportedFileKey, ""); });
        table.importedFileName.clear();
    } else {
        for (std::size_t i = 1; i <= count; ++i) {
            const scan::CabinetRow& row = table.rows[i - 1];
            runStep(ui, kModule, kProcedure, [&] {
                store.setValue(kTableSection, cabinetKey(i), row.cabinet);
                store.setValue(kTableSection, moduleKey(i), row.module);
            });
            labels[i - 1] = row;
        }
    }
    runStep(ui, kModule, kProcedure,
            [&] { store.setValue(kTableSection, kCountKey, std::to_string(count)); });
}

void clearCabinetTable(platform::SettingsStore& store, CabinetModuleTable& table,
                       scan::CabinetLabels& labels) {
    table.rows.clear();
    table.importedFileName.clear();
    labels.clear();
    store.removeSection(kTableSection);
}

std::size_t readCabinetImport(std::string_view fileText, CabinetModuleTable& table,
                              scan::CabinetLabels& labels, UserInterface& ui) {
    FieldReader reader(fileText);
    std::size_t added = 0;
    std::string cabinet;
    std::string module;
    while (reader.next(cabinet)) {
        const bool paired = reader.next(module);
        if (!paired) {
            module.clear();
        }
        table.rows.push_back({scan::upperCaseAscii(cabinet), scan::upperCaseAscii(module)});
        ++added;
        if (!paired) {
            reportStandardError(ui, kModule, "ReadValuesFromImportFile",
                                "Input past end of file: the last cabinet name '" + cabinet +
                                    "' has no module skeleton");
        }
    }
    labels = table.rows;
    return added;
}

void importCabinetFile(const std::string& path, platform::SettingsStore& store,
                       CabinetModuleTable& table, scan::CabinetLabels& labels, UserInterface& ui) {
    clearCabinetTable(store, table, labels);
    std::string text;
    const bool read =
        runStep(ui, kModule, "ReadValuesFromImportFile", [&] { text = readImportFile(path); });
    if (read) {
        const long long cut = scan::cutLongLines(text);
        readCabinetImport(text, table, labels, ui);
        scan::reportCutLines(ui, path, cut);
    }
    table.importedFileName = fileNameOf(path);
    store.setValue(kSettingsSection, kLastImportedFileKey, table.importedFileName);
}

}  // namespace qor::options
