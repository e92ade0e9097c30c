#include "core/scan/cabinet_labels.h"

#include "core/base/standard_error.h"
#include "core/scan/text_rules.h"

namespace qor::scan {

std::optional<std::string_view> moduleSkeletonOf(std::string_view designation) {
    const std::size_t dot = designation.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    return trimSpaces(designation.substr(0, dot));
}

bool CabinetModules(std::string_view designation, const CabinetLabels& labels, ElementRow& row) {
    // Emptied first: a second header without an empty line in between must not keep the
    // first one's cabinet when it has no match of its own.
    row[kCabinetSlot].clear();
    row[kModuleSlot].clear();
    const std::optional<std::string_view> skeleton = moduleSkeletonOf(designation);
    const std::string_view wanted = skeleton.value_or(std::string_view{});
    const CabinetRow* match = nullptr;
    for (const CabinetRow& entry : labels) {
        if (equalsNoCase(wanted, entry.module)) {
            match = &entry;  // the last matching row wins
        }
    }
    if (match != nullptr) {
        row[kCabinetSlot] = match->cabinet;
        row[kModuleSlot] = match->module;
    }
    return skeleton.has_value();
}

void MissingDotReport::note(std::string_view designation) {
    if (count_++ == 0) {
        first_ = designation;
    }
}

void MissingDotReport::reportTo(UserInterface& ui) const {
    if (count_ == 0) {
        return;
    }
    std::string description =
        "The channel designation '" + first_ + "' has no '.', so it names no module skeleton";
    if (count_ > 1) {
        description += " (" + std::to_string(count_) + " designations without '.' in all)";
    }
    reportStandardError(ui, "modMain", "CabinetModules", description);
}

}  // namespace qor::scan
