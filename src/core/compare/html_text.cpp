#include "core/compare/html_text.h"

#include <algorithm>
#include <cstdint>

#include "core/base/ascii.h"
#include "core/base/html_escape.h"
#include "core/base/utf8.h"

namespace qor::compare {
namespace {

void appendMarkedByte(std::string& out, unsigned char byte) {
    out += R"(<span class="esc">\x)";
    appendHexByte(out, byte);
    out += "</span>";
}

// Appends the ASCII byte escaped (the apostrophe too); false for a byte that is not printable
// ASCII.
bool appendAscii(std::string& out, unsigned char byte) {
    const std::string_view entity = htmlEntity(static_cast<char>(byte));
    if (!entity.empty()) {
        out += entity;
        return true;
    }
    if (byte == '\'') {
        out += "&#39;";
        return true;
    }
    if (byte < 0x20 || byte >= 0x7F) {
        return false;
    }
    out += static_cast<char>(byte);
    return true;
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
        char32_t codePoint = 0;
        const std::size_t length = decodeUtf8(text, at, codePoint);
        if (length == 0) {
            appendMarkedByte(out, byte);
            ++at;
            continue;
        }
        if (codePoint < 0xA0) {
            appendMarkedByte(out, static_cast<unsigned char>(codePoint));
        } else {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(codePoint)) + ";";
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
