#include <windows.h>

#include <utility>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"
#include "core/platform/result_file.h"
#include "core/platform/result_file_names.h"

// The Windows half of result files: the temporary file is created with CREATE_NEW (which
// never opens an existing file or follows a link planted under the name), flushed with
// FlushFileBuffers and named with MoveFileExW and MOVEFILE_WRITE_THROUGH. Error numbers here
// are Windows error codes.
namespace qor::platform {

const int kFileNotOpen = ERROR_INVALID_HANDLE;

namespace {

[[noreturn]] void failWith(const std::string& pattern, const std::string& path, DWORD error) {
    throw QorError(fillIn(pattern, {shownPath(path), windowsErrorText(error)}));
}

bool isLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Returns 0 or the error code.
DWORD syncFile(HANDLE file) {
    return FlushFileBuffers(file) ? 0 : GetLastError();
}

// The entries of the folder at `path` for which `wanted` holds, all listed before any goes.
template <typename Wanted>
std::vector<std::pair<std::wstring, DWORD>> entriesIn(const std::wstring& path, Wanted wanted) {
    std::vector<std::pair<std::wstring, DWORD>> entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && wanted(name)) {
            entries.emplace_back(name, found.dwFileAttributes);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

// Removes the folder at `path` with everything in it. A link or junction inside goes as a
// link: what it points to is never touched.
void removeFolderTree(const std::wstring& path, int depth) noexcept {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (!isFolder(attributes) || isLink(attributes)) {
        return;
    }
    for (const auto& [name, entryAttributes] :
         entriesIn(path, [](const std::wstring&) { return true; })) {
        const std::wstring entry = path + L"\\" + name;
        if (isLink(entryAttributes) && isFolder(entryAttributes)) {
            RemoveDirectoryW(entry.c_str());  // the junction itself
        } else if (isFolder(entryAttributes)) {
            if (depth < 8) {
                removeFolderTree(entry, depth + 1);
            }
        } else {
            DeleteFileW(entry.c_str());
        }
    }
    RemoveDirectoryW(path.c_str());
}

std::wstring wideName(std::string_view name) {
    return toFsPath(name).wstring();
}

}  // namespace

void moveIntoPlace(const FolderHandle& from, std::string_view fromName, const FolderHandle& to,
                   std::string_view toName, Placement placement) {
    checkEntryName(toName);
    // Without MOVEFILE_REPLACE_EXISTING the move fails on a name taken meanwhile; with it, a
    // link under the name is replaced, not followed.
    const DWORD flags =
        MOVEFILE_WRITE_THROUGH | (placement == Placement::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(windowsPath(from.pathOf(fromName)).c_str(),
                     windowsPath(to.pathOf(toName)).c_str(), flags)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            throw QorError(fillIn(translate("Files",
                                            "Cannot write '%1': something else took that "
                                            "name while the result was being written"),
                                  {shownPath(to.pathOf(toName))}));
        }
        failWith(translate("Files", "Cannot write '%1': %2"), to.pathOf(toName), error);
    }
}

void ResultFile::open(const FolderHandle& folder, std::string_view name) {
    discard();
    written_ = 0;
    writebackStart_ = 0;
    durable_ = false;
    checkEntryName(name);
    folder.handle();  // a folder must be open
    const std::string destination = folder.pathOf(name);
    for (int attempt = 0; attempt < 16 && handle_ == nullptr; ++attempt) {
        std::string temporary = randomName(kTemporaryPrefix, kTemporarySuffix);
        const HANDLE file = CreateFileW(
            windowsPath(folder.pathOf(temporary)).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
            CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = file;
            temporary_ = std::move(temporary);
        } else if (GetLastError() != ERROR_FILE_EXISTS) {
            failWith(translate("Files", "Cannot create '%1': %2"), destination, GetLastError());
        }
    }
    if (handle_ == nullptr) {
        failWith(translate("Files", "Cannot create '%1': %2"), destination, ERROR_FILE_EXISTS);
    }
    folder_ = folder;
    name_ = name;
    destination_ = destination;
    buffer_.reserve(kBufferBytes + 4096);
}

int ResultFile::writeOut(const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(handle_), data, chunk, &written, nullptr)) {
            return static_cast<int>(GetLastError());
        }
        data += written;
        left -= written;
    }
    if (!bytes.empty()) {
        written_ += bytes.size();
        durable_ = false;
    }
    return 0;
}

