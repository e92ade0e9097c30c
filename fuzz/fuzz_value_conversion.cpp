// Fuzz target: the conversion of stored texts to integers and flags. A text is accepted exactly
// when its value, rounded half to even, fits in a long long; what is accepted reads back
// unchanged from its own decimal text; a flag and a box state agree with the integer it reads.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/options/value_conversion.h"
#include "core/scan/text_rules.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

__extension__ using Wide = __int128;

// An independent reading of the same rule, in a wider type: the rounded value, or nothing
// for a text that is malformed or whose value is beyond every long long by far.
std::optional<Wide> referenceValue(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if ((whole.empty() && fraction.empty()) || !digits(whole) || !digits(fraction)) {
        return std::nullopt;
    }
    constexpr Wide kFar = Wide{1} << 100;
    Wide value = 0;
    for (const char c : whole) {
        value = value * 10 + (c - '0');
        if (value > kFar) {
            return kFar;  // refused either way
        }
    }
    // Compare the fraction with one half: above, exactly, or below.
    const bool aboveHalf =
        !fraction.empty() &&
        (fraction[0] > '5' ||
         (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string_view::npos));
    const bool exactlyHalf = !fraction.empty() && fraction[0] == '5' && !aboveHalf;
    if (aboveHalf || (exactlyHalf && value % 2 == 1)) {
        ++value;
    }
    return negative ? -value : value;
}

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<long long> value = options::textToInteger(text);

    const std::optional<fuzz::Wide> reference = fuzz::referenceValue(text);
    const bool fits = reference && *reference >= std::numeric_limits<long long>::min() &&
                      *reference <= std::numeric_limits<long long>::max();
    fuzz::require(value.has_value() == fits, "accepted exactly when the rounded value fits");
    if (value) {
        fuzz::require(*value == *reference, "the rounded value");
        fuzz::require(options::textToInteger(std::to_string(*value)) == value,
                      "an accepted value reads back from its own text");
    }

    fuzz::require(
        options::textToBox(text) ==
            (value && *value >= 0 && *value <= 2 ? std::optional(*value == 1) : std::nullopt),
        "a box is checked for 1, clear for 0 and 2, nothing else");

    const std::optional<bool> flag = options::textToFlag(text);
    std::string_view trimmed = text;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(" \t"), trimmed.size()));
    trimmed = trimmed.substr(0, trimmed.find_last_not_of(" \t") + 1);
    if (scan::equalsNoCase(trimmed, "True") || scan::equalsNoCase(trimmed, "False")) {
        fuzz::require(flag == scan::equalsNoCase(trimmed, "True"), "a flag spelt out");
    } else {
        fuzz::require(flag.has_value() == value.has_value() && (!flag || *flag == (*value != 0)),
                      "a flag reads as its integer does");
    }
    return 0;
}
