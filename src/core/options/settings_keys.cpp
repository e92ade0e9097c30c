#include "core/options/settings_keys.h"

#include <algorithm>
#include <array>

#include "core/scan/element_types.h"

namespace qor::options {
namespace {

bool isNumberedKey(std::string_view key, std::string_view prefix) {
    if (!key.starts_with(prefix) || key.size() == prefix.size()) {
        return false;
    }
    key.remove_prefix(prefix.size());
    return std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr std::array<std::string_view, 14> kSettingsKeys{keys::kSaveToExcelOnly,
                                                         keys::kSaveToCsvOnly,
                                                         keys::kSaveToHtmlReport,
                                                         keys::kSaveToOneExcelFile,
                                                         keys::kShowSearchStatusDialog,
                                                         keys::kApplyCabinetModule,
                                                         keys::kScanResultFolderPath,
                                                         keys::kLastTabSelected,
                                                         keys::kLastImportedFile,
                                                         "MainLeft",
                                                         "MainTop",
                                                         "MainWidth",
                                                         "MainHeight",
                                                         "FirstInstance"};

}  // namespace

bool isKnownSetting(std::string_view section, std::string_view key) {
    if (section == keys::kSettings) {
        return std::find(kSettingsKeys.begin(), kSettingsKeys.end(), key) != kSettingsKeys.end();
    }
    if (section == keys::kCabinetsModules) {
        return key == keys::kListViewItemsCount || isNumberedKey(key, "CabinetValue_") ||
               isNumberedKey(key, "ModuleValue_");
    }
    if (section == "MRUFiles") {
        return isNumberedKey(key, "");
    }
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        if (section == info.settingsSection) {
            return key == keys::kEnableSearch ||
                   std::find(info.parameters.begin(), info.parameters.end(), key) !=
                       info.parameters.end();
        }
    }
    return false;
}

}  // namespace qor::options
