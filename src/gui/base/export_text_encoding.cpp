#include "gui/base/export_text_encoding.h"

namespace qor::gui {

QString exportText(std::string_view bytes, const ExportEncoding& encoding) {
    return decodedText(bytes, unitEncoding(bytes, encoding));
}

QString decodedText(std::string_view bytes, TextEncoding encoding) {
    const auto size = static_cast<qsizetype>(bytes.size());
    if (encoding == TextEncoding::Utf8) {
        return QString::fromUtf8(bytes.data(), size);
    }
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        *out++ = QChar(
            static_cast<char16_t>(codePageCharacter(static_cast<unsigned char>(c), encoding)));
    }
    return text;
}

std::optional<QByteArray> codePageBytes(const QString& text, TextEncoding codePage) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        int found = c.unicode() < 0x80 ? c.unicode() : -1;
        for (int byte = 0x80; found < 0 && byte <= 0xFF; ++byte) {
            if (codePageCharacter(static_cast<unsigned char>(byte), codePage) == c.unicode()) {
                found = byte;
            }
        }
        if (found < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(found);
    }
    return bytes;
}

}  // namespace qor::gui
