#pragma once

#include <array>

#include "core/scan/element_types.h"

namespace qor::scan {

// What the user chose for one element type: whether it is scanned and which parameters.
struct TypeOptions {
    bool enabled = false;                               // "Enable Search"
    std::array<bool, kMaxParameterBoxes> parameters{};  // box k at index k - 1
};

}  // namespace qor::scan
