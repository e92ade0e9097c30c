#pragma once

#include <optional>
#include <string_view>

namespace qor::options {

// Stored values are text. Integers are read back with a text-to-integer conversion that
// accepts surrounding blanks, a sign and a fraction (rounded half to even); anything else
// fails. Flags accept "True"/"False" in any case or a number (non-zero is true). A box's state
// is the number 1 (checked), 0 (clear) or 2 (greyed, not checked); any other text, another
// number included, is no box state.
std::optional<long long> textToInteger(std::string_view text);
std::optional<bool> textToFlag(std::string_view text);
std::optional<bool> textToBox(std::string_view text);

}  // namespace qor::options
