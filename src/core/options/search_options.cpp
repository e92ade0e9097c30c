#include "core/options/search_options.h"

#include "core/options/value_conversion.h"

namespace qor::options {
namespace {

using platform::SettingsStore;

// Each reader leaves the field as it was when the stored text does not convert. A box
// takes 0 (clear), 1 (checked) or 2 (greyed, not checked); other numbers are refused.
void readBox(const SettingsStore& store, std::string_view section, std::string_view key,
             std::string_view defaultText, bool& field) {
    const auto value = textToInteger(store.value(section, key, defaultText));
    if (value && *value >= 0 && *value <= 2) {
        field = *value == 1;
    }
}

void readOption(const SettingsStore& store, std::string_view key, std::string_view defaultText,
                OutputMode mode, SearchOptions& options) {
    const auto value = textToFlag(store.value(keys::kSettings, key, defaultText));
    if (!value) {
        return;
    }
    if (*value) {
        options.outputMode = mode;
        if (mode != OutputMode::ExcelFilesOnly) {
            options.oneExcelWorkbook = false;
        }
    } else if (options.outputMode == mode) {
        options.outputMode = OutputMode::None;
    }
}

void buildColumns(const SearchOptions& options, scan::ElementType type,
                  scan::ColumnDataSet& columns) {
    const scan::ElementTypeInfo& info = scan::elementType(type);
    columns[scan::indexOf(type)] =
        scan::buildColumnData(info, options.of(type), info.channel && options.applyCabinetLabels);
}

}  // namespace

scan::ColumnDataSet buildAllColumnData(const SearchOptions& options) {
    scan::ColumnDataSet columns;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        buildColumns(options, info.type, columns);
    }
    return columns;
}

void loadSearchOptions(const SettingsStore& store, SearchOptions& options,
                       scan::ColumnDataSet& columns, scan::CabinetLabels& labels,
                       bool excelInstalled, std::string_view defaultResultFolder,
                       UserInterface& ui) {
    loadCabinetTable(store, options.cabinetTable, labels, ui);

    readBox(store, keys::kSettings, keys::kApplyCabinetModule, "0", options.applyCabinetLabels);
    if (options.cabinetTable.rows.empty()) {
        options.applyCabinetLabels = false;
    }

    for (const scan::ElementType type : scan::optionsOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        scan::TypeOptions& typeOptions = options.of(type);
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            readBox(store, info.settingsSection, info.parameters[box], "0",
                    typeOptions.parameters[box]);
        }
        buildColumns(options, type, columns);
        readBox(store, info.settingsSection, keys::kEnableSearch, "0", typeOptions.enabled);
    }

    // A later true wins over an earlier one.
    readOption(store, keys::kSaveToExcelOnly, "False", OutputMode::ExcelFilesOnly, options);
    readOption(store, keys::kSaveToCsvOnly, "False", OutputMode::CsvFilesOnly, options);
    readOption(store, keys::kSaveToHtmlReport, "True", OutputMode::HtmlReport, options);
    readBox(store, keys::kSettings, keys::kSaveToOneExcelFile, "0", options.oneExcelWorkbook);

    if (!excelInstalled) {
        if (options.outputMode == OutputMode::ExcelFilesOnly) {
            options.outputMode = OutputMode::None;
        }
        options.oneExcelWorkbook = false;
    }

    readBox(store, keys::kSettings, keys::kShowSearchStatusDialog, "1",
            options.showSearchStatusDialog);
    options.scanResultFolderPath =
        store.value(keys::kSettings, keys::kScanResultFolderPath, defaultResultFolder);
    if (const auto tab =
            textToInteger(store.value(keys::kSettings, keys::kLastTabSelected, "11"))) {
        if (*tab >= 0 && *tab <= 13) {
            options.lastTab = static_cast<int>(*tab);
        }
    }
}

void saveSearchOptions(SettingsStore& store, SearchOptions& options, scan::ColumnDataSet& columns,
                       scan::CabinetLabels& labels, UserInterface& ui) {
    for (const scan::ElementType type : scan::optionsOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        const scan::TypeOptions& typeOptions = options.of(type);
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            store.setValue(info.settingsSection, info.parameters[box],
                           boxText(typeOptions.parameters[box]));
        }
        buildColumns(options, type, columns);
        store.setValue(info.settingsSection, keys::kEnableSearch, boxText(typeOptions.enabled));
    }
    const auto modeIs = [&](OutputMode mode) { return flagText(options.outputMode == mode); };
    store.setValue(keys::kSettings, keys::kSaveToExcelOnly, modeIs(OutputMode::ExcelFilesOnly));
    store.setValue(keys::kSettings, keys::kSaveToCsvOnly, modeIs(OutputMode::CsvFilesOnly));
    store.setValue(keys::kSettings, keys::kSaveToOneExcelFile, boxText(options.oneExcelWorkbook));
    store.setValue(keys::kSettings, keys::kSaveToHtmlReport, modeIs(OutputMode::HtmlReport));
    store.setValue(keys::kSettings, keys::kShowSearchStatusDialog,
                   boxText(options.showSearchStatusDialog));
    store.setValue(keys::kSettings, keys::kScanResultFolderPath, options.scanResultFolderPath);
    store.setValue(keys::kSettings, keys::kApplyCabinetModule, boxText(options.applyCabinetLabels));
    store.setValue(keys::kSettings, keys::kLastTabSelected, std::to_string(options.lastTab));
    saveCabinetTable(store, options.cabinetTable, labels, ui);
}

}  // namespace qor::options
