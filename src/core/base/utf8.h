#pragma once

#include <cstddef>
#include <string_view>

namespace qor {

// Length of the well-formed UTF-8 sequence that starts at `at` (not overlong, no surrogate,
// nothing beyond U+10FFFF), 0 when there is none. An ASCII byte is not counted as one here.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

}  // namespace qor
