#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/options/cabinet_table.h"
#include "core/options/settings_keys.h"
#include "core/platform/settings_store.h"
#include "core/scan/column_data.h"
#include "core/scan/element_types.h"
#include "core/scan/type_options.h"

namespace qor::options {

enum class OutputMode { None, ExcelFilesOnly, CsvFilesOnly, HtmlReport };

// The search options record. A fresh store gives every type disabled with nothing
// selected, HTML report output, the search status dialog on and the "General Options" tab.
struct SearchOptions {
    std::array<scan::TypeOptions, scan::kElementTypeCount> types{};
    OutputMode outputMode = OutputMode::HtmlReport;
    bool oneExcelWorkbook = false;
    std::string scanResultFolderPath;
    bool applyCabinetLabels = false;
    bool showSearchStatusDialog = true;
    int lastTab = 11;
    CabinetModuleTable cabinetTable;

    scan::TypeOptions& of(scan::ElementType type) { return types[scan::indexOf(type)]; }
    const scan::TypeOptions& of(scan::ElementType type) const { return types[scan::indexOf(type)]; }
    // One workbook for all types only makes sense with Excel output.
    bool writesOneWorkbook() const {
        return oneExcelWorkbook && outputMode == OutputMode::ExcelFilesOnly;
    }
};

// Fills the record from the store and rebuilds the column data and the cabinet label lists.
// A value that does not convert leaves its field as it was; nothing is reported.
// `defaultResultFolder` stands in for a missing "ScanResultFolderPath".
void loadSearchOptions(const platform::SettingsStore& store, SearchOptions& options,
                       scan::ColumnDataSet& columns, scan::CabinetLabels& labels,
                       bool excelInstalled, std::string_view defaultResultFolder,
                       UserInterface& ui);

// The column data of every type from the record's selections and labels flag.
scan::ColumnDataSet buildAllColumnData(const SearchOptions& options);

// Writes every field to the store (deleting nothing), rebuilds the column data and saves
// the cabinet-module table.
void saveSearchOptions(platform::SettingsStore& store, SearchOptions& options,
                       scan::ColumnDataSet& columns, scan::CabinetLabels& labels,
                       UserInterface& ui);

}  // namespace qor::options
