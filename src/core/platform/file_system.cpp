#include "core/platform/file_system.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/path_names.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <string.h>
#endif

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
        throw QorError(fillIn(translate("Files", "Cannot look for '%1': %2"),
                              {shownPath(path), ec.message()}));
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

std::uint64_t filePosition(std::FILE* file) {
#ifdef _WIN32
    return static_cast<std::uint64_t>(_ftelli64(file));
#else
    return static_cast<std::uint64_t>(ftello(file));
#endif
}

std::string_view pathSeparators() {
#ifdef _WIN32
    return "/\\";
#else
    return "/";
#endif
}

std::string_view forbiddenFileNameCharacters() {
#ifdef _WIN32
    return "<>?[]:|*\"";
#else
    return "<>?[]:|*\"\\";
#endif
}

std::size_t findBytes(std::string_view data, std::size_t from, std::string_view needle) {
    if (from > data.size()) {
        return std::string_view::npos;
    }
#ifdef _WIN32
    const auto found =
        std::search(data.begin() + static_cast<std::ptrdiff_t>(from), data.end(),
                    std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return found == data.end() ? std::string_view::npos
                               : static_cast<std::size_t>(found - data.begin());
#else
    const void* found =
        ::memmem(data.data() + from, data.size() - from, needle.data(), needle.size());
    return found == nullptr
               ? std::string_view::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - data.data());
#endif
}

#ifdef _WIN32
std::wstring windowsPath(std::string_view path) {
    constexpr std::wstring_view kLong = L"\\\\?\\";
    std::wstring text = toFsPath(path).make_preferred().wstring();
    if (text.starts_with(kLong) || text.starts_with(L"\\\\.\\")) {
        return text;  // already long, or a device
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(toFsPath(path), ec);
    if (!ec) {
        text = absolute.lexically_normal().make_preferred().wstring();
    }
    if (text.starts_with(L"\\\\")) {
        return std::wstring(kLong) + L"UNC\\" + text.substr(2);
    }
    if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') {
        return std::wstring(kLong) + text;
    }
    return text;  // a relative path that cannot be made absolute: the system decides
}

std::string windowsErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(error);
    }
    return fromFsPath(std::filesystem::path(text));
}
#endif

}  // namespace qor::platform
