#include "core/platform/result_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/result_file_names.h"

namespace qor::platform {

const int kFileNotOpen = EBADF;

namespace {

// `pattern` says what failed on %1, the path, because of %2, the system's reason.
[[noreturn]] void failWith(const std::string& pattern, const std::string& path, int error) {
    throw QorError(fillIn(pattern, {path, std::generic_category().message(error)}));
}

bool writeAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Returns 0 or the error number.
int syncData(int descriptor) {
    // Durable before it takes the name: after a power loss the name shows the old result or
    // the complete new one, never an empty file. (EINVAL: a file that cannot be synced.)
    return ::fdatasync(descriptor) != 0 && errno != EINVAL ? errno : 0;
}

// Gives `from` the name `to` only while that name is free, in one step where the file
// system can, else by a hard link (which fails on an existing name too).
bool moveIfFree(int fromFolder, const char* from, int toFolder, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
#endif
    if (::linkat(fromFolder, from, toFolder, to, 0) == 0) {
        ::unlinkat(fromFolder, from, 0);
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS) {
        return false;
    }
    // A file system without hard links: check, then rename (the window is a few microseconds).
    struct stat existing {};
    if (::fstatat(toFolder, to, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(fromFolder, from, toFolder, to) == 0;
}

// The names in `folder` for which `wanted` holds, all listed before any is removed.
template <typename Wanted>
std::vector<std::string> namesIn(int folder, Wanted wanted) {
    std::vector<std::string> names;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return names;
    }
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && wanted(name)) {
            names.emplace_back(name);
        }
    }
    ::closedir(entries);
    return names;
}

// Removes the folder `name` in `parent` with everything in it. A link inside goes as a link:
// what it points to is never touched.
void removeFolderTree(int parent, const std::string& name, int depth) noexcept {
    const int folder =
        ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        return;
    }
    for (const std::string& entry : namesIn(folder, [](std::string_view) { return true; })) {
        struct stat status {};
        if (::fstatat(folder, entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (!S_ISDIR(status.st_mode)) {
            ::unlinkat(folder, entry.c_str(), 0);
        } else if (depth < 8) {
            removeFolderTree(folder, entry, depth + 1);
        }
    }
    ::close(folder);
    ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);  // a link put there meanwhile stays
}

// A path that leads to `folder` itself whatever is renamed after it was opened: the process's
// own entry for the open folder, where the system has one.
std::string anchoredPath(const FolderHandle& folder) {
    struct stat opened {};
    if (::fstat(folder.descriptor(), &opened) == 0) {
        for (const char* table : {"/proc/self/fd/", "/dev/fd/"}) {
            const std::string path = table + std::to_string(folder.descriptor());
            struct stat found {};
            if (::stat(path.c_str(), &found) == 0 && found.st_dev == opened.st_dev &&
                found.st_ino == opened.st_ino) {
                return path;
            }
        }
    }
    return folder.path();
}

}  // namespace

void moveIntoPlace(const FolderHandle& from, std::string_view fromName, const FolderHandle& to,
                   std::string_view toName, Placement placement) {
    checkEntryName(toName);
    const std::string source(fromName);
    const std::string target(toName);
    // Replacing renames over a link planted under the name: the link goes, its target stays.
    const bool moved =
        placement == Placement::Replace
            ? ::renameat(from.descriptor(), source.c_str(), to.descriptor(), target.c_str()) == 0
            : moveIfFree(from.descriptor(), source.c_str(), to.descriptor(), target.c_str());
    if (!moved) {
        if (errno == EEXIST) {
            throw QorError(fillIn(translate("Files",
                                            "Cannot write '%1': something else took that "
                                            "name while the result was being written"),
                                  {to.pathOf(toName)}));
        }
        failWith(translate("Files", "Cannot write '%1': %2"), to.pathOf(toName), errno);
    }
}

void ResultFile::open(const FolderHandle& folder, std::string_view name) {
    discard();
    written_ = 0;
    writebackStart_ = 0;
    durable_ = false;
    checkEntryName(name);
    const std::string destination = folder.pathOf(name);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temporary = randomName(kTemporaryPrefix, kTemporarySuffix);
        descriptor_ = ::openat(folder.descriptor(), temporary.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            temporary_ = std::move(temporary);
            break;
        }
        if (errno != EEXIST) {
            failWith(translate("Files", "Cannot create '%1': %2"), destination, errno);
        }
    }
    if (descriptor_ < 0) {
        failWith(translate("Files", "Cannot create '%1': %2"), destination, EEXIST);
    }
    folder_ = folder;
    name_ = name;
    destination_ = destination;
    buffer_.reserve(kBufferBytes + 4096);
}

