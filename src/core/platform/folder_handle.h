#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// An open folder. What lies below it is reached through it, by name, never by a path looked
// up again: a folder on the way that is renamed, or replaced by a symbolic link, after it was
// opened cannot send a write anywhere else. Folders entered below it are never links. Copies
// share the one open folder, which closes with the last of them; any thread may use them.
// Paths and names are bytes, in whatever encoding the file system holds them (on Windows,
// UTF-8, handed to the system as UTF-16 with the long-path prefix).
namespace qor::platform {

class FolderHandle {
public:
    FolderHandle() = default;  // no folder

    // The folder at `path`, links on the way followed: someone chose this path. Throws
    // QorError naming it.
    static FolderHandle open(const std::string& path);

    // The folder `name` in this one, made when `create` and missing (one made meanwhile by
    // another run is as good); `made`, when given, says whether this call made it. Throws
    // QorError naming it when it is a symbolic link or no folder, or cannot be made or opened.
    FolderHandle subfolder(std::string_view name, bool create, bool* made = nullptr) const;
    // The folder `name` in this one when it is a folder itself; nothing when it is missing,
    // a link or anything else.
    std::optional<FolderHandle> existingSubfolder(std::string_view name) const;

    bool isOpen() const { return folder_ != nullptr; }
    const std::string& path() const { return path_; }  // for messages and for showing it
    std::string pathOf(std::string_view name) const;

    // Removes the folder `name` when it is empty; a link, a file or a folder with anything in
    // it stays (false), as does one that cannot be removed.
    bool removeEmptySubfolder(std::string_view name) const noexcept;

    // Whether anything stands at `name`: a file, a folder or a link, even a dangling one.
    // Throws QorError when the file system cannot tell.
    bool contains(std::string_view name) const;
    // Whether `name` is a regular file itself (a link to one does not count).
    bool holdsRegularFile(std::string_view name) const;
    // The bytes of the regular file `name` (not a link) when it holds at most `maxBytes`.
    std::optional<std::string> readRegularFile(std::string_view name, std::size_t maxBytes) const;

    // The system's handle of the open folder, for the platform layer's own calls.
#ifdef _WIN32
    void* handle() const;  // a HANDLE; while it is open the folder cannot be renamed or removed
#else
    int descriptor() const;
#endif

private:
    class Open;
    FolderHandle(std::shared_ptr<const Open> folder, std::string path);

    std::shared_ptr<const Open> folder_;
    std::string path_;
};

// Throws QorError unless `name` names an entry of a folder: not empty, ".", ".." and without
// a separator (on Windows also without a drive or stream colon).
void checkEntryName(std::string_view name);

}  // namespace qor::platform
