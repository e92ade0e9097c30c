#pragma once

#include <string_view>

namespace qor::options {

// Settings sections and keys.
namespace keys {
inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kCabinetsModules = "CabinetsModules";
inline constexpr std::string_view kEnableSearch = "EnableSearch";
inline constexpr std::string_view kApplyCabinetModule = "ApplyCabinetModule";
inline constexpr std::string_view kSaveToExcelOnly = "SaveToExcelOnly";
inline constexpr std::string_view kSaveToCsvOnly = "SaveToCSVOnly";
inline constexpr std::string_view kSaveToHtmlReport = "SaveToHTMLReport";
inline constexpr std::string_view kSaveToOneExcelFile = "SaveToOneExcelFile";
inline constexpr std::string_view kShowSearchStatusDialog = "ShowSearchStatusDialog";
inline constexpr std::string_view kScanResultFolderPath = "ScanResultFolderPath";
inline constexpr std::string_view kLastTabSelected = "LastTabSelected";
inline constexpr std::string_view kLastImportedFile = "LastImportedFile";
inline constexpr std::string_view kListViewItemsCount = "ListViewItemsCount";
}  // namespace keys

// Whether a stored key is one the program reads (the desktop application's own keys
// included); anything else in a settings file is most likely misspelt.
bool isKnownSetting(std::string_view section, std::string_view key);

}  // namespace qor::options
