#pragma once

#include <optional>
#include <string>
#include <string_view>

// The order of the values in the element tables: designations naturally, parameter values as
// numbers first, then text, then nothing.
namespace qor::elements {

// Natural order of designations: digit runs compare as numbers, the rest without regard to
// ASCII case ("AI800_1.2" before "AI800_1.10"). Negative, zero or positive.
int compareNatural(std::string_view a, std::string_view b);

// A key whose byte order is compareNatural's order up to ties (texts that differ only in case
// or leading zeros): ASCII letters folded, each run of digits as "0", its significant digits'
// count (one byte, two from nine digits on), then those digits.
std::string naturalKey(std::string_view text);

// Order of parameter values: values that read as decimal numbers ("12", "-0.5", "1E3",
// spaces around allowed) compare as numbers and come first; other text follows, compared
// naturally; empty values (or only spaces) come last. Equal numbers fall back on their text.
int compareValues(std::string_view a, std::string_view b);

// The value of `text` when it is a decimal number: an optional sign, digits with at most one
// decimal point (at least one digit), an optional exponent, spaces around allowed. A number
// beyond a double's range is still one, at the end of its sign's range.
std::optional<double> decimalValue(std::string_view text);

// A value's place in compareValues' order, worked out once for many comparisons.
struct ValueKey {
    int rank = 0;  // 0 a number, 1 other text, 2 nothing but spaces
    double value = 0;
    std::string_view text;
};
ValueKey valueKey(std::string_view text);
int compareValueKeys(const ValueKey& a, const ValueKey& b);

// Appends naturalKey(text) to `out`.
void appendNaturalKey(std::string& out, std::string_view text);

}  // namespace qor::elements