int ResultFile::writeOut(const std::string& bytes) {
    if (!writeAll(descriptor_, bytes.data(), bytes.size())) {
        return errno;
    }
    if (bytes.empty()) {
        return 0;
    }
    written_ += bytes.size();
    durable_ = false;
#ifdef __linux__
    // Starts writing back what is written so far, so that the sync before the file takes its
    // name waits for the last few megabytes only, not for the whole file.
    if (written_ - writebackStart_ >= kWritebackBytes) {
        ::sync_file_range(descriptor_, static_cast<off64_t>(writebackStart_),
                          static_cast<off64_t>(written_ - writebackStart_), SYNC_FILE_RANGE_WRITE);
        writebackStart_ = written_;
    }
#endif
    return 0;
}

int ResultFile::syncToDisk() {
    return syncData(descriptor_);
}

int ResultFile::closeTemporary(bool sync) {
    const int descriptor = std::exchange(descriptor_, -1);
    int error = sync ? syncData(descriptor) : 0;
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

void ResultFile::discard() noexcept {
    dropWriter();  // waits for a write under way: the file is closed only then
    buffer_.clear();
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlinkat(folder_.descriptor(), temporary_.c_str(), 0);
        temporary_.clear();
    }
}

void ResultFile::fail(const std::string& pattern, int error) {
    const std::string destination = destination_;
    discard();
    failWith(pattern, destination, error);
}

ScratchFolder::ScratchFolder(const FolderHandle& parent) : parent_(parent) {
    for (int attempt = 0; attempt < 16 && name_.empty(); ++attempt) {
        std::string candidate = randomName(kTemporaryPrefix, kScratchSuffix);
        // mkdirat fails on any existing entry, a planted link included.
        if (::mkdirat(parent.descriptor(), candidate.c_str(), 0700) == 0) {
            name_ = std::move(candidate);
        } else if (errno != EEXIST) {
            failWith(translate("Files", "Cannot create a folder in '%1': %2"), parent.path(),
                     errno);
        }
    }
    if (name_.empty()) {
        failWith(translate("Files", "Cannot create a folder in '%1': %2"), parent.path(), EEXIST);
    }
    try {
        folder_ = parent.subfolder(name_, false);
    } catch (const QorError&) {
        // Replaced already: what stands under the name now is not ours to remove.
        ::unlinkat(parent.descriptor(), name_.c_str(), AT_REMOVEDIR);
        throw;
    }
    path_ = anchoredPath(folder_);
}

ScratchFolder::~ScratchFolder() {
    removeFolderTree(parent_.descriptor(), name_, 0);
}

void ScratchFolder::moveOut(std::string_view name, std::string_view target,
                            Placement placement) const {
    // A library wrote the file through its own streams, which sync nothing: it is made
    // durable here, as every result is before it takes its name.
    const std::string source(name);
    const int descriptor =
        ::openat(folder_.descriptor(), source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        failWith(translate("Files", "Cannot write '%1': %2"), parent_.pathOf(target), errno);
    }
    const int error = syncData(descriptor);
    ::close(descriptor);
    if (error != 0) {
        failWith(translate("Files", "Cannot write '%1': %2"), parent_.pathOf(target), error);
    }
    moveIntoPlace(folder_, name, parent_, target, placement);
}

void removeLeftovers(const FolderHandle& folder) noexcept {
    const auto ours = [](std::string_view name) {
        return name.starts_with(kTemporaryPrefix) &&
               (name.ends_with(kTemporarySuffix) || name.ends_with(kScratchSuffix));
    };
    const int descriptor = folder.descriptor();
    for (const std::string& name : namesIn(descriptor, ours)) {
        struct stat status {};
        if (::fstatat(descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        // A link, even under one of our names, stays: nothing is deleted through it.
        if (S_ISREG(status.st_mode)) {
            ::unlinkat(descriptor, name.c_str(), 0);
        } else if (S_ISDIR(status.st_mode)) {
            removeFolderTree(descriptor, name, 0);
        }
    }
}

void ignoreWriteFailureSignals() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace qor::platform
