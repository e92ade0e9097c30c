#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How the bytes of an export are read as text. An export declares no encoding: bytes that are
// valid UTF-8 are read as UTF-8, anything else as a single-byte code page (Windows-1250 unless
// the user chose another). The decision is made once per export and used wherever its text is
// shown, cut or written into a format that declares an encoding. CSV files and element pages
// keep the export's bytes as they are.
namespace qor {

enum class TextEncoding { Utf8, Windows1250, Windows1252, Latin1 };

inline constexpr TextEncoding kDefaultCodePage = TextEncoding::Windows1250;

// What the user asked for: nothing for "Automatic", or one encoding.
using EncodingChoice = std::optional<TextEncoding>;

// "UTF-8", "Windows-1250", "Windows-1252", "ISO-8859-1": stored and shown so.
std::string_view encodingName(TextEncoding encoding);
// The encoding of a name, ASCII case ignored ("utf-8" as well as "UTF-8").
std::optional<TextEncoding> encodingNamed(std::string_view name);
// "Automatic" or the encoding's name, and back; an unknown text reads as "Automatic".
inline constexpr std::string_view kAutomaticEncoding = "Automatic";
std::string choiceName(EncodingChoice choice);
EncodingChoice choiceNamed(std::string_view name);

// What bytes tell about their encoding. Fed whole lines (a character never spans a line end),
// in any order: evidence of separate stretches merges.
class EncodingEvidence {
public:
    void add(std::string_view bytes);
    void merge(const EncodingEvidence& other) {
        beyondAscii_ |= other.beyondAscii_;
        validUtf8_ &= other.validUtf8_;
    }
    bool beyondAscii() const { return beyondAscii_; }
    bool validUtf8() const { return validUtf8_; }
    bool operator==(const EncodingEvidence&) const = default;

private:
    bool beyondAscii_ = false;
    bool validUtf8_ = true;
};

// The decision for one export.
struct ExportEncoding {
    TextEncoding encoding = TextEncoding::Utf8;
    bool beyondAscii = false;  // the bytes it was made from hold more than ASCII
    bool chosen = false;       // the user's choice, not a detection

    // The charset a page holding the export's bytes declares ("utf-8", "windows-1250"), or
    // nothing for an export of plain ASCII read automatically: its pages keep what they always
    // declared.
    std::optional<std::string_view> declaredCharset() const;
    // The code page a unit of text (a line, a value) that is not valid UTF-8 is read in.
    TextEncoding codePage() const {
        return encoding == TextEncoding::Utf8 ? kDefaultCodePage : encoding;
    }
    bool operator==(const ExportEncoding&) const = default;
};

ExportEncoding decideEncoding(EncodingChoice choice, const EncodingEvidence& evidence);

// Whether `text` is well-formed UTF-8 (pure ASCII is).
bool isValidUtf8(std::string_view text);

// How `text`, one unit of an export (a line, a value), is read under `decision`: as UTF-8 when
// the export is UTF-8 and the unit is valid UTF-8, otherwise in the decision's code page.
TextEncoding unitEncoding(std::string_view text, const ExportEncoding& decision);

// The number of bytes the first `count` characters of `text` take. In UTF-8 a well-formed
// sequence is one character and any other byte one, so no cut splits a character.
std::size_t characterBytes(std::string_view text, std::size_t count, TextEncoding encoding);
// Up to `count` characters from character `start` of `text`; empty when `start` lies beyond.
std::string_view takeCharacters(std::string_view text, std::size_t start, std::size_t count,
                                TextEncoding encoding);

// The Unicode character a byte from 0x80 up stands for in a code page (bytes the code page
// leaves undefined stand for the control character of the same number).
char32_t codePageCharacter(unsigned char byte, TextEncoding codePage);

// `text` (one unit of the export) appended to `out` as UTF-8, read as unitEncoding() reads it.
void appendAsUtf8(std::string& out, std::string_view text, const ExportEncoding& decision);

}  // namespace qor
