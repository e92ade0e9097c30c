#include "core/base/message_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qor {
namespace {

// What may reach a terminal line: nothing that breaks it, drives the terminal or disguises the
// text; with backslashes doubled, every escape can be told from the text.
TEST(TerminalText, ShowsOnlyWhatCannotDriveOrDisguiseTheLine) {
    const struct {
        std::string text;
        std::string shown;
        std::string reversible;  // with Backslashes::Doubled; empty: as `shown`
    } cases[] = {
        {"plain \xc3\xa9 \xe2\x82\xac \xf0\x9d\x84\x9e",
         "plain \xc3\xa9 \xe2\x82\xac \xf0\x9d\x84\x9e", ""},
        {"a\r\nb\nc\rd\te", "a b\\nc\\rd\\te", ""},
        {"\x1b[31m\x7f", "\\x1b[31m\\x7f", ""},
        {"stray \xe9 and C1 \xc2\x9b", "stray \\xe9 and C1 \\xc2\\x9b", ""},
        // Characters that reorder or hide text: bidi controls, zero-width, separators, BOM.
        {"invoice\xe2\x80\xaegpj.qor", "invoice\\xe2\\x80\\xaegpj.qor", ""},
        {"\xe2\x81\xa6x\xe2\x81\xa9\xd8\x9c", "\\xe2\\x81\\xa6x\\xe2\\x81\\xa9\\xd8\\x9c", ""},
        {"a\xe2\x80\x8b"
         "b\xe2\x80\xa8"
         "c\xef\xbb\xbf",
         "a\\xe2\\x80\\x8b"
         "b\\xe2\\x80\\xa8"
         "c\\xef\\xbb\\xbf",
         ""},
        {"\xe2\x80\x94 dash and \xe2\x80\xb0 stay", "\xe2\x80\x94 dash and \xe2\x80\xb0 stay", ""},
        {"C:\\x\\t", "C:\\x\\t", "C:\\\\x\\\\t"},
        {"tab\there", "tab\\there", "tab\\there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(terminalText(c.text), c.shown);
        EXPECT_EQ(terminalText(c.text, Backslashes::Doubled),
                  c.reversible.empty() ? c.shown : c.reversible);
    }
}

}  // namespace
}  // namespace qor
