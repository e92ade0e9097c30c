#include "core/options/search_options.h"

#include "core/options/settings_table.h"

namespace qor::options {
namespace {

using platform::SettingsStore;

// Each reader leaves the field as it was when the stored text does not convert.
void readBox(const SettingsStore& store, const Setting& setting, bool& field) {
    if (const auto value = setting.readBooleanFrom(store)) {
        field = *value;
    }
}

void readOption(const SettingsStore& store, const Setting& setting, OutputMode mode,
                SearchOptions& options) {
    const auto value = setting.readBooleanFrom(store);
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

}  // namespace

bool SearchOptions::scansAnyType() const {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (scans(info.type)) {
            return true;
        }
    }
    return false;
}

scan::ColumnDataSet buildAllColumnData(const SearchOptions& options) {
    scan::ColumnDataSet columns;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        columns[scan::indexOf(info.type)] = scan::buildColumnData(
            info, options.of(info.type), info.channel && options.applyCabinetLabels);
    }
    return columns;
}

SearchOptions SearchOptions::readFrom(const SettingsStore& store, const StoreDefaults& defaults,
                                      UserInterface& ui) {
    SearchOptions options;
    options.cabinetTable = CabinetModuleTable::readFrom(store, ui);

    readBox(store, settings::kApplyCabinetModule, options.applyCabinetLabels);
    if (options.cabinetTable.rows.empty()) {
        options.applyCabinetLabels = false;
    }
    const settings::TypeDefaults typeDefaults = settings::typeDefaultsOf(store);
    for (const scan::ElementType type : scan::optionsOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        scan::TypeOptions& typeOptions = options.of(type);
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            readBox(store, settings::parameterBox(info, box, typeDefaults),
                    typeOptions.parameters[box]);
        }
        readBox(store, settings::enableSearch(info, typeDefaults), typeOptions.enabled);
    }

    // A later true wins over an earlier one.
    readOption(store, settings::kSaveToExcelOnly, OutputMode::ExcelFilesOnly, options);
    readOption(store, settings::kSaveToCsvOnly, OutputMode::CsvFilesOnly, options);
    readOption(store, settings::kSaveToHtmlReport, OutputMode::HtmlReport, options);
    readBox(store, settings::kSaveToOneExcelFile, options.oneExcelWorkbook);

    readBox(store, settings::kShowSearchStatusDialog, options.showSearchStatusDialog);
    options.scanResultFolderPath =
        settings::kScanResultFolderPath.readFrom(store, defaults.resultFolder);
    if (const auto tab = settings::kLastTabSelected.readIntegerFrom(store)) {
        if (*tab >= 0 && *tab <= 13) {
            options.lastTab = static_cast<int>(*tab);
        }
    }
    options.textEncoding = choiceNamed(settings::kTextEncoding.readFrom(store));
    return options;
}

void SearchOptions::writeTo(SettingsStore& store, UserInterface& ui) {
    for (const scan::ElementType type : scan::optionsOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        const scan::TypeOptions& typeOptions = of(type);
        for (std::size_t box = 0; box < info.parameters.size(); ++box) {
            settings::parameterBox(info, box).writeBooleanTo(store, typeOptions.parameters[box]);
        }
        settings::enableSearch(info).writeBooleanTo(store, typeOptions.enabled);
    }
    settings::kSaveToExcelOnly.writeBooleanTo(store, outputMode == OutputMode::ExcelFilesOnly);
    settings::kSaveToCsvOnly.writeBooleanTo(store, outputMode == OutputMode::CsvFilesOnly);
    settings::kSaveToOneExcelFile.writeBooleanTo(store, oneExcelWorkbook);
    settings::kSaveToHtmlReport.writeBooleanTo(store, outputMode == OutputMode::HtmlReport);
    settings::kShowSearchStatusDialog.writeBooleanTo(store, showSearchStatusDialog);
    settings::kScanResultFolderPath.writeTo(store, scanResultFolderPath);
    settings::kApplyCabinetModule.writeBooleanTo(store, applyCabinetLabels);
    settings::kLastTabSelected.writeIntegerTo(store, lastTab);
    settings::kTextEncoding.writeTo(store, choiceName(textEncoding));
    cabinetTable.writeTo(store, ui);
}

}  // namespace qor::options
