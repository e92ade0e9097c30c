#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qor::scan {

// The element being read: slot 1 the item designation, slots 2 to 11 parameter values,
// slot 12 the cabinet name, slot 13 the module skeleton. Slot 0 is written only for a plan that
// keeps the element's other lines (a comparison): every line of the element that holds no
// selected key, each followed by LF. A scan's outputs never read it.
inline constexpr std::size_t kElementRowSlots = 14;
inline constexpr std::size_t kOtherLinesSlot = 0;
inline constexpr std::size_t kDesignationSlot = 1;
inline constexpr std::size_t kCabinetSlot = 12;
inline constexpr std::size_t kModuleSlot = 13;
using ElementRow = std::array<std::string, kElementRowSlots>;

// The same row as views: into the chunk being parsed, or into an ElementRow.
using ElementRowView = std::array<std::string_view, kElementRowSlots>;

inline ElementRowView viewOf(const ElementRow& row) {
    ElementRowView view;
    for (std::size_t slot = 0; slot < kElementRowSlots; ++slot) {
        view[slot] = row[slot];
    }
    return view;
}

}  // namespace qor::scan
