#include "core/base/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace qor {
namespace {

// One export's text in the encodings it may come in: how it is decided, cut at 30 characters
// and shown. The German text has its 30th character (Ö) two bytes long in UTF-8 and the dash
// before it across byte 30; the Czech one differs between the two Windows code pages.
TEST(TextEncoding, DecidesCutsAndDecodesEachEncoding) {
    const std::string german = "Speisewasser Temperatur °C – Ölbrenner";
    const std::string german1252 =
        "Speisewasser Temperatur \xB0"
        "C \x96 \xD6lbrenner";
    const std::string czech1250 =
        "Teplota nap\xE1jec\xED vody \xB0"
        "C \x96 \xC8"
        "erpadlo";
    struct Case {
        const char* name;
        std::string bytes;
        EncodingChoice choice;
        TextEncoding decided;
        std::optional<std::string_view> charset;
        std::string cut;    // the first 30 characters, as bytes
        std::string shown;  // the bytes as UTF-8
    };
    using enum TextEncoding;
    const EncodingChoice automatic{};
    const Case cases[] = {
        {"utf-8", german, automatic, Utf8, "utf-8", "Speisewasser Temperatur °C – Ö", german},
        {"windows-1250 detected", czech1250, automatic, Windows1250, "windows-1250",
         czech1250.substr(0, 30), "Teplota napájecí vody °C – Čerpadlo"},
        {"windows-1252 chosen", german1252, Windows1252, Windows1252, "windows-1252",
         german1252.substr(0, 30), german},
        {"iso-8859-1 chosen", german1252, Latin1, Latin1, "iso-8859-1", german1252.substr(0, 30),
         "Speisewasser Temperatur °C \u0096 Ölbrenner"},
        {"utf-8 read as a code page", german, Windows1250, Windows1250, "windows-1250",
         german.substr(0, 30),
         "Speisewasser Temperatur \u00C2\u00B0C \u00E2\u20AC\u201C \u0102\u2013lbrenner"},
        {"ascii keeps the pages' charset", "Feed water temperature, boiler 2", automatic, Utf8,
         std::nullopt, "Feed water temperature, boiler", "Feed water temperature, boiler 2"},
        {"ascii with a chosen encoding", "TT1201", Windows1252, Windows1252, "windows-1252",
         "TT1201", "TT1201"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncodingEvidence evidence;
        evidence.add(c.bytes);
        const ExportEncoding decision = decideEncoding(c.choice, evidence);
        EXPECT_EQ(decision.encoding, c.decided);
        EXPECT_EQ(decision.declaredCharset(), c.charset);
        EXPECT_EQ(takeCharacters(c.bytes, 0, 30, decision.encoding), c.cut);
        std::string shown;
        appendAsUtf8(shown, c.bytes, decision);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(TextEncoding, MalformedBytes) {
    // Evidence of separate stretches merges; one bad sequence anywhere (a surrogate) makes it
    // no UTF-8.
    EncodingEvidence evidence;
    evidence.add("t\xC3\xA9");
    EncodingEvidence bad;
    bad.add("\xED\xA0\x80");
    evidence.merge(bad);
    EXPECT_TRUE(evidence.beyondAscii() && !evidence.validUtf8());
    // In UTF-8 a byte that starts no sequence is one character; a cut never splits a sequence.
    EXPECT_EQ(takeCharacters("ab\xE2\x80\x93xy", 2, 2, TextEncoding::Utf8), "\xE2\x80\x93x");
    EXPECT_EQ(takeCharacters("a\x96\xE2\x80z", 1, 2, TextEncoding::Utf8), "\x96\xE2");
    EXPECT_EQ(takeCharacters("abc", 5, 2, TextEncoding::Utf8), "");
    // A value of a UTF-8 export that is not UTF-8 itself is read in the default code page.
    std::string shown;
    appendAsUtf8(shown, "\xC8tvrt", decideEncoding({}, {}));
    EXPECT_EQ(shown, "Čtvrt");
    EXPECT_EQ(choiceNamed(choiceName(TextEncoding::Windows1250)), TextEncoding::Windows1250);
}

}  // namespace
}  // namespace qor
