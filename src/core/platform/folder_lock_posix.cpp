#include "core/platform/folder_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "core/base/translation.h"
#include "core/platform/folder_lock_holder.h"

namespace qor::platform {
namespace {

using std::chrono::seconds;

constexpr auto kRetryEvery = std::chrono::milliseconds(50);

std::string hostName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

bool processRuns(long process) {
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

LockHolder holderOf(int descriptor) {
    char bytes[1024];
    const ssize_t got = ::pread(descriptor, bytes, sizeof bytes, 0);
    return got > 0 ? parseLockHolder(std::string_view(bytes, static_cast<std::size_t>(got)))
                   : LockHolder{};
}

// Whether the open lock file is still the one under its name: its owner removes it when it is
// done, and a lock on a file that has left the folder locks nothing.
bool stillInPlace(int descriptor, int folder) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 &&
           ::fstatat(folder, FolderLock::kLockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

seconds ageOf(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        return seconds(0);
    }
    return seconds(std::max<std::time_t>(0, std::time(nullptr) - status.st_mtime));
}

// Says who holds the lock now. A failed write leaves the system's lock in force here; a run on
// another computer then finds the file unreadable and takes it over, as it would anyway. Every
// user may read it, whatever the umask, so that another user's run can tell who holds it.
void writeHolder(int descriptor, const std::string& host) {
    const std::string text = lockHolderText(::getpid(), host);
    ::fchmod(descriptor, 0644);
    if (::ftruncate(descriptor, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(descriptor, text.data(), text.size(), 0);
    }
}

[[noreturn]] void cannotLock(const FolderHandle& folder, int error) {
    if (error == ELOOP) {
        throw QorError(fillIn(
            translate("ResultFolder", "Cannot lock '%1': its lock file %2 is a symbolic link"),
            {folder.path(), FolderLock::kLockFileName}));
    }
    throw QorError(fillIn(translate("ResultFolder", "Cannot lock '%1': %2"),
                          {folder.path(), std::generic_category().message(error)}));
}

std::string userName(uid_t user) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(user, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(user);
}

// The lock file is another user's, and this user may not write it: a run of theirs holds the
// folder, or one of theirs ended without removing it. Returns true when it was removed, so that
// the name is free to try again; false while the system's lock says that their run goes on;
// throws when it stays in the way, naming whose it is.
bool removeOtherUsersLock(const FolderHandle& folder, const LockRules& rules,
                          const std::string& host) {
    const int descriptor =
        ::openat(folder.descriptor(), FolderLock::kLockFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        // Gone meanwhile, or never there and the folder is not this user's to write.
        if (errno == ENOENT && ::faccessat(folder.descriptor(), ".", W_OK, AT_EACCESS) == 0) {
            return true;
        }
        cannotLock(folder, errno == ENOENT ? EACCES : errno);
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) {
        ::close(descriptor);
        return false;
    }
    if (!stillInPlace(descriptor, folder.descriptor())) {
        ::close(descriptor);
        return true;
    }
    struct stat file {};
    struct stat place {};
    ::fstat(descriptor, &file);
    ::fstat(folder.descriptor(), &place);
    const LockHolder holder = holderOf(descriptor);
    const std::string owner = userName(file.st_uid);
    const std::string process = holder.readable ? std::to_string(holder.process) : "?";
    const bool ended = holder.readable && holder.host == host && !processRuns(holder.process);
    if (!ended && !rules.breakForeign) {
        ::close(descriptor);
        throw QorError(fillIn(
            translate("ResultFolder",
                      "Cannot lock '%1': its lock file belongs to the user %2 (process %3 on "
                      "'%4'), and you may not write it. When no scan of theirs runs any more, "
                      "run again with --break-lock"),
            {folder.path(), owner, process, holder.host}));
    }
    // Still holding the system's lock, so that no run of theirs takes the old file meanwhile.
    const bool removed = ::unlinkat(folder.descriptor(), FolderLock::kLockFileName, 0) == 0;
    const int error = errno;
    ::close(descriptor);
    if (removed) {
        return true;
    }
    const std::string reason =
        (place.st_mode & S_ISVTX) != 0 && error == EPERM
            ? translate("ResultFolder",
                        "the folder's sticky bit lets only the file's or the folder's owner "
                        "remove it")
            : std::generic_category().message(error);
    throw QorError(fillIn(translate("ResultFolder",
                                    "Cannot take over the lock of '%1' that process %2 of the "
                                    "user %3 left behind: %4"),
                          {folder.path(), process, owner, reason}));
}

}  // namespace

FolderLock::FolderLock(const FolderHandle& folder, const LockRules& rules) : folder_(folder) {
    const auto deadline = std::chrono::steady_clock::now() + rules.wait;
    const std::string host = hostName();
    std::optional<FolderLockedElsewhere> foreign;
    for (;;) {
        const int descriptor = ::openat(folder.descriptor(), kLockFileName,
                                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0 && errno == EACCES) {
            if (removeOtherUsersLock(folder, rules, host)) {
                continue;
            }
        } else if (descriptor < 0) {
            cannotLock(folder, errno);
        }
        if (descriptor < 0) {
            // Another user's run holds it: wait as for any other run.
            if (std::chrono::steady_clock::now() >= deadline) {
                stopWaitingFor(folder, foreign);
            }
            std::this_thread::sleep_for(kRetryEvery);
            continue;
        }
        bool held = false;
        bool systemLock = true;
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EWOULDBLOCK || error == EINTR) {
                held = true;
            } else if (error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS ||
                       error == EINVAL) {
                systemLock = false;  // a file system without locks: the file's words decide
            } else {
                ::close(descriptor);
                cannotLock(folder, error);
            }
        }
        if (!held && !stillInPlace(descriptor, folder.descriptor())) {
            ::close(descriptor);
            continue;  // its owner removed it meanwhile: try the name again
        }
        if (!held) {
            const LockHolder holder = holderOf(descriptor);
            if (holder.readable && holder.host != host && !rules.breakForeign) {
                // The system's lock does not reach across computers on every network file
                // system: the run there may be alive.
                foreign.emplace(folder.path(), holder.host, ageOf(descriptor));
                held = true;
            } else if (!systemLock && holder.readable && holder.host == host) {
                held = processRuns(holder.process);
            }
        }
        if (!held) {
            writeHolder(descriptor, host);
            descriptor_ = descriptor;
            return;
        }
        ::close(descriptor);
        if (std::chrono::steady_clock::now() >= deadline) {
            stopWaitingFor(folder, foreign);
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : folder_(std::move(other.folder_)), descriptor_(std::exchange(other.descriptor_, -1)) {}

void FolderLock::release() noexcept {
    if (descriptor_ < 0) {
        return;
    }
    // Removed while still locked: a run waiting for it then finds the name free or new.
    if (stillInPlace(descriptor_, folder_.descriptor())) {
        ::unlinkat(folder_.descriptor(), kLockFileName, 0);
    }
    ::close(std::exchange(descriptor_, -1));
    folder_ = {};
}

}  // namespace qor::platform
