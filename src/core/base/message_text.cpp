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

std::string terminalText(std::string_view text) {
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
        } else if (byte < 0x80) {
            line += text[i];
        } else if (const std::size_t length = utf8SequenceLength(text, i);
                   length == 0 ||
                   (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)) {
            // A stray byte, or a C1 control such as U+009B, which a terminal may take for the
            // start of an escape sequence.
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
