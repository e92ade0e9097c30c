#include "gui/app/export_text_encoding.h"

namespace qor::gui {

bool isUtf8Text(const char* data, qsizetype size) {
    bool beyondAscii = false;
    for (qsizetype i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(data[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyondAscii = true;
        // The sequence length and the smallest second byte that is neither overlong nor a
        // surrogate nor beyond U+10FFFF.
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > size) {
            return false;
        }
        const auto second = static_cast<unsigned char>(data[i + 1]);
        if (second < low || second > high) {
            return false;
        }
        for (int k = 2; k < length; ++k) {
            if (!continuesCharacter(data[i + k])) {
                return false;
            }
        }
        i += length;
    }
    return beyondAscii;
}

QString exportText(const char* data, qsizetype size) {
    return isUtf8Text(data, size) ? QString::fromUtf8(data, size) : QString::fromLatin1(data, size);
}

}  // namespace qor::gui
