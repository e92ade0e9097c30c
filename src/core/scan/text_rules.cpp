#include "core/scan/text_rules.h"

#include "core/scan/byte_search.h"

namespace qor::scan {

std::string upperCaseAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = upperAscii(c);
    }
    return upper;
}

std::size_t findNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= haystack.size() ? from : kNotFound;
    }
    return findFolded(haystack.data(), haystack.size(), from, needle);
}

std::optional<std::string_view> headerDesignation(std::string_view line, std::string_view typeToken,
                                                  std::string_view kindToken,
                                                  TextEncoding encoding) {
    // The kind token can only start 13 or more characters into the line: most lines fail
    // that cheaper test first.
    if (findNoCase(line, kindToken, 13) == kNotFound) {
        return std::nullopt;
    }
    const std::size_t p1 = findNoCase(line, typeToken);
    if (p1 == kNotFound || findNoCase(line, kindToken, p1 + 13) == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeCharacters(line.substr(p1), 0, 15, encoding));
}

std::optional<std::string_view> parameterValue(std::string_view line, std::string_view key,
                                               std::size_t width, TextEncoding encoding) {
    const std::size_t p = findNoCase(line, key);
    if (p == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeCharacters(line.substr(p), 15, width, encoding));
}

}  // namespace qor::scan
