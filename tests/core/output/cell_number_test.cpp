#include "core/output/cell_number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>

namespace qor::output {
namespace {

// A number is exactly the double the text reads as, and shown with its decimals it is the text
// again.
TEST(CellNumber, PlainDecimalsAreNumbersShownAsWrittenAndAnythingElseStaysText) {
    for (const std::string text :
         {"0", "5", "160.0", "-0.25", "0.000", "0.1", "0.3", "-98765.4321", "999999999999999",
          "99999999999999.9", "9.99999999999999", "0.000000000000001", "123456.789012345"}) {
        const std::optional<CellNumber> number = plainDecimal(text);
        ASSERT_TRUE(number) << text;
        double read = 0;
        std::from_chars(text.data(), text.data() + text.size(), read);
        EXPECT_EQ(number->value, read) << text;
        char shown[64];
        const auto end = std::to_chars(shown, shown + sizeof shown, number->value,
                                       std::chars_format::fixed, number->decimals)
                             .ptr;
        EXPECT_EQ(std::string(shown, end), text);
    }
    // The rest of the rule shows in the workbook check (tests/xlsx).
    for (const std::string text : {"", "-", "1.2.3", "-0", "1234567890123456", "NaN"}) {
        EXPECT_FALSE(plainDecimal(text)) << text;
    }
}

}  // namespace
}  // namespace qor::output