int ResultFile::syncToDisk() {
    return static_cast<int>(syncFile(static_cast<HANDLE>(handle_)));
}

int ResultFile::closeTemporary(bool sync) {
    const HANDLE file = static_cast<HANDLE>(std::exchange(handle_, nullptr));
    DWORD error = sync ? syncFile(file) : 0;
    if (!CloseHandle(file) && error == 0) {
        error = GetLastError();
    }
    return static_cast<int>(error);
}

void ResultFile::discard() noexcept {
    dropWriter();  // waits for a write under way: the file is closed only then
    buffer_.clear();
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(std::exchange(handle_, nullptr)));
    }
    if (!temporary_.empty()) {
        try {
            DeleteFileW(windowsPath(folder_.pathOf(temporary_)).c_str());
        } catch (const std::exception&) {
            // Out of memory while making the path: the file stays as a leftover, which the
            // next run in this folder removes.
        }
        temporary_.clear();
    }
}

void ResultFile::fail(const std::string& pattern, int error) {
    const std::string destination = destination_;
    discard();
    failWith(pattern, destination, static_cast<DWORD>(error));
}

ScratchFolder::ScratchFolder(const FolderHandle& parent) : parent_(parent) {
    for (int attempt = 0; attempt < 16 && name_.empty(); ++attempt) {
        std::string candidate = randomName(kTemporaryPrefix, kScratchSuffix);
        // CreateDirectoryW fails on any existing entry, a planted link included.
        if (CreateDirectoryW(windowsPath(parent.pathOf(candidate)).c_str(), nullptr)) {
            name_ = std::move(candidate);
        } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
            failWith(translate("Files", "Cannot create a folder in '%1': %2"), parent.path(),
                     GetLastError());
        }
    }
    if (name_.empty()) {
        failWith(translate("Files", "Cannot create a folder in '%1': %2"), parent.path(),
                 ERROR_ALREADY_EXISTS);
    }
    // Replaced already, it throws: what stands under the name then is not ours to remove.
    folder_ = parent.subfolder(name_, false);
    // Held open, the folder cannot be renamed away under the library: its path stays ours.
    // In its long form, which lifts the 260-character limit.
    path_ = fromFsPath(std::filesystem::path(windowsPath(folder_.path())));
}

ScratchFolder::~ScratchFolder() {
    folder_ = FolderHandle();  // the folder's own handle would keep it from being removed
    try {
        removeFolderTree(windowsPath(parent_.pathOf(name_)), 0);
    } catch (const std::exception&) {
        // Left for the next run in this folder, which removes leftovers.
    }
}

void ScratchFolder::moveOut(std::string_view name, std::string_view target,
                            Placement placement) const {
    // A library wrote the file through its own streams, which sync nothing: it is made
    // durable here, as every result is before it takes its name.
    const HANDLE file = CreateFileW(windowsPath(folder_.pathOf(name)).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failWith(translate("Files", "Cannot write '%1': %2"), parent_.pathOf(target),
                 GetLastError());
    }
    const DWORD error = syncFile(file);
    CloseHandle(file);
    if (error != 0) {
        failWith(translate("Files", "Cannot write '%1': %2"), parent_.pathOf(target), error);
    }
    moveIntoPlace(folder_, name, parent_, target, placement);
}

void removeLeftovers(const FolderHandle& folder) noexcept {
    const std::wstring prefix = wideName(kTemporaryPrefix);
    const std::wstring temporary = wideName(kTemporarySuffix);
    const std::wstring scratch = wideName(kScratchSuffix);
    const auto ours = [&](const std::wstring& name) {
        return name.starts_with(prefix) && (name.ends_with(temporary) || name.ends_with(scratch));
    };
    try {
        const std::wstring path = windowsPath(folder.path());
        for (const auto& [name, attributes] : entriesIn(path, ours)) {
            // A link, even under one of our names, stays: nothing is deleted through it.
            if (isLink(attributes)) {
                continue;
            }
            const std::wstring entry = path + L"\\" + name;
            if (isFolder(attributes)) {
                removeFolderTree(entry, 0);
            } else {
                DeleteFileW(entry.c_str());
            }
        }
    } catch (const std::exception&) {
        // Out of memory: the leftovers wait for the next run.
    }
}

void ignoreWriteFailureSignals() {
    // Windows has no signal for a file grown past a limit or a closed pipe: the write fails
    // with an error.
}

}  // namespace qor::platform
