#include "core/options/value_conversion.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qor::options {
namespace {

constexpr std::optional<long long> kRefused = std::nullopt;

TEST(ValueConversion, IntegersRoundHalfToEvenAndAcceptOnlyWhatFits) {
    const struct {
        const char* text;
        std::optional<long long> value;
    } cases[] = {
        {"12", 12},
        {" -3 ", -3},
        {"\t+7\t", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"2.51", 3},
        {"-2.5", -2},
        {".5", 0},
        {"0000000000000000000000042", 42},
        {"", kRefused},
        {"-", kRefused},
        {"abc", kRefused},
        {"1x", kRefused},
        {"1 2", kRefused},
        // The highest and lowest values, and rounding that lands on or past them.
        {"9223372036854775807", 9223372036854775807},
        {"9223372036854775808", kRefused},
        {"9223372036854775709.6", 9223372036854775710},
        {"9223372036854775806.5", 9223372036854775806},
        {"9223372036854775807.4", 9223372036854775807},
        {"9223372036854775807.5", kRefused},
        {"9223372036854775806.51", 9223372036854775807},
        {"-9223372036854775808", -9223372036854775807 - 1},
        {"-9223372036854775807.5", -9223372036854775807 - 1},
        {"-9223372036854775808.5", -9223372036854775807 - 1},
        {"-9223372036854775808.51", kRefused},
        {"-9223372036854775809", kRefused},
        {"92233720368547758070", kRefused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<long long> value = textToInteger(c.text);
        EXPECT_EQ(value, c.value);
        if (value) {
            // What was accepted reads back unchanged from its own text, also as a flag.
            EXPECT_EQ(textToInteger(std::to_string(*value)), value);
            EXPECT_EQ(textToFlag(c.text), *value != 0);
        } else {
            EXPECT_FALSE(textToFlag(c.text));
        }
    }
}

}  // namespace
}  // namespace qor::options
