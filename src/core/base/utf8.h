#pragma once

#include <cstddef>
#include <string_view>

namespace qor {

// Decodes the well-formed UTF-8 sequence that starts at `at` (not overlong, no surrogate,
// nothing beyond U+10FFFF) into `codePoint` and returns its length; 0, `codePoint` unset, when
// there is none. An ASCII byte is not counted as one here.
std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);

// The length decodeUtf8 gives, without the code point.
inline std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    char32_t ignored = 0;
    return decodeUtf8(text, at, ignored);
}

}  // namespace qor
