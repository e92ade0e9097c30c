#include "core/output/cell_number.h"

#include <array>
#include <cstdint>

namespace qor::output {
namespace {

constexpr int kMaxDigits = 15;

constexpr std::array<double, kMaxDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<CellNumber> plainDecimal(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    // Most cells are names and descriptions: one look at their first byte settles them.
    if (i >= text.size() || !isDigit(text[i])) {
        return std::nullopt;
    }
    const bool negative = i == 1;
    const std::size_t integerStart = i;
    std::int64_t digits = 0;  // the text's digits as one integer
    int significant = 0;      // digits from the first non-zero one on
    const auto take = [&](char c) {
        if (significant > 0 || c != '0') {
            if (++significant > kMaxDigits) {
                return false;
            }
        }
        digits = digits * 10 + (c - '0');
        return true;
    };
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (!take(text[i])) {
            return std::nullopt;
        }
    }
    if (text[integerStart] == '0' && i - integerStart > 1) {
        return std::nullopt;  // a leading zero: a code such as "007"
    }
    int decimals = 0;
    if (i < text.size()) {
        if (text[i] != '.' || ++i == text.size()) {
            return std::nullopt;
        }
        for (; i < text.size() && isDigit(text[i]); ++i, ++decimals) {
            if (decimals == kMaxDigits || !take(text[i])) {
                return std::nullopt;
            }
        }
        if (i < text.size()) {
            return std::nullopt;
        }
    }
    if (negative && digits == 0) {
        return std::nullopt;  // "-0" would show without its sign
    }
    // Both operands are exact (below 2^53 and 10^22), so the one division rounds correctly.
    const double magnitude =
        static_cast<double>(digits) / kPowersOfTen[static_cast<std::size_t>(decimals)];
    return CellNumber{negative ? -magnitude : magnitude, decimals};
}

}  // namespace qor::output
