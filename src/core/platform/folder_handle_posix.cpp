#include "core/platform/folder_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"

namespace qor::platform {
namespace {

// `pattern` says what failed on %1, the path, because of %2, the system's reason.
[[noreturn]] void fail(const std::string& pattern, const std::string& path, int error) {
    throw QorError(fillIn(pattern, {path, std::generic_category().message(error)}));
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

// Closes the folder when the last handle lets go of it.
class FolderHandle::Open {
public:
    explicit Open(int descriptor) : descriptor_(descriptor) {}
    ~Open() { ::close(descriptor_); }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
    int descriptor() const { return descriptor_; }

private:
    int descriptor_;
};

FolderHandle::FolderHandle(std::shared_ptr<const Open> folder, std::string path)
    : folder_(std::move(folder)), path_(std::move(path)) {}

void checkEntryName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        throw QorError(
            fillIn(translate("Files", "'%1' cannot name a file in a folder"), {std::string(name)}));
    }
}

FolderHandle FolderHandle::open(const std::string& path) {
    const int descriptor = ::open(path.c_str(), kFolderFlags);
    if (descriptor < 0) {
        fail(translate("Files", "Cannot open the folder '%1': %2"), path, errno);
    }
    return FolderHandle(std::make_shared<const Open>(descriptor), path);
}

int FolderHandle::descriptor() const {
    if (folder_ == nullptr) {
        throw std::logic_error("no folder is open");
    }
    return folder_->descriptor();
}

std::string FolderHandle::pathOf(std::string_view name) const {
    return joinPath(path_, name);
}

FolderHandle FolderHandle::subfolder(std::string_view name, bool create, bool* made) const {
    checkEntryName(name);
    const std::string entry(name);
    const std::string path = pathOf(name);
    // Made first and opened after: a folder another run made in between is used as it is.
    const bool madeHere = create && ::mkdirat(descriptor(), entry.c_str(), 0777) == 0;
    if (create && !madeHere && errno != EEXIST) {
        fail(translate("Files", "Cannot create the folder '%1': %2"), path, errno);
    }
    if (made != nullptr) {
        *made = madeHere;
    }
    const int opened = ::openat(descriptor(), entry.c_str(), kFolderFlags | O_NOFOLLOW);
    if (opened >= 0) {
        return FolderHandle(std::make_shared<const Open>(opened), path);
    }
    const int error = errno;
    struct stat status {};
    if (::fstatat(descriptor(), entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(status.st_mode)) {
            throw QorError(fillIn(
                translate("Files",
                          "'%1' is a symbolic link: results are never written through a link"),
                {path}));
        }
        if (!S_ISDIR(status.st_mode)) {
            throw QorError(fillIn(translate("Files", "'%1' is not a folder"), {path}));
        }
    }
    fail(translate("Files", "Cannot open the folder '%1': %2"), path, error);
}

std::optional<FolderHandle> FolderHandle::existingSubfolder(std::string_view name) const {
    checkEntryName(name);
    const int opened = ::openat(descriptor(), std::string(name).c_str(), kFolderFlags | O_NOFOLLOW);
    if (opened < 0) {
        return std::nullopt;
    }
    return FolderHandle(std::make_shared<const Open>(opened), pathOf(name));
}

bool FolderHandle::removeEmptySubfolder(std::string_view name) const noexcept {
    // Removing a directory entry never follows a link: a link there is no folder to remove.
    // A name with a separator would pass through folders on the way, so none is taken.
    if (!isOpen() || name.empty() || name.find('/') != std::string_view::npos) {
        return false;
    }
    const std::string entry(name);
    return ::unlinkat(folder_->descriptor(), entry.c_str(), AT_REMOVEDIR) == 0;
}

bool FolderHandle::contains(std::string_view name) const {
    checkEntryName(name);
    struct stat status {};
    if (::fstatat(descriptor(), std::string(name).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        return true;
    }
    if (errno != ENOENT) {
        fail(translate("Files", "Cannot look for '%1': %2"), pathOf(name), errno);
    }
    return false;
}

bool FolderHandle::holdsRegularFile(std::string_view name) const {
    checkEntryName(name);
    struct stat status {};
    return ::fstatat(descriptor(), std::string(name).c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(status.st_mode);
}

std::optional<std::string> FolderHandle::readRegularFile(std::string_view name,
                                                         std::size_t maxBytes) const {
    checkEntryName(name);
    // Without O_NONBLOCK, opening a pipe planted under the name would wait for a writer.
    const int file = ::openat(descriptor(), std::string(name).c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        return std::nullopt;
    }
    std::optional<std::string> content;
    struct stat status {};
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) <= maxBytes) {
        content.emplace();
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(file, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 || content->size() + static_cast<std::size_t>(got) > maxBytes) {
                content.reset();  // unreadable, or grown past the limit: as if it were not there
                break;
            }
            if (got == 0) {
                break;
            }
            content->append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(file);
    return content;
}

}  // namespace qor::platform
