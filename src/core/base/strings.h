#pragma once

#include <string_view>

namespace qor {

// The user-visible texts, under their string-table IDs (base 101 plus an offset).
namespace str {
inline constexpr int kBase = 101;
inline constexpr int kAbout = 107;
inline constexpr int kAllSearchDisabled = 129;
inline constexpr int kClickChangeSettings = 130;
inline constexpr int kOpeningDataBaseFile = 132;
inline constexpr int kShowSearchStatusDialog = 134;
inline constexpr int kExcelVersionCaption = 135;
inline constexpr int kPreviewStatus = 136;
inline constexpr int kEnableSearch = 137;
inline constexpr int kMostValuableParameters = 138;
inline constexpr int kSaveOptionsFrame = 139;
inline constexpr int kSaveAsExcel = 140;
inline constexpr int kSaveAsCsv = 141;
inline constexpr int kSaveAsHtml = 143;
inline constexpr int kSaveInOneExcelFile = 144;
inline constexpr int kSearchStatusExplanation = 159;
inline constexpr int kStatusDataBaseElement = 160;
inline constexpr int kCurrentStatus = 161;
inline constexpr int kCancel = 162;
inline constexpr int kChangeSettings = 163;
inline constexpr int kScanNow = 164;
inline constexpr int kStatisticDataBaseElement = 165;
inline constexpr int kFoundElements = 166;
inline constexpr int kSaveToFile = 167;
inline constexpr int kClose = 168;
inline constexpr int kReadingAI = 170;  // 170..183: one per type in reading order
inline constexpr int kConvertCompleted = 184;
inline constexpr int kFile = 185;
inline constexpr int kAlreadyExists = 186;
inline constexpr int kReplaceIt = 187;
inline constexpr int kSystemStatusAt = 192;
inline constexpr int kDateOfGeneratingNode = 193;
inline constexpr int kConvertingToExcelSheets = 194;
inline constexpr int kConvertingToOneExcelFile = 195;
inline constexpr int kWritingHtmlReport = 196;
inline constexpr int kElementsEllipsis = 197;
inline constexpr int kTypeTextAI = 198;  // 198..211: the quoted type texts
inline constexpr int kAlreadyRunning = 212;
inline constexpr int kReplaceHtmlAndRelated = 213;
inline constexpr int kExcelIsRunning = 216;
}  // namespace str

// The text under `id`; empty for an unknown ID.
std::string_view loadString(int id);

}  // namespace qor
