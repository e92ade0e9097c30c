#include "core/scan/text_rules.h"

#include "core/scan/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

namespace qor::scan {
namespace {

// A slow but obviously right reference for the accelerated search.
std::size_t naiveFind(std::string_view hay, std::string_view needle, std::size_t from) {
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        if (equalsNoCase(hay.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return kNotFound;
}

TEST(TextRules, FindIgnoresAsciiCaseOnly) {
    EXPECT_EQ(findNoCase("  :name  TI101", ":NAME"), 2u);
    EXPECT_EQ(findNoCase("xxAiS", "ais"), 2u);
    EXPECT_EQ(findNoCase("DAT(b)", "DAT(B)"), 0u);
    // '[' is 'A' + 26 and '@' sits just below 'A': neither may pass for a letter.
    EXPECT_EQ(findNoCase("@[I", "AI"), kNotFound);
    EXPECT_EQ(findNoCase("`i", "AI"), kNotFound);
    // Bytes above 127 match only themselves.
    EXPECT_EQ(findNoCase("\xC4I \xE4i", "\xE4I"), 3u);
    EXPECT_EQ(findNoCase("abc", "abcd"), kNotFound);
    EXPECT_EQ(findNoCase("abcabc", "ABC", 1), 3u);
    EXPECT_EQ(findNoCase("abc", "c", 3), kNotFound);
    EXPECT_EQ(findNoCase("abc", "x", 10), kNotFound);
}

TEST(TextRules, AcceleratedFindAgreesWithReference) {
    std::mt19937 random(7);
    const std::string alphabet = "aAiIsS:(bB) \r\n\x80\xE9";
    const std::string needles[] = {"AIS", "ai", ":NAME", "DAT(B)", "s", "i(", "\xE9S"};
    for (int round = 0; round < 400; ++round) {
        std::string hay(random() % 200, ' ');
        for (char& c : hay) {
            c = alphabet[random() % alphabet.size()];
        }
        for (const std::string& needle : needles) {
            const std::size_t from = hay.empty() ? 0 : random() % (hay.size() + 1);
            ASSERT_EQ(findNoCase(hay, needle, from), naiveFind(hay, needle, from))
                << "hay size " << hay.size() << " needle " << needle << " from " << from;
        }
    }
}

// The word-at-a-time comparisons of the parser and the CSV writer against byte-by-byte ones,
// near the end of the readable bytes too, with the bytes that differ from letters by the case
// bit only ('@' 'A', '[' '{', 0xC4 0xE4).
TEST(TextRules, WordComparisonsAgreeWithReference) {
    std::mt19937 random(11);
    const std::string alphabet = "aAiIsS:@[`{(bB), \"\r\n\xC4\xE4";
    const std::string patterns[] = {"AIS", ":NAME", "DAT(B)", "@[", "\xE4I", "ABCDEFGHIJKLMNOP"};
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        for (const std::string& pattern : patterns) {
            const CaselessPattern caseless(pattern);
            for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at) {
                ASSERT_EQ(caseless.matchesAt(text.data() + at, text.size() - at),
                          equalsNoCase(std::string_view(text).substr(at, pattern.size()), pattern))
                    << pattern << " at " << at << " in " << text;
            }
        }
        std::size_t commas = 0;
        bool others = false;
        for (const char c : text) {
            commas += c == ',';
            others |= c == '"' || c == '\r' || c == '\n';
        }
        const CsvSpecials specials = csvSpecialsOf(text.data(), text.size());
        EXPECT_EQ(specials.commas, commas);
        EXPECT_EQ(specials.quoteOrLineBreak, others);
        std::size_t lineEnds = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            lineEnds += text[i] == '\n' ||
                        (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
        }
        EXPECT_EQ(countLineEnds(text.data(), text.size()), lineEnds) << text;
    }
    std::string lines;  // more blocks than a byte can count
    for (int i = 0; i < 2000; ++i) {
        lines += "ab\r\ncd\re\n";
    }
    EXPECT_EQ(countLineEnds(lines.data(), lines.size()), 6000U);
    EXPECT_THROW(CaselessPattern(std::string(17, 'A')), std::length_error);
}

TEST(TextRules, HeaderRuleNeedsTheKindTokenThirteenCharactersOn) {
    // "AI" at position 1 and "AIS" at position 20 (1-based): a header.
    const std::string header = "AI800_1.3          AIS810";
    ASSERT_TRUE(headerDesignation(header, "AI", "AIS"));
    EXPECT_EQ(*headerDesignation(header, "AI", "AIS"), "AI800_1.3");
    // "AIS" at position 10: too close.
    EXPECT_FALSE(headerDesignation("AI1234567AIS", "AI", "AIS"));
    // Exactly 13 characters on is enough; 12 is not.
    EXPECT_TRUE(headerDesignation("AI" + std::string(11, ' ') + "AIS", "AI", "AIS"));
    EXPECT_FALSE(headerDesignation("AI" + std::string(10, ' ') + "AIS", "AI", "AIS"));
    // The first occurrence of the type token counts, in any case; the designation keeps the
    // line's letter case and is the 15 characters from there, trimmed of spaces only.
    EXPECT_EQ(*headerDesignation("  ai12\t.3        AIS", "AI", "AIS"), "ai12\t.3");
    EXPECT_EQ(*headerDesignation("xAIC1234567890123456 AIC", "AIC", "AIC"), "AIC123456789012");
    // The kind token may be the type token itself.
    EXPECT_TRUE(headerDesignation("PIDCON1        PIDCON", "PIDCON", "PIDCON"));
    EXPECT_FALSE(headerDesignation("PIDCON1 PIDCON", "PIDCON", "PIDCON"));
    // A line holding "AI" but no "AIS" 13 or more characters after it is no AI header,
    // though it can still be another type's header.
    const std::string aic = "AIC12          AIC";
    EXPECT_FALSE(headerDesignation(aic, "AI", "AIS"));
    EXPECT_TRUE(headerDesignation(aic, "AIC", "AIC"));
    EXPECT_FALSE(headerDesignation("DAT3           DAT(IL)", "DAT", "DAT(I)"));
}

TEST(TextRules, ParameterRuleTakesThirtyCharactersFifteenOn) {
    // The key stands in a field of 15 characters, the value field follows it.
    EXPECT_EQ(*parameterValue("  :NAME          TI101     ", ":NAME"), "TI101");
    EXPECT_EQ(*parameterValue("  :name          ti101", ":NAME"), "ti101");
    EXPECT_EQ(*parameterValue("  :NAME        TI101", ":NAME"), "101");
    // A key matches where it only begins a longer word.
    EXPECT_EQ(*parameterValue("  :NAMEX         V", ":NAME"), "V");
    // The first occurrence within a line counts.
    EXPECT_EQ(*parameterValue(":NAME          ONE :NAME          TWO", ":NAME"),
              "ONE :NAME          TWO");
    // Exactly 30 characters, trimmed.
    const std::string longValue(40, 'x');
    EXPECT_EQ(parameterValue(":DESCR         " + longValue, ":DESCR")->size(), 30u);
    // A line that ends before the value field gives an empty value, not none.
    ASSERT_TRUE(parameterValue("  :UNIT", ":UNIT"));
    EXPECT_EQ(*parameterValue("  :UNIT", ":UNIT"), "");
    EXPECT_FALSE(parameterValue("  NAME          X", ":NAME"));
    // Tabs are not trimmed; spaces are.
    EXPECT_EQ(*parameterValue(":UNIT          \tdegC \t ", ":UNIT"), "\tdegC \t");
}

}  // namespace
}  // namespace qor::scan
