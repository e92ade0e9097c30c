#pragma once

#include <string>
#include <string_view>

#include "core/base/text_encoding.h"

namespace qor::elements {

// A filter text as a person types it, matched against texts without regard to case (Unicode
// simple case folding). "*" stands for any run of characters, "?" for one character. A text
// without either matches wherever it occurs ("FT101" finds "XFT101.PV"); a text with either
// must match the whole text ("FT*" finds what starts with FT). An empty pattern matches all.
class WildcardPattern {
public:
    WildcardPattern() = default;
    explicit WildcardPattern(std::string_view utf8Pattern);

    bool empty() const { return empty_; }
    // `text` is one unit of an export, read as unitEncoding() reads it under `encoding`.
    bool matches(std::string_view text, const ExportEncoding& encoding) const;
    // For text already in UTF-8.
    bool matches(std::string_view utf8Text) const;

    // ASCII text that every matching text holds, ASCII case ignored (the longest run of the
    // pattern without wildcards); empty when the pattern is not ASCII or is wildcards only.
    std::string requiredText() const;
    // Whether a text matches exactly when it holds requiredText() (ASCII case ignored): an
    // ASCII pattern without wildcards.
    bool matchesByRequiredText() const { return !empty_ && asciiOnly_ && plain_; }

private:
    bool empty_ = true;
    bool asciiOnly_ = true;  // the pattern holds ASCII only
    bool hasQuestionMark_ = false;
    bool plain_ = false;       // no wildcard: a substring search for `text_`
    std::string text_;         // the pattern as typed, for a plain ASCII search
    std::string asciiFolded_;  // the glob, ASCII letters folded, when asciiOnly_
    std::u32string folded_;    // the glob as case-folded characters
};

}  // namespace qor::elements
