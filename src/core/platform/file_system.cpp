#include "core/platform/file_system.h"

#include <system_error>

#include "core/base/qor_error.h"
#include "core/base/translation.h"

namespace qor::platform {

std::filesystem::path toFsPath(std::string_view path) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
    return std::filesystem::path(std::string(path));  // the bytes themselves, whatever they are
#endif
}

std::string fromFsPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.native();
#endif
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!joined.empty() && joined.back() != separator && joined.back() != '/') {
        joined += separator;
    }
    joined += name;
    return joined;
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(toFsPath(path), ec);
    if (ec) {
        throw QorError(
            fillIn(translate("Files", "Cannot look for '%1': %2"), {path, ec.message()}));
    }
    return exists;
}

std::FILE* openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::wstring widePath = toFsPath(path).wstring();
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(widePath.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace qor::platform
