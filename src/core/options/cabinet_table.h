#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"
#include "core/options/cabinet_import.h"
#include "core/platform/settings_store.h"
#include "core/scan/cabinet_row.h"

namespace qor::options {

// The cabinet-module table as the options dialog holds it: the displayed rows in table
// order (row 1 first) and the name of the last imported file, without its folder. Its rows are
// the label lists the channel labelling reads.
struct CabinetModuleTable {
    std::vector<scan::CabinetRow> rows;
    std::string importedFileName;

    // The table from the store's cabinet section and the last imported file; rows are taken as
    // stored. A failing step is reported with the standard error message and the load goes on.
    static CabinetModuleTable readFrom(const platform::SettingsStore& store, UserInterface& ui);
    // Replaces the stored cabinet section with the rows and their count, and stores the
    // imported file name. An empty table blanks its file name first.
    void writeTo(platform::SettingsStore& store, UserInterface& ui);
};

// How a row someone enters stands against the table's rows, ignoring ASCII case as the
// labelling does: new, the same as a row, or giving a row's module another cabinet.
enum class RowClashKind { None, Duplicate, Conflict };
struct RowClash {
    RowClashKind kind = RowClashKind::None;
    std::size_t index = 0;  // the row it repeats, or the last row that labels its module
};
// `except`: the index of the row being rewritten, which the new row is not held against.
RowClash clashOf(const std::vector<scan::CabinetRow>& rows, const scan::CabinetRow& row,
                 std::optional<std::size_t> except = std::nullopt);

// An import file as read (parseCabinetImport) and its name without folder.
struct CabinetFile {
    CabinetImport import;
    std::string fileName;
};

// Reads the import file at `path`. Throws QorError, before anything is read, for a file that
// cannot be read, is not a regular file or is larger than 128 MiB. Lines longer than 1 MiB are
// cut to their first 1 MiB, and one information message says how many were.
CabinetFile readCabinetFile(const std::string& path, UserInterface& ui);

// The options dialog's import: the file at `path` as read, for the person to see what each
// line gives before the table takes it; nothing when the file cannot be read, which is reported
// once with the standard error message. The store is not touched: an imported table is stored
// with the options, like any other edit.
std::optional<CabinetFile> importCabinetFile(const std::string& path, UserInterface& ui);

}  // namespace qor::options
