#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qor::scan {

// The fourteen element types, numbered in the reading order of a scan. One byte, so that a
// table's element records stay small.
enum class ElementType : std::uint8_t {
    AI,
    AIC,
    AO,
    AOC,
    DI,
    DIC,
    DO,
    DOC,
    PIDCON,
    MOTCON,
    DATB,
    DATI,
    DATIL,
    DATR
};

inline constexpr std::size_t kElementTypeCount = 14;
inline constexpr std::size_t kMaxParameterBoxes = 8;

struct ElementTypeInfo {
    ElementType type;
    std::string_view name;          // "AI", "DAT(B)": as the user names the type
    std::string_view readerModule;  // "modReadAIS"
    std::string_view typeToken;     // header rule: first token
    std::string_view kindToken;     // header rule: second token, 13 or more characters further on
    std::span<const std::string_view> parameters;  // parameter boxes 1..n, in box order
    bool channel;                      // AI, AO, DI, DO: I/O channels that can carry cabinet labels
    std::string_view title;            // prompts, worksheet names, index link labels
    std::string_view filePrefix;       // "AI_"
    std::string_view pageTitle;        // HTML element page title
    std::string_view settingsSection;  // "chkAISParameters"
    std::string_view statisticsName;   // row caption of the statistics and search status tables
};

// The title and the statistics caption as a person reads them on screen, in the running
// language; files keep the English of the table.
std::string shownTitle(const ElementTypeInfo& type);
std::string shownStatisticsName(const ElementTypeInfo& type);

// All types in reading order (the order of the enum).
const std::array<ElementTypeInfo, kElementTypeCount>& elementTypes();
const ElementTypeInfo& elementType(ElementType type);

// The other fixed orders of the types.
// Search status table and statistics window: AI, AO, AIC, AOC, DI, DO, DIC, DOC, PIDCON, MOTCON,
// DAT(B)..DAT(R).
const std::array<ElementType, kElementTypeCount>& statusOrder();
// HTML index: AI .. DOC, DAT(B) .. DAT(R), PIDCON, MOTCON.
const std::array<ElementType, kElementTypeCount>& indexOrder();
// Loading and saving the options: AIC, AI, AOC, AO, DAT(B)..DAT(R), DIC, DI, DOC, DO, MOTCON,
// PIDCON.
const std::array<ElementType, kElementTypeCount>& optionsOrder();

inline constexpr std::size_t indexOf(ElementType type) {
    return static_cast<std::size_t>(type);
}

// The element file base name: prefix + "Node" + node number (made safe for a file name)
// + "_" + start date stamp.
std::string elementFileBaseName(const ElementTypeInfo& type, std::string_view nodeNumber,
                                std::string_view startDateStamp);

// Finds a type by its name ("AI", "dat(b)", "DATB"), ignoring ASCII case.
std::optional<ElementType> elementTypeByName(std::string_view name);

}  // namespace qor::scan
