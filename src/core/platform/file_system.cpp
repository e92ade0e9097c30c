#include "core/platform/file_system.h"

#include <cerrno>
#include <system_error>

#include "core/base/qor_error.h"

namespace qor::platform {
namespace {

// `pattern` says what failed on %1, the path, because of %2, the system's reason.
[[noreturn]] void fail(const std::string& pattern, const std::string& path, int error) {
    throw QorError(fillIn(pattern, {path, std::generic_category().message(error)}));
}

[[noreturn]] void fail(const std::string& pattern, const std::string& path,
                       const std::error_code& ec) {
    throw QorError(fillIn(pattern, {path, ec.message()}));
}

}  // namespace

std::filesystem::path toFsPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string fromFsPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
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
        fail(translate("Files", "Cannot look for '%1': %2"), path, ec);
    }
    return exists;
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    const bool exists = std::filesystem::is_directory(toFsPath(path), ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        fail(translate("Files", "Cannot look for '%1': %2"), path, ec);
    }
    return exists;
}

void createFolder(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::create_directory(toFsPath(path), ec) || ec) {
        if (!ec) {
            ec = std::make_error_code(std::errc::file_exists);
        }
        fail(translate("Files", "Cannot create the folder '%1': %2"), path, ec);
    }
}

std::string canonicalFolder(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::canonical(toFsPath(path), ec);
    if (ec) {
        fail(translate("Files", "Cannot resolve the folder '%1': %2"), path, ec);
    }
    return fromFsPath(canonical);
}

std::string readWholeFile(const std::string& path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        fail(translate("Files", "Cannot open '%1': %2"), path, errno);
    }
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        fail(translate("Files", "Cannot read '%1': %2"), path, error);
    }
    return content;
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(toFsPath(path), ec));
}

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    const std::filesystem::path file = toFsPath(path);
    if (!isRegularFile(path) || std::filesystem::file_size(file, ec) > maxBytes || ec) {
        return std::nullopt;
    }
    try {
        std::string content = readWholeFile(path);
        if (content.size() > maxBytes) {
            return std::nullopt;
        }
        return content;
    } catch (const QorError&) {
        return std::nullopt;  // gone or unreadable since the check: as if it were not there
    }
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

bool removeFile(const std::string& path) noexcept {
    std::error_code ec;
    return std::filesystem::remove(toFsPath(path), ec) && !ec;
}

}  // namespace qor::platform
