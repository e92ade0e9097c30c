#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

#include "core/base/text_encoding.h"

namespace qor::gui {

// How the bytes of an export become text on screen, alike in the text view, the status bar and
// the comparison window: as the export's one encoding decision (ExportEncoding, made in the
// core) reads a unit of its text. The file's bytes are never changed.
QString exportText(std::string_view bytes, const ExportEncoding& encoding);
// Bytes already known to be text in `encoding` (part of a line read so).
QString decodedText(std::string_view bytes, TextEncoding encoding);
// `text` as a code page holds it; nothing when the code page has no byte for one of its
// characters.
std::optional<QByteArray> codePageBytes(const QString& text, TextEncoding codePage);

// Whether a byte only continues a UTF-8 character (and so takes no column of its own).
inline bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace qor::gui
