#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/ascii.h"
#include "core/base/text_encoding.h"

// The reading rules of the export file. Lines are bytes: ASCII letters match without
// regard to case, every other byte only itself; trimming removes spaces only.
namespace qor::scan {

inline constexpr std::size_t kNotFound = std::string_view::npos;

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}
std::string upperCaseAscii(std::string_view text);

// Position (from 0) of the first occurrence of `needle` at or after `from`, ignoring ASCII case.
std::size_t findNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// Leading and trailing spaces removed (tabs and other bytes stay).
inline std::string_view trimSpaces(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Up to `count` characters from `start` (from 0); empty when start lies beyond the end.
inline std::string_view takeChars(std::string_view line, std::size_t start, std::size_t count) {
    return start >= line.size() ? std::string_view{} : line.substr(start, count);
}

// Header rule: the type token at p1 (its first occurrence) and the kind token at or after
// p1 + 13. Returns the item designation, the 15 characters from p1, trimmed.
// Counts in characters of `encoding`.
std::optional<std::string_view> headerDesignation(std::string_view line, std::string_view typeToken,
                                                  std::string_view kindToken,
                                                  TextEncoding encoding = kDefaultCodePage);

// Parameter rule: the value of `key` (":NAME") in the line, the `width` characters from the
// key's position + 15, trimmed; characters of `encoding`, so a cut never splits one.
std::optional<std::string_view> parameterValue(std::string_view line, std::string_view key,
                                               std::size_t width = 30,
                                               TextEncoding encoding = kDefaultCodePage);

// End-of-element rule: an open element ends at the first empty line.
inline bool endsElement(std::string_view line) {
    return line.empty();
}

}  // namespace qor::scan
