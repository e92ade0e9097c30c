#include "core/platform/folder_handle.h"

#include <windows.h>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"

// Windows has no calls relative to an open folder. What keeps a path from being redirected is
// the open folder itself: it is opened without FILE_SHARE_DELETE, so while it is open neither it
// nor a folder above it can be renamed, moved or removed, and a path through it stays the path
// of the folder that was checked. Links and junctions (reparse points) are opened as
// themselves and refused as symbolic links are elsewhere.
namespace qor::platform {
namespace {

[[noreturn]] void fail(const std::string& pattern, const std::string& path, DWORD error) {
    throw QorError(fillIn(pattern, {shownPath(path), windowsErrorText(error)}));
}

constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Opens the folder at `path`; INVALID_HANDLE_VALUE and the last error on failure.
HANDLE openFolder(const std::string& path, bool followLink) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return CreateFileW(windowsPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                       kShareAllButDelete, nullptr, OPEN_EXISTING, flags, nullptr);
}

DWORD attributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes
                                                            : INVALID_FILE_ATTRIBUTES;
}

bool isLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// Closes the folder when the last handle lets go of it.
class FolderHandle::Open {
public:
    explicit Open(HANDLE handle) : handle_(handle) {}
    ~Open() { CloseHandle(handle_); }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

FolderHandle::FolderHandle(std::shared_ptr<const Open> folder, std::string path)
    : folder_(std::move(folder)), path_(std::move(path)) {}

void checkEntryName(std::string_view name) {
    // A colon names a drive or another stream of a file, never an entry of this folder.
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\\:\0", 4)) != std::string_view::npos) {
        throw QorError(
            fillIn(translate("Files", "'%1' cannot name a file in a folder"), {std::string(name)}));
    }
}

FolderHandle FolderHandle::open(const std::string& path) {
    const HANDLE handle = openFolder(path, true);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(translate("Files", "Cannot open the folder '%1': %2"), path, GetLastError());
    }
    if (!isFolder(attributesOf(handle))) {
        CloseHandle(handle);
        fail(translate("Files", "Cannot open the folder '%1': %2"), path, ERROR_DIRECTORY);
    }
    return FolderHandle(std::make_shared<const Open>(handle), path);
}

void* FolderHandle::handle() const {
    if (folder_ == nullptr) {
        throw std::logic_error("no folder is open");
    }
    return folder_->handle();
}

std::string FolderHandle::pathOf(std::string_view name) const {
    return joinPath(path_, name);
}

FolderHandle FolderHandle::subfolder(std::string_view name, bool create, bool* made) const {
    checkEntryName(name);
    handle();  // a folder must be open
    const std::string path = pathOf(name);
    // Made first and opened after: a folder another run made in between is used as it is.
    const bool madeHere = create && CreateDirectoryW(windowsPath(path).c_str(), nullptr);
    if (create && !madeHere && GetLastError() != ERROR_ALREADY_EXISTS) {
        fail(translate("Files", "Cannot create the folder '%1': %2"), path, GetLastError());
    }
    if (made != nullptr) {
        *made = madeHere;
    }
    const HANDLE opened = openFolder(path, false);
    if (opened == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(windowsPath(path).c_str());
        if (isLink(attributes)) {
            throw QorError(fillIn(
                translate("Files",
                          "'%1' is a symbolic link: results are never written through a link"),
                {shownPath(path)}));
        }
        if (attributes != INVALID_FILE_ATTRIBUTES && !isFolder(attributes)) {
            throw QorError(fillIn(translate("Files", "'%1' is not a folder"), {shownPath(path)}));
        }
        fail(translate("Files", "Cannot open the folder '%1': %2"), path, error);
    }
    const DWORD attributes = attributesOf(opened);
    if (isLink(attributes) || !isFolder(attributes)) {
        CloseHandle(opened);
        throw QorError(fillIn(
            isLink(attributes)
                ? translate("Files",
                            "'%1' is a symbolic link: results are never written through a link")
                : translate("Files", "'%1' is not a folder"),
            {shownPath(path)}));
    }
    return FolderHandle(std::make_shared<const Open>(opened), path);
}

std::optional<FolderHandle> FolderHandle::existingSubfolder(std::string_view name) const {
    checkEntryName(name);
    const std::string path = pathOf(name);
    const HANDLE opened = openFolder(path, false);
    if (opened == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const DWORD attributes = attributesOf(opened);
    if (isLink(attributes) || !isFolder(attributes)) {
        CloseHandle(opened);
        return std::nullopt;
    }
    return FolderHandle(std::make_shared<const Open>(opened), path);
}

bool FolderHandle::removeEmptySubfolder(std::string_view name) const noexcept {
    if (!isOpen() || name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\:") != std::string_view::npos) {
        return false;
    }
    try {
        const std::wstring path = windowsPath(pathOf(name));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        // A junction removed would be a link removed: only real folders go.
        return isFolder(attributes) && !isLink(attributes) && RemoveDirectoryW(path.c_str());
    } catch (const std::exception&) {
        return false;  // a name the system cannot take is no folder to remove
    }
}

bool FolderHandle::contains(std::string_view name) const {
    checkEntryName(name);
    if (GetFileAttributesW(windowsPath(pathOf(name)).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        fail(translate("Files", "Cannot look for '%1': %2"), pathOf(name), error);
    }
    return false;
}

bool FolderHandle::holdsRegularFile(std::string_view name) const {
    checkEntryName(name);
    const DWORD attributes = GetFileAttributesW(windowsPath(pathOf(name)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !isFolder(attributes) && !isLink(attributes);
}

std::optional<std::string> FolderHandle::readRegularFile(std::string_view name,
                                                         std::size_t maxBytes) const {
    checkEntryName(name);
    const HANDLE file = CreateFileW(windowsPath(pathOf(name)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> content;
    LARGE_INTEGER size{};
    const DWORD attributes = attributesOf(file);
    if (GetFileType(file) == FILE_TYPE_DISK && !isFolder(attributes) && !isLink(attributes) &&
        GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) <= maxBytes) {
        content.emplace();
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr) ||
                content->size() + got > maxBytes) {
                content.reset();  // unreadable, or grown past the limit: as if it were not there
                break;
            }
            if (got == 0) {
                break;
            }
            content->append(buffer, got);
        }
    }
    CloseHandle(file);
    return content;
}

}  // namespace qor::platform
