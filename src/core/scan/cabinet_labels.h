#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/user_interface.h"
#include "core/scan/cabinet_row.h"
#include "core/scan/element_row.h"

namespace qor::scan {

// The module skeleton of a channel designation: the text before its first ".", trimmed.
// Nothing when the designation holds no ".".
std::optional<std::string_view> moduleSkeletonOf(std::string_view designation);

// Labels one channel element: empties slots 12 and 13, then walks the whole table and
// takes the cabinet name and the table's own module skeleton of the last row whose skeleton
// equals the designation's, ignoring ASCII case. Returns false when the designation holds
// no "." (its skeleton is then empty and only rows with an empty skeleton match).
bool CabinetModules(std::string_view designation, const CabinetLabels& labels, ElementRow& row);

// Collects the designations without "." of one reader call, so that they are reported
// once, with the first of them and how many there were, instead of once per element.
class MissingDotReport {
public:
    void note(std::string_view designation);
    // Shows the standard error message of CabinetModules when any designation was noted.
    void reportTo(UserInterface& ui) const;

private:
    std::string first_;
    long long count_ = 0;
};

}  // namespace qor::scan
