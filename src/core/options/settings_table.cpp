#include "core/options/settings_table.h"

#include <algorithm>
#include <array>

#include "core/options/value_conversion.h"

namespace qor::options {
namespace {

bool isNumberedKey(std::string_view key, const NumberedSetting& family) {
    if (!key.starts_with(family.keyPrefix) || key.size() == family.keyPrefix.size()) {
        return false;
    }
    key.remove_prefix(family.keyPrefix.size());
    return std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr std::array kSettings{settings::kSaveToExcelOnly,
                               settings::kSaveToCsvOnly,
                               settings::kSaveToHtmlReport,
                               settings::kSaveToOneExcelFile,
                               settings::kShowSearchStatusDialog,
                               settings::kApplyCabinetModule,
                               settings::kScanResultFolderPath,
                               settings::kLastTabSelected,
                               settings::kTextEncoding,
                               settings::kLastImportedFile,
                               settings::kLastImportFolder,
                               settings::kMainGeometry,
                               settings::kMainLeft,
                               settings::kMainTop,
                               settings::kMainWidth,
                               settings::kMainHeight,
                               settings::kMainMaximized,
                               settings::kShowLineNumbers,
                               settings::kIncludeSubfolders,
                               settings::kLastPlantFolder,
                               settings::kFirstInstance,
                               settings::kCabinetRowCount};

constexpr std::array kNumberedSettings{settings::kCabinetName, settings::kModuleSkeleton,
                                       settings::kRecentFile};

constexpr std::string_view kEnableSearchKey = "EnableSearch";

// What a maintenance engineer reads first of any element: a fresh account scans these, so that
// its first scan needs no visit to the options.
constexpr std::array<std::string_view, 5> kFirstReadParameters{"NAME", "DESCR", "UNIT", "RANGEMAX",
                                                               "RANGEMIN"};

bool isStored(const platform::SettingsStore& store, std::string_view section,
              std::string_view key) {
    // The store tells an absent key only by giving back the default: no text is both.
    return store.value(section, key, "0") != "0" || store.value(section, key, "1") != "1";
}

}  // namespace

std::optional<bool> Setting::readBooleanFrom(const platform::SettingsStore& store) const {
    const std::string text = readFrom(store);
    return type == SettingType::Flag ? textToFlag(text) : textToBox(text);
}

std::optional<long long> Setting::readIntegerFrom(const platform::SettingsStore& store) const {
    return textToInteger(readFrom(store));
}

void Setting::writeBooleanTo(platform::SettingsStore& store, bool value) const {
    if (type == SettingType::Flag) {
        writeTo(store, value ? "True" : "False");
    } else {
        writeTo(store, value ? "1" : "0");
    }
}

void Setting::writeIntegerTo(platform::SettingsStore& store, long long value) const {
    writeTo(store, std::to_string(value));
}

settings::TypeDefaults settings::typeDefaultsOf(const platform::SettingsStore& store) {
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (isStored(store, info.settingsSection, kEnableSearchKey) ||
            std::any_of(info.parameters.begin(), info.parameters.end(), [&](std::string_view key) {
                return isStored(store, info.settingsSection, key);
            })) {
            return TypeDefaults::Clear;
        }
    }
    return TypeDefaults::FirstScan;
}

Setting settings::enableSearch(const scan::ElementTypeInfo& type, TypeDefaults defaults) {
    return {type.settingsSection, kEnableSearchKey, SettingType::Box,
            defaults == TypeDefaults::FirstScan ? "1" : "0"};
}

Setting settings::parameterBox(const scan::ElementTypeInfo& type, std::size_t box,
                               TypeDefaults defaults) {
    const std::string_view parameter = type.parameters[box];
    const bool readFirst = defaults == TypeDefaults::FirstScan &&
                           std::find(kFirstReadParameters.begin(), kFirstReadParameters.end(),
                                     parameter) != kFirstReadParameters.end();
    return {type.settingsSection, parameter, SettingType::Box, readFirst ? "1" : "0"};
}

bool isKnownSetting(std::string_view section, std::string_view key) {
    const auto named = [&](const Setting& s) { return s.section == section && s.key == key; };
    if (std::any_of(kSettings.begin(), kSettings.end(), named)) {
        return true;
    }
    for (const NumberedSetting& family : kNumberedSettings) {
        if (family.section == section && isNumberedKey(key, family)) {
            return true;
        }
    }
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (section == info.settingsSection) {
            return key == kEnableSearchKey ||
                   std::find(info.parameters.begin(), info.parameters.end(), key) !=
                       info.parameters.end();
        }
    }
    return false;
}

}  // namespace qor::options
