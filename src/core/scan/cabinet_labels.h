#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"
#include "core/scan/cabinet_row.h"
#include "core/scan/element_row.h"

namespace qor::scan {

// The module skeleton of a channel designation: the text before its first ".", trimmed.
// Nothing when the designation holds no ".".
std::optional<std::string_view> moduleSkeletonOf(std::string_view designation);

// The label lists indexed by module skeleton with ASCII case folded: a lookup costs the
// same for a table of ten rows or of a million. Built once per scan; the lists must outlive it.
class CabinetIndex {
public:
    CabinetIndex() = default;  // no rows
    explicit CabinetIndex(const CabinetLabels& labels);

    // The last row in table order whose skeleton equals `skeleton`, ignoring ASCII case;
    // nullptr when none does.
    const CabinetRow* lastRowNamed(std::string_view skeleton) const;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t row = 0;  // row index + 1; 0 marks an empty slot
    };
    std::size_t slotOf(std::string_view skeleton, std::uint32_t hash) const;

    const CabinetLabels* labels_ = nullptr;
    std::vector<Slot> slots_;  // open addressing, a power of two long, at most half full
};

// Labels one channel element: empties slots 12 and 13, then takes the cabinet name and the
// table's own module skeleton of the last row whose skeleton equals the designation's,
// ignoring ASCII case. Returns false when the designation holds no "." (its skeleton is
// then empty and only rows with an empty skeleton match).
bool labelChannel(std::string_view designation, const CabinetIndex& cabinets, ElementRow& row);

// Collects the designations without "." of one reader call, so that they are reported
// once, with the first of them and how many there were, instead of once per element.
class MissingDotReport {
public:
    void note(std::string_view designation);
    // `count` designations noted elsewhere, the first of them `first`.
    void note(std::string_view first, long long count);
    // Shows the standard error message of labelChannel when any designation was noted.
    void reportTo(UserInterface& ui) const;

private:
    std::string first_;
    long long count_ = 0;
};

}  // namespace qor::scan
