#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"
#include "core/platform/settings_store.h"
#include "core/scan/cabinet_row.h"

namespace qor::options {

// The cabinet-module table as the options dialog holds it: the displayed rows in table
// order (row 1 first) and the name of the last imported file, without its folder.
struct CabinetModuleTable {
    std::vector<scan::CabinetRow> rows;
    std::string importedFileName;
};

// Loads the table from section "CabinetsModules" ("ListViewItemsCount", "CabinetValue_<i>",
// "ModuleValue_<i>") and the imported file name from "Settings"/"LastImportedFile"; rows are
// taken as stored. Rebuilds the label lists. A failing step is reported with the standard
// error message (frmOptions.GetListViewItems) and the load goes on.
void loadCabinetTable(const platform::SettingsStore& store, CabinetModuleTable& table,
                      scan::CabinetLabels& labels, UserInterface& ui);

// Writes the rows to the store and rebuilds the label lists. An empty table stores an empty
// "LastImportedFile" and blanks the file name. Keys of rows beyond the count stay in the store.
void saveCabinetTable(platform::SettingsStore& store, CabinetModuleTable& table,
                      scan::CabinetLabels& labels, UserInterface& ui);

// Empties the table and the label lists, blanks the file name and deletes the whole
// "CabinetsModules" section.
void clearCabinetTable(platform::SettingsStore& store, CabinetModuleTable& table,
                       scan::CabinetLabels& labels);

// Appends the pairs of an import file's text to the table, upper-cased, and rebuilds the
// label lists. Fields end at a comma, a line end (CR, LF, CR LF) or the end of the text;
// leading spaces and tabs are skipped; a quoted field runs to the next quote (commas and
// line ends inside are kept, anything after the closing quote up to the delimiter is
// ignored); an unquoted field loses its trailing spaces; lines that are empty or hold only
// spaces and tabs are skipped. An odd number of fields is reported with the standard error
// message (frmOptions.ReadValuesFromImportFile) and the unpaired field still gives a row
// with an empty module skeleton. Returns the number of rows read.
std::size_t readCabinetImport(std::string_view fileText, CabinetModuleTable& table,
                              scan::CabinetLabels& labels, UserInterface& ui);

// Imports the file at `path`: clears the table and the stored section first, then reads
// the file (readCabinetImport) and stores its name, without folder, as the imported
// file name and as "Settings"/"LastImportedFile". A file that cannot be read, is not a
// regular file or is larger than 128 MiB is reported (frmOptions.ReadValuesFromImportFile)
// and leaves a consistent empty table. Lines longer than 1 MiB are cut to their first 1 MiB,
// and one information message says how many were.
void importCabinetFile(const std::string& path, platform::SettingsStore& store,
                       CabinetModuleTable& table, scan::CabinetLabels& labels, UserInterface& ui);

}  // namespace qor::options
