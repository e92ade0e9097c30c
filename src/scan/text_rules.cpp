#include "scan/text_rules.h"

#include "scan/byte_search.h"

namespace qor::scan {

bool equalsNoCase(std::string_view a, std::string_view b) {
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

std::string_view trimSpaces(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

std::string_view takeChars(std::string_view line, std::size_t start, std::size_t count) {
    return start >= line.size() ? std::string_view{} : line.substr(start, count);
}

std::optional<std::string_view> headerDesignation(std::string_view line, std::string_view typeToken,
                                                  std::string_view kindToken) {
    // The kind token can only start 13 or more characters into the line: most lines fail
    // that cheaper test first.
    if (findNoCase(line, kindToken, 13) == kNotFound) {
        return std::nullopt;
    }
    const std::size_t p1 = findNoCase(line, typeToken);
    if (p1 == kNotFound || findNoCase(line, kindToken, p1 + 13) == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeChars(line, p1, 15));
}

std::optional<std::string_view> parameterValue(std::string_view line, std::string_view key,
                                               std::size_t width) {
    const std::size_t p = findNoCase(line, key);
    if (p == kNotFound) {
        return std::nullopt;
    }
    return trimSpaces(takeChars(line, p + 15, width));
}

}  // namespace qor::scan
