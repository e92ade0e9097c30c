#include "core/compare/html_text.h"

#include <algorithm>
#include <cstdint>

namespace qor::compare {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendMarkedByte(std::string& out, unsigned char byte) {
    out += R"(<span class="esc">\x)";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
    out += "</span>";
}

// Appends the ASCII byte escaped; false for a byte that is not printable ASCII.
bool appendAscii(std::string& out, unsigned char byte) {
    switch (byte) {
        case '&':
            out += "&amp;";
            return true;
        case '<':
            out += "&lt;";
            return true;
        case '>':
            out += "&gt;";
            return true;
        case '"':
            out += "&quot;";
            return true;
        case '\'':
            out += "&#39;";
            return true;
        default:
            break;
    }
    if (byte < 0x20 || byte >= 0x7F) {
        return false;
    }
    out += static_cast<char>(byte);
    return true;
}

// The length of the UTF-8 sequence at `at` and its code point; 0 when the bytes there are not
// one (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t utf8Sequence(std::string_view text, std::size_t at, std::uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = codePoint << 6 | (next & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

void appendExportText(std::string& out, std::string_view bytes, const ExportEncoding& encoding) {
    std::string text;
    appendAsUtf8(text, bytes, encoding);
    appendUtf8Text(out, text);
}

void appendUtf8Text(std::string& out, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (!appendAscii(out, byte)) {
                appendMarkedByte(out, byte);
            }
            ++at;
            continue;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = utf8Sequence(text, at, codePoint);
        if (length == 0) {
            appendMarkedByte(out, byte);
            ++at;
            continue;
        }
        if (codePoint < 0xA0) {
            appendMarkedByte(out, static_cast<unsigned char>(codePoint));
        } else {
            out += "&#" + std::to_string(codePoint) + ";";
        }
        at += length;
    }
}

void appendHighlighted(std::string& oldOut, std::string& newOut, std::string_view oldValue,
                       std::string_view newValue, const ExportEncoding& oldEncoding,
                       const ExportEncoding& newEncoding) {
    std::string oldText;
    appendAsUtf8(oldText, oldValue, oldEncoding);
    std::string newText;
    appendAsUtf8(newText, newValue, newEncoding);
    const std::size_t shorter = std::min(oldText.size(), newText.size());
    const auto continues = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    std::size_t head = 0;
    while (head < shorter && oldText[head] == newText[head]) {
        ++head;
    }
    // The difference starts and ends at whole characters.
    while (head > 0 && ((head < oldText.size() && continues(oldText[head])) ||
                        (head < newText.size() && continues(newText[head])))) {
        --head;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail]) {
        ++tail;
    }
    while (tail > 0 && continues(oldText[oldText.size() - tail])) {
        --tail;
    }
    const auto append = [&](std::string& out, std::string_view value, std::string_view tag) {
        appendUtf8Text(out, value.substr(0, head));
        const std::string_view middle = value.substr(head, value.size() - head - tail);
        if (!middle.empty()) {
            out += "<" + std::string(tag) + ">";
            appendUtf8Text(out, middle);
            out += "</" + std::string(tag) + ">";
        }
        appendUtf8Text(out, value.substr(value.size() - tail));
    };
    append(oldOut, oldText, "del");
    append(newOut, newText, "ins");
}

}  // namespace qor::compare
