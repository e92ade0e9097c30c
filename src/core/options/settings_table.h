#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/platform/settings_store.h"
#include "core/scan/element_types.h"

// Every key the program stores, with its section, the form of its value and its default. No
// other code spells a key.
namespace qor::options {

enum class SettingType {
    Box,     // a check box: "0" or "1"
    Flag,    // an option button: "True" or "False"
    Number,  // a whole number in decimal
    Text,
};

struct Setting {
    std::string_view section;
    std::string_view key;
    SettingType type;
    std::string_view defaultValue;

    // The stored text, as it is.
    std::string readFrom(const platform::SettingsStore& store) const {
        return store.value(section, key, defaultValue);
    }
    // A default given only at run time (the user's Documents folder, say).
    std::string readFrom(const platform::SettingsStore& store, std::string_view fallback) const {
        return store.value(section, key, fallback);
    }
    void writeTo(platform::SettingsStore& store, std::string_view text) const {
        store.setValue(section, key, text);
    }

    // Typed values: the store keeps texts ("1"/"0" for a Box, "True"/"False" for a Flag,
    // decimal for a Number); these are the only conversions between the two. A reading gives
    // nothing when the stored text is not of the setting's form.
    //
    // The one reading of a stored yes or no, by the setting's form: a Box through textToBox,
    // a Flag through textToFlag.
    std::optional<bool> readBooleanFrom(const platform::SettingsStore& store) const;
    std::optional<long long> readIntegerFrom(const platform::SettingsStore& store) const;
    void writeBooleanTo(platform::SettingsStore& store, bool value) const;
    void writeIntegerTo(platform::SettingsStore& store, long long value) const;
};

// Keys numbered from 1 ("CabinetValue_1", "CabinetValue_2", ... or "1" to "5").
struct NumberedSetting {
    std::string_view section;
    std::string_view keyPrefix;
    SettingType type;
    std::string_view defaultValue;

    std::string keyOf(std::size_t number) const {
        return std::string(keyPrefix) + std::to_string(number);
    }
    std::string readFrom(const platform::SettingsStore& store, std::size_t number) const {
        return store.value(section, keyOf(number), defaultValue);
    }
    void writeTo(platform::SettingsStore& store, std::size_t number, std::string_view text) const {
        store.setValue(section, keyOf(number), text);
    }
};

namespace settings {
inline constexpr std::string_view kGeneralSection = "Settings";
inline constexpr std::string_view kCabinetSection = "CabinetsModules";
inline constexpr std::string_view kRecentFilesSection = "MRUFiles";

inline constexpr Setting kSaveToExcelOnly{kGeneralSection, "SaveToExcelOnly", SettingType::Flag,
                                          "False"};
inline constexpr Setting kSaveToCsvOnly{kGeneralSection, "SaveToCSVOnly", SettingType::Flag,
                                        "False"};
inline constexpr Setting kSaveToHtmlReport{kGeneralSection, "SaveToHTMLReport", SettingType::Flag,
                                           "True"};
inline constexpr Setting kSaveToOneExcelFile{kGeneralSection, "SaveToOneExcelFile",
                                             SettingType::Box, "0"};
inline constexpr Setting kShowSearchStatusDialog{kGeneralSection, "ShowSearchStatusDialog",
                                                 SettingType::Box, "1"};
inline constexpr Setting kApplyCabinetModule{kGeneralSection, "ApplyCabinetModule",
                                             SettingType::Box, "0"};
// Its default is the user's Documents folder, known only at run time.
inline constexpr Setting kScanResultFolderPath{kGeneralSection, "ScanResultFolderPath",
                                               SettingType::Text, ""};
inline constexpr Setting kLastTabSelected{kGeneralSection, "LastTabSelected", SettingType::Number,
                                          "11"};
// How the text of exports is read: "Automatic" or an encoding's name ("UTF-8", "Windows-1250").
inline constexpr Setting kTextEncoding{kGeneralSection, "TextEncoding", SettingType::Text,
                                       "Automatic"};
inline constexpr Setting kLastImportedFile{kGeneralSection, "LastImportedFile", SettingType::Text,
                                           ""};
// The folder of the last cabinet-module import: the next import starts there.
inline constexpr Setting kLastImportFolder{kGeneralSection, "LastImportFolder", SettingType::Text,
                                           ""};
// The main window's geometry as Qt saves it, in Base64.
inline constexpr Setting kMainGeometry{kGeneralSection, "MainGeometry", SettingType::Text, ""};
// The main window's placement in twips (1/1440 inch), as earlier versions stored it: read while
// no MainGeometry is stored, never written.
inline constexpr Setting kMainLeft{kGeneralSection, "MainLeft", SettingType::Number, "1000"};
inline constexpr Setting kMainTop{kGeneralSection, "MainTop", SettingType::Number, "1000"};
inline constexpr Setting kMainWidth{kGeneralSection, "MainWidth", SettingType::Number, "6500"};
inline constexpr Setting kMainHeight{kGeneralSection, "MainHeight", SettingType::Number, "6500"};
// Whether the main window was left maximised, as earlier versions stored it (read as above).
inline constexpr Setting kMainMaximized{kGeneralSection, "MainMaximized", SettingType::Box, "0"};
// Whether document windows show line numbers (View > Line Numbers).
inline constexpr Setting kShowLineNumbers{kGeneralSection, "ShowLineNumbers", SettingType::Box,
                                          "0"};
// Whether File > Open Folder... also reads the exports in the folder's subfolders.
inline constexpr Setting kIncludeSubfolders{kGeneralSection, "IncludeSubfolders", SettingType::Box,
                                            "0"};
// The folder last opened with File > Open Folder...: the next one starts there.
inline constexpr Setting kLastPlantFolder{kGeneralSection, "LastPlantFolder", SettingType::Text,
                                          ""};
// 0 until the program has once been left through File > Exit.
inline constexpr Setting kFirstInstance{kGeneralSection, "FirstInstance", SettingType::Number, "0"};
inline constexpr Setting kCabinetRowCount{kCabinetSection, "ListViewItemsCount",
                                          SettingType::Number, "0"};
inline constexpr NumberedSetting kCabinetName{kCabinetSection, "CabinetValue_", SettingType::Text,
                                              ""};
inline constexpr NumberedSetting kModuleSkeleton{kCabinetSection, "ModuleValue_", SettingType::Text,
                                                 ""};
inline constexpr NumberedSetting kRecentFile{kRecentFilesSection, "", SettingType::Text, ""};

// What an element type's key that is not stored reads as. A store that holds no key of any
// type's section (a fresh account, an empty settings file) gives FirstScan: every type enabled
// for NAME, DESCR, UNIT, RANGEMAX and RANGEMIN, those of them the type has, so that a first scan
// needs no visit to the options. Any other store was written by the options or by hand, and its
// missing keys read as clear, as they always have, so that it scans what it did.
enum class TypeDefaults { Clear, FirstScan };
TypeDefaults typeDefaultsOf(const platform::SettingsStore& store);

// Each element type's section (its settingsSection): "EnableSearch" and one box per parameter.
Setting enableSearch(const scan::ElementTypeInfo& type,
                     TypeDefaults defaults = TypeDefaults::Clear);
Setting parameterBox(const scan::ElementTypeInfo& type, std::size_t box,
                     TypeDefaults defaults = TypeDefaults::Clear);
}  // namespace settings

// Whether a stored key is one of the table's; anything else in a settings file is most
// likely misspelt.
bool isKnownSetting(std::string_view section, std::string_view key);

}  // namespace qor::options
