#include "core/platform/long_file_name.h"

#include <filesystem>
#include <system_error>

#include "core/platform/file_system.h"

namespace qor::platform {

std::string longFileName(std::string_view path) {
    if (path.empty() || path.front() == '"' || path.back() == '"') {
        return {};
    }
    try {
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::canonical(toFsPath(path), ec);
        if (ec || !std::filesystem::is_regular_file(canonical, ec) || ec) {
            return {};
        }
        return fromFsPath(canonical);
    } catch (const std::system_error&) {
        // A name the system cannot take (bytes that are no UTF-8 on Windows) opens nothing.
        return {};
    }
}

}  // namespace qor::platform
