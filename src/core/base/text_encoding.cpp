#include "core/base/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "core/base/utf8.h"

namespace qor {
namespace {

// Bytes 0x80..0xFF of Windows-1250.
constexpr std::array<char16_t, 128> kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Bytes 0x80..0x9F of Windows-1252; from 0xA0 on it agrees with ISO-8859-1.
constexpr std::array<char16_t, 32> kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct NamedEncoding {
    TextEncoding encoding;
    std::string_view name;
    std::string_view charset;
};

constexpr std::array<NamedEncoding, 4> kEncodings = {{
    {TextEncoding::Utf8, "UTF-8", "utf-8"},
    {TextEncoding::Windows1250, "Windows-1250", "windows-1250"},
    {TextEncoding::Windows1252, "Windows-1252", "windows-1252"},
    {TextEncoding::Latin1, "ISO-8859-1", "iso-8859-1"},
}};

const NamedEncoding& named(TextEncoding encoding) {
    return kEncodings[static_cast<std::size_t>(encoding)];
}

bool sameNoCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

// The first byte from `at` on that is not ASCII, or text.size(); eight bytes a step, as
// exports are nearly all ASCII.
std::size_t skipAscii(std::string_view text, std::size_t at) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    while (at + 8 <= text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        if ((word & kHighBits) != 0) {
            break;
        }
        at += 8;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) {
        ++at;
    }
    return at;
}

// The length of the character at `at`: a well-formed UTF-8 sequence, otherwise one byte.
std::size_t characterLength(std::string_view text, std::size_t at, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8 || static_cast<unsigned char>(text[at]) < 0x80) {
        return 1;
    }
    const std::size_t length = utf8SequenceLength(text, at);
    return length == 0 ? 1 : length;
}

void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string_view encodingName(TextEncoding encoding) {
    return named(encoding).name;
}

std::optional<TextEncoding> encodingNamed(std::string_view name) {
    for (const NamedEncoding& entry : kEncodings) {
        if (sameNoCase(entry.name, name)) {
            return entry.encoding;
        }
    }
    return std::nullopt;
}

std::string choiceName(EncodingChoice choice) {
    return std::string(choice ? encodingName(*choice) : kAutomaticEncoding);
}

EncodingChoice choiceNamed(std::string_view name) {
    return encodingNamed(name);
}

void EncodingEvidence::add(std::string_view bytes) {
    for (std::size_t at = skipAscii(bytes, 0); at < bytes.size() && validUtf8_;
         at = skipAscii(bytes, at)) {
        beyondAscii_ = true;
        const std::size_t length = utf8SequenceLength(bytes, at);
        validUtf8_ = length != 0;
        at += length;
    }
    // Once the bytes are known not to be UTF-8, only whether they go beyond ASCII is left
    // to learn, and they do.
}

std::optional<std::string_view> ExportEncoding::declaredCharset() const {
    if (!beyondAscii && !chosen) {
        return std::nullopt;
    }
    return named(encoding).charset;
}

ExportEncoding decideEncoding(EncodingChoice choice, const EncodingEvidence& evidence) {
    if (choice) {
        return {*choice, evidence.beyondAscii(), true};
    }
    return {evidence.validUtf8() ? TextEncoding::Utf8 : kDefaultCodePage, evidence.beyondAscii(),
            false};
}

bool isValidUtf8(std::string_view text) {
    EncodingEvidence evidence;
    evidence.add(text);
    return evidence.validUtf8();
}

TextEncoding unitEncoding(std::string_view text, const ExportEncoding& decision) {
    if (decision.encoding == TextEncoding::Utf8 && isValidUtf8(text)) {
        return TextEncoding::Utf8;
    }
    return decision.codePage();
}

std::size_t characterBytes(std::string_view text, std::size_t count, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8) {
        return std::min(count, text.size());
    }
    std::size_t at = 0;
    for (std::size_t characters = 0; characters < count && at < text.size(); ++characters) {
        at += characterLength(text, at, encoding);
    }
    return at;
}

std::string_view takeCharacters(std::string_view text, std::size_t start, std::size_t count,
                                TextEncoding encoding) {
    // Values are nearly always ASCII: then characters are bytes.
    const std::size_t reach = std::min(text.size(), start + count);
    if (encoding != TextEncoding::Utf8 || skipAscii(text.substr(0, reach), 0) == reach) {
        return start >= text.size() ? std::string_view{} : text.substr(start, count);
    }
    const std::string_view rest = text.substr(characterBytes(text, start, encoding));
    return rest.substr(0, characterBytes(rest, count, encoding));
}

char32_t codePageCharacter(unsigned char byte, TextEncoding codePage) {
    if (byte < 0x80 || codePage == TextEncoding::Latin1 || codePage == TextEncoding::Utf8) {
        return byte;
    }
    if (codePage == TextEncoding::Windows1250) {
        return kWindows1250[byte - 0x80];
    }
    return byte < 0xA0 ? kWindows1252[byte - 0x80] : byte;
}

void appendAsUtf8(std::string& out, std::string_view text, const ExportEncoding& decision) {
    const TextEncoding encoding = unitEncoding(text, decision);
    if (encoding == TextEncoding::Utf8) {
        out.append(text);
        return;
    }
    for (const char c : text) {
        appendCodePoint(out, codePageCharacter(static_cast<unsigned char>(c), encoding));
    }
}

}  // namespace qor
