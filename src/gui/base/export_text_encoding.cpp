#include "gui/base/export_text_encoding.h"

#include "core/base/utf8.h"

namespace qor::gui {

bool isUtf8Text(const char* data, qsizetype size) {
    const std::string_view text(data, static_cast<std::size_t>(size));
    bool beyondAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            return false;
        }
        beyondAscii = true;
        i += length;
    }
    return beyondAscii;
}

QString exportText(const char* data, qsizetype size) {
    return isUtf8Text(data, size) ? QString::fromUtf8(data, size) : QString::fromLatin1(data, size);
}

}  // namespace qor::gui
