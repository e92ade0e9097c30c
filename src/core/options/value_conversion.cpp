#include "core/options/value_conversion.h"

#include <limits>

#include "core/scan/text_rules.h"

namespace qor::options {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<long long> textToInteger(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    // The magnitude is gathered unsigned, so that the lowest long long, whose magnitude is one
    // past the highest, is reached exactly.
    using Magnitude = unsigned long long;
    constexpr Magnitude kHighest = std::numeric_limits<long long>::max();
    const Magnitude limit = negative ? kHighest + 1 : kHighest;
    Magnitude magnitude = 0;
    for (const char c : whole) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        const auto digit = static_cast<Magnitude>(c - '0');
        if (magnitude > (limit - digit) / 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + digit;
    }
    for (const char c : fraction) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
    }
    // Round half to even ("2.5" reads as 2, "3.5" as 4): the settings files already in use
    // were written expecting that rule. A value that rounds past the limit is refused like any
    // other that does not fit.
    if (!fraction.empty()) {
        const int firstDecimal = fraction.front() - '0';
        const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (firstDecimal > 5 || (firstDecimal == 5 && (restNonZero || magnitude % 2 == 1))) {
            if (magnitude == limit) {
                return std::nullopt;
            }
            ++magnitude;
        }
    }
    if (!negative) {
        return static_cast<long long>(magnitude);
    }
    // -(magnitude - 1) - 1 stays in range for the lowest value as well.
    return magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
}

std::optional<bool> textToFlag(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (scan::equalsNoCase(trimmed, "True")) {
        return true;
    }
    if (scan::equalsNoCase(trimmed, "False")) {
        return false;
    }
    if (const auto number = textToInteger(trimmed)) {
        return *number != 0;
    }
    return std::nullopt;
}

std::optional<bool> textToBox(std::string_view text) {
    const auto number = textToInteger(text);
    if (!number || *number < 0 || *number > 2) {
        return std::nullopt;
    }
    return *number == 1;
}

}  // namespace qor::options
