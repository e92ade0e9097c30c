#include "core/platform/path_names.h"

namespace qor::platform {

std::string safeFileNamePart(std::string_view text) {
    std::string safe(text);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return safe;
}

}  // namespace qor::platform
