#pragma once

#include "core/checks/check.h"

// The checks, one file each; check_registry.cpp lists them.
namespace qor::checks {

extern const Check kDuplicateDesignation;
extern const Check kDuplicateName;
extern const Check kDuplicateNamePlant;
extern const Check kRangeInverted;
extern const Check kRangeNotNumber;
extern const Check kEmptyName;
extern const Check kEmptyDescr;
extern const Check kValueCut;
extern const Check kModuleUnlabelled;
extern const Check kCabinetRowUnused;
extern const Check kModuleTwoCabinets;

}  // namespace qor::checks
