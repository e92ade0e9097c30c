#include <array>

#include "core/checks/all_checks.h"

namespace qor::checks {
namespace {

// A new check is a file of its own and a row here.
const std::array<const Check*, 11> kRegistry{
    &kDuplicateDesignation, &kDuplicateName,    &kDuplicateNamePlant, &kRangeInverted,
    &kRangeNotNumber,       &kEmptyName,        &kEmptyDescr,         &kValueCut,
    &kModuleUnlabelled,     &kCabinetRowUnused, &kModuleTwoCabinets,
};

}  // namespace

std::span<const Check* const> checkRegistry() {
    return kRegistry;
}

std::optional<std::size_t> checkNamed(std::string_view id) {
    for (std::size_t i = 0; i < kRegistry.size(); ++i) {
        if (kRegistry[i]->id == id) {
            return i;
        }
    }
    return std::nullopt;
}

std::string_view severityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            break;
    }
    return "note";
}

std::optional<Severity> severityNamed(std::string_view name) {
    for (const Severity severity : {Severity::Error, Severity::Warning, Severity::Note}) {
        if (severityName(severity) == name) {
            return severity;
        }
    }
    return std::nullopt;
}

}  // namespace qor::checks
