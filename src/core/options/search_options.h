#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/base/text_encoding.h"
#include "core/base/user_interface.h"
#include "core/options/cabinet_table.h"
#include "core/platform/settings_store.h"
#include "core/scan/column_data.h"
#include "core/scan/element_types.h"
#include "core/scan/type_options.h"

namespace qor::options {

enum class OutputMode { None, ExcelFilesOnly, CsvFilesOnly, HtmlReport };

// What the store cannot know: the result folder that stands in for a missing one (the user's
// Documents folder).
struct StoreDefaults {
    std::string resultFolder;
};

// The search options record. A fresh store (one that holds no element type's key) gives every
// type enabled with the parameters read first (settings::TypeDefaults::FirstScan), HTML report
// output, the search status dialog on and the "General Options" tab. A record made here without
// a store has every type disabled.
struct SearchOptions {
    std::array<scan::TypeOptions, scan::kElementTypeCount> types{};
    OutputMode outputMode = OutputMode::HtmlReport;
    bool oneExcelWorkbook = false;
    std::string scanResultFolderPath;
    bool applyCabinetLabels = false;
    bool showSearchStatusDialog = true;
    int lastTab = 11;
    CabinetModuleTable cabinetTable;
    // How the text of exports is read; nothing: decided for each export from its bytes.
    EncodingChoice textEncoding;
    // Not stored: CSV values written exactly as read, even those a spreadsheet would take for
    // a formula (qorscan --csv-raw, for scripts).
    bool rawCsv = false;

    scan::TypeOptions& of(scan::ElementType type) { return types[scan::indexOf(type)]; }
    const scan::TypeOptions& of(scan::ElementType type) const { return types[scan::indexOf(type)]; }
    // One workbook for all types only makes sense with Excel output.
    bool writesOneWorkbook() const {
        return oneExcelWorkbook && outputMode == OutputMode::ExcelFilesOnly;
    }
    // Whether a scan reads this type. The scan, the scan command, the search status dialog and
    // the statistics all ask this one question, so none can contradict another.
    bool scans(scan::ElementType type) const { return of(type).enabled; }
    bool scansAnyType() const;

    // The record as the store holds it. A value that does not convert leaves its field at the
    // default; nothing is reported but a damaged cabinet table.
    static SearchOptions readFrom(const platform::SettingsStore& store,
                                  const StoreDefaults& defaults, UserInterface& ui);
    // Writes every field and the cabinet-module table, whose stored section it replaces.
    void writeTo(platform::SettingsStore& store, UserInterface& ui);
};

// The column data of every type from the record's selections and labels flag.
scan::ColumnDataSet buildAllColumnData(const SearchOptions& options);

}  // namespace qor::options
