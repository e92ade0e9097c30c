#include "core/elements/wildcard_pattern.h"

#include <QChar>

#include "core/base/ascii.h"
#include "core/base/utf8.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

// Glob match of `pattern` against all of `text`: "*" any run, "?" one element. Linear in
// practice: on a mismatch only the last star moves on.
template <typename Pattern, typename Text>
bool globMatches(const Pattern& pattern, const Text& text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t star = Pattern::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (star != Pattern::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

char32_t foldCharacter(char32_t c) {
    return c < 0x80 ? static_cast<char32_t>(foldAscii(static_cast<char>(c)))
                    : QChar::toCaseFolded(c);
}

// `text` as case-folded characters, read in `encoding` (UTF-8 when its bytes are).
void foldInto(std::u32string& out, std::string_view text, TextEncoding encoding) {
    out.clear();
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t c = byte;
        std::size_t length = 1;
        if (byte >= 0x80) {
            if (encoding == TextEncoding::Utf8) {
                length = decodeUtf8(text, at, c);
                if (length == 0) {
                    c = 0xFFFD;  // not a character; matches only "?" or "*"
                    length = 1;
                }
            } else {
                c = codePageCharacter(byte, encoding);
            }
        }
        out += foldCharacter(c);
        at += length;
    }
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Case-folded ASCII text compared with a folded ASCII glob, without a copy.
struct FoldedBytes {
    std::string_view text;
    std::size_t size() const { return text.size(); }
    char operator[](std::size_t i) const { return foldAscii(text[i]); }
};

}  // namespace

WildcardPattern::WildcardPattern(std::string_view utf8Pattern) {
    empty_ = utf8Pattern.empty();
    const bool wild = utf8Pattern.find_first_of("*?") != std::string_view::npos;
    plain_ = !wild;
    text_ = utf8Pattern;
    // Text without wildcards is looked for anywhere: as if it were "*text*".
    std::string glob = wild ? std::string(utf8Pattern) : "*" + std::string(utf8Pattern) + "*";
    asciiOnly_ = isAscii(glob);
    hasQuestionMark_ = glob.find('?') != std::string::npos;
    for (char& c : glob) {
        c = foldAscii(c);
    }
    asciiFolded_ = glob;
    foldInto(folded_, glob, TextEncoding::Utf8);
}

bool WildcardPattern::matches(std::string_view text, const ExportEncoding& encoding) const {
    if (empty_) {
        return true;
    }
    // ASCII letters fold to ASCII only, and no byte of a multi-byte character is ASCII: an
    // ASCII pattern compares bytes, unless a "?" must step over whole characters.
    if (asciiOnly_ && plain_) {
        return scan::findNoCase(text, text_) != scan::kNotFound;
    }
    if (asciiOnly_ && (!hasQuestionMark_ || isAscii(text))) {
        return globMatches(std::string_view(asciiFolded_), FoldedBytes{text});
    }
    thread_local std::u32string folded;
    foldInto(folded, text, unitEncoding(text, encoding));
    return globMatches(std::u32string_view(folded_), folded);
}

bool WildcardPattern::matches(std::string_view utf8Text) const {
    return matches(utf8Text, ExportEncoding{TextEncoding::Utf8, true, true});
}

std::string WildcardPattern::requiredText() const {
    if (!asciiOnly_ || empty_) {
        return {};
    }
    std::string_view longest;
    std::string_view rest = text_;
    while (!rest.empty()) {
        const std::size_t wildcard = std::min(rest.find_first_of("*?"), rest.size());
        if (wildcard > longest.size()) {
            longest = rest.substr(0, wildcard);
        }
        rest.remove_prefix(std::min(wildcard + 1, rest.size()));
    }
    return std::string(longest);
}

}  // namespace qor::elements
