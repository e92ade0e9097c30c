#include "core/elements/value_order.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/base/ascii.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

ValueKey valueKey(std::string_view text) {
    const std::optional<double> value = decimalValue(text);
    return {value ? 0 : (scan::trimSpaces(text).empty() ? 2 : 1), value.value_or(0), text};
}

int compareValueKeys(const ValueKey& a, const ValueKey& b) {
    if (a.rank != b.rank) {
        return a.rank < b.rank ? -1 : 1;
    }
    if (a.rank == 0 && a.value != b.value) {
        return a.value < b.value ? -1 : 1;
    }
    return compareNatural(a.text, b.text);
}

// A digit run is its significant digits behind one byte that counts them, '0' + count (so that
// it still sorts among other bytes as a digit does); from nine digits on, '9' and a second byte
// with the rest of the count.
void appendNaturalKey(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!isAsciiDigit(text[i])) {
            out += foldAscii(text[i++]);
            continue;
        }
        while (i < text.size() && text[i] == '0') {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && isAsciiDigit(text[i])) {
            ++i;
        }
        const std::size_t digits = i - start;
        if (digits < 9) {
            out += static_cast<char>('0' + digits);
        } else {
            out += '9';
            out += static_cast<char>(std::min<std::size_t>(digits - 9, 0xFF));
        }
        out.append(text.substr(start, i - start));
    }
}

std::optional<double> decimalValue(std::string_view text) {
    text = scan::trimSpaces(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hex digits: only plain decimals count.
    std::size_t at = text.empty() || text.front() != '-' ? 0 : 1;
    std::size_t digits = 0;
    for (; at < text.size() && isAsciiDigit(text[at]); ++at, ++digits) {
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && isAsciiDigit(text[at]); ++at, ++digits) {
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent == text.size() || !isAsciiDigit(text[exponent])) {
            return std::nullopt;
        }
        for (at = exponent; at < text.size() && isAsciiDigit(text[at]); ++at) {
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: still a number, at the end of its sign's range.
        const bool negative = text.front() == '-';
        const bool huge = text.find_first_of("eE") == std::string_view::npos ||
                          text[text.find_first_of("eE") + 1] != '-';
        return huge ? (negative ? -HUGE_VAL : HUGE_VAL) : (negative ? -0.0 : 0.0);
    }
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value)
                                                                    : std::nullopt;
}

std::string naturalKey(std::string_view text) {
    std::string key;
    appendNaturalKey(key, text);
    return key;
}

int compareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    int zeros = 0;  // the first difference in leading zeros, when all else is equal
    while (i < a.size() && j < b.size()) {
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            const std::size_t aStart = i;
            const std::size_t bStart = j;
            while (i < a.size() && a[i] == '0') {
                ++i;
            }
            while (j < b.size() && b[j] == '0') {
                ++j;
            }
            if (zeros == 0) {
                zeros = threeWay(i - aStart, j - bStart);
            }
            const std::size_t aDigits = i;
            const std::size_t bDigits = j;
            while (i < a.size() && isAsciiDigit(a[i])) {
                ++i;
            }
            while (j < b.size() && isAsciiDigit(b[j])) {
                ++j;
            }
            if (i - aDigits != j - bDigits) {
                return i - aDigits < j - bDigits ? -1 : 1;
            }
            const int digits =
                a.substr(aDigits, i - aDigits).compare(b.substr(bDigits, j - bDigits));
            if (digits != 0) {
                return digits < 0 ? -1 : 1;
            }
            continue;
        }
        const auto x = static_cast<unsigned char>(foldAscii(a[i]));
        const auto y = static_cast<unsigned char>(foldAscii(b[j]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return zeros != 0 ? zeros : threeWay(a, b);
}

int compareValues(std::string_view a, std::string_view b) {
    return compareValueKeys(valueKey(a), valueKey(b));
}

}  // namespace qor::elements
