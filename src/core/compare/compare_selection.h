#pragma once

#include <array>

#include "core/scan/element_types.h"

namespace qor::compare {

// What a comparison looks at in one element type. Unlike a scan, a comparison is not limited
// by the stored choices: it compares every type and every parameter box unless told otherwise.
struct TypeSelection {
    bool compared = true;
    std::array<bool, scan::kMaxParameterBoxes> parameters = filled(true);  // box k at index k - 1
    // The element's lines that hold no parameter of the boxes, compared as one "(other lines)".
    bool otherLines = true;

    static constexpr std::array<bool, scan::kMaxParameterBoxes> filled(bool value) {
        std::array<bool, scan::kMaxParameterBoxes> boxes{};
        boxes.fill(value);
        return boxes;
    }
};

struct CompareSelection {
    std::array<TypeSelection, scan::kElementTypeCount> types{};

    TypeSelection& of(scan::ElementType type) { return types[scan::indexOf(type)]; }
    const TypeSelection& of(scan::ElementType type) const { return types[scan::indexOf(type)]; }
};

}  // namespace qor::compare
