// Export bytes on the changes page: every character shows as itself, a reference or a visible
// mark, and the highlight of a changed value covers exactly what differs.
#include "core/compare/html_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qor::compare {
namespace {

const ExportEncoding kLatin1{TextEncoding::Latin1, true, true};

TEST(HtmlText, ExportBytesAreEscapedOrMarked) {
    const struct {
        std::string bytes;
        std::string page;
    } cases[] = {
        {"a&b<c>\"'", "a&amp;b&lt;c&gt;&quot;&#39;"},
        {std::string("\x00\x1F\x7F", 3),
         R"(<span class="esc">\x00</span><span class="esc">\x1F</span><span class="esc">\x7F</span>)"},
        {"\x80\x9F\xA0\xFF",
         R"(<span class="esc">\x80</span><span class="esc">\x9F</span>&#160;&#255;)"},
    };
    for (const auto& c : cases) {
        std::string out;
        appendExportText(out, c.bytes, kLatin1);
        EXPECT_EQ(out, c.page);
    }
}

TEST(HtmlText, HighlightCoversWhatDiffersWithoutOverlappingHeadAndTail) {
    const struct {
        const char* oldValue;
        const char* newValue;
        const char* oldPage;
        const char* newPage;
    } cases[] = {
        {"10", "100", "10", "10<ins>0</ins>"},
        {"100", "10", "10<del>0</del>", "10"},
        {"aXb", "aYb", "a<del>X</del>b", "a<ins>Y</ins>b"},
        {"abc", "xyz", "<del>abc</del>", "<ins>xyz</ins>"},
        {"", "<new>", "", "<ins>&lt;new&gt;</ins>"},
        {"aba", "aba aba", "aba", "aba<ins> aba</ins>"},
    };
    for (const auto& c : cases) {
        std::string oldPage;
        std::string newPage;
        appendHighlighted(oldPage, newPage, c.oldValue, c.newValue, kLatin1, kLatin1);
        EXPECT_EQ(oldPage, c.oldPage) << c.oldValue << " -> " << c.newValue;
        EXPECT_EQ(newPage, c.newPage) << c.oldValue << " -> " << c.newValue;
    }
}

}  // namespace
}  // namespace qor::compare
