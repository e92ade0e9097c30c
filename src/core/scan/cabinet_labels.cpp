#include "core/scan/cabinet_labels.h"

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/scan/text_rules.h"

namespace qor::scan {
namespace {

// FNV-1a over the skeleton with ASCII case folded, so that names equal but for case meet.
std::uint32_t foldedHash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(foldAscii(c))) * 16777619u;
    }
    return hash;
}

}  // namespace

CabinetIndex::CabinetIndex(const CabinetLabels& labels) : labels_(&labels) {
    if (labels.size() >= UINT32_MAX / 2) {
        throw QorError(
            translate("CabinetLabels", "The cabinet-module table has too many rows to be applied"));
    }
    std::size_t size = 16;
    while (size < labels.size() * 2) {
        size *= 2;
    }
    slots_.resize(size);
    // In table order, a later row replaces an earlier one of the same skeleton.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::uint32_t hash = foldedHash(labels[i].module);
        slots_[slotOf(labels[i].module, hash)] = {hash, static_cast<std::uint32_t>(i + 1)};
    }
}

std::size_t CabinetIndex::slotOf(std::string_view skeleton, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].row != 0 && (slots_[i].hash != hash ||
                                  !equalsNoCase((*labels_)[slots_[i].row - 1].module, skeleton))) {
        i = (i + 1) & mask;
    }
    return i;
}

const CabinetRow* CabinetIndex::lastRowNamed(std::string_view skeleton) const {
    if (slots_.empty()) {
        return nullptr;
    }
    const Slot& slot = slots_[slotOf(skeleton, foldedHash(skeleton))];
    return slot.row != 0 ? &(*labels_)[slot.row - 1] : nullptr;
}

std::optional<std::string_view> moduleSkeletonOf(std::string_view designation) {
    const std::size_t dot = designation.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    return trimSpaces(designation.substr(0, dot));
}

bool labelChannel(std::string_view designation, const CabinetIndex& cabinets, ElementRow& row) {
    // Emptied first: a second header without an empty line in between must not keep the
    // first one's cabinet when it has no match of its own.
    row[kCabinetSlot].clear();
    row[kModuleSlot].clear();
    const std::optional<std::string_view> skeleton = moduleSkeletonOf(designation);
    const CabinetRow* match = cabinets.lastRowNamed(skeleton.value_or(std::string_view{}));
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

void MissingDotReport::note(std::string_view first, long long count) {
    if (count > 0 && count_ == 0) {
        first_ = first;
    }
    count_ += count;
}

void MissingDotReport::reportTo(UserInterface& ui) const {
    if (count_ == 0) {
        return;
    }
    const std::string description =
        count_ == 1 ? fillIn(translate("CabinetLabels",
                                       "The channel designation '%1' has no '.', so it "
                                       "names no module skeleton"),
                             {first_})
                    : fillIn(translate("CabinetLabels",
                                       "The channel designation '%1' has no '.', so it "
                                       "names no module skeleton (%2 designations "
                                       "without '.' in all)"),
                             {first_, std::to_string(count_)});
    reportStandardError(ui, "modMain", "CabinetModules", description);
}

}  // namespace qor::scan
