#pragma once

#include <QString>
#include <string_view>

namespace qor::gui {

// How the bytes of an export become text on screen, alike in the text view and the status
// bar. A line (or a value taken from one) that is valid UTF-8 and holds a character beyond
// ASCII is read as UTF-8; anything else as Latin-1, one byte a character, as older exports are
// written. The file's bytes are never changed: the scan and the results keep them as they are.
bool isUtf8Text(const char* data, qsizetype size);
QString exportText(const char* data, qsizetype size);
inline QString exportText(std::string_view bytes) {
    return exportText(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Whether a byte only continues a UTF-8 character (and so takes no column of its own).
inline bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace qor::gui
