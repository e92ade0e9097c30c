#include "core/base/message_text.h"

#include <algorithm>

#include "core/base/ascii.h"
#include "core/base/utf8.h"

namespace qor {
namespace {

void appendEscaped(std::string& line, unsigned char byte) {
    line += "\\x";
    appendHexByte(line, byte, HexCase::Lower);
}

// A character that reorders, hides or breaks what a terminal shows: the bidirectional
// controls, the zero-width characters, the word joiner and invisible operators, the line and
// paragraph separators and the byte-order mark.
bool isDisguising(char32_t c) {
    return c == 0x061C || (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

char32_t decodeAt(std::string_view text, std::size_t at, std::size_t length) {
    const auto byte = [&](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[at + k]));
    };
    switch (length) {
        case 2:
            return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
        case 3:
            return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
        case 4:
            return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
                   (byte(3) & 0x3F);
        default:
            return byte(0);
    }
}

}  // namespace

std::string quotedExcerpt(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return "'" + std::string(text) + "'";
    }
    std::size_t end = 0;
    while (end < limit) {
        const std::size_t length = std::max<std::size_t>(utf8SequenceLength(text, end), 1);
        if (end + length > limit) {
            break;
        }
        end += length;
    }
    return "'" + std::string(text.substr(0, end)) + "...' (" + std::to_string(text.size()) +
           " bytes)";
}

std::string terminalText(std::string_view text, Backslashes backslashes) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else if (byte == '\n') {
            line += "\\n";
        } else if (byte == '\r') {
            line += "\\r";
        } else if (byte == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            appendEscaped(line, byte);
        } else if (byte == '\\' && backslashes == Backslashes::Doubled) {
            line += "\\\\";
        } else if (byte < 0x80) {
            line += text[i];
        } else if (const std::size_t length = utf8SequenceLength(text, i);
                   length == 0 ||
                   (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) ||
                   isDisguising(decodeAt(text, i, length))) {
            // A stray byte, a C1 control such as U+009B, which a terminal may take for the
            // start of an escape sequence, or a character that disguises the text.
            const std::size_t shown = length == 0 ? 1 : length;
            for (std::size_t k = 0; k < shown; ++k) {
                appendEscaped(line, static_cast<unsigned char>(text[i + k]));
            }
            i += shown - 1;
        } else {
            line.append(text.substr(i, length));
            i += length - 1;
        }
    }
    return line;
}

}  // namespace qor
