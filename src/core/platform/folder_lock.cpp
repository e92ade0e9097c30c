#include "core/platform/folder_lock.h"

#include <fcntl.h>
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

namespace qor::platform {
namespace {

using std::chrono::seconds;

constexpr std::string_view kProgram = "qorreader";
constexpr auto kRetryEvery = std::chrono::milliseconds(50);

// Who wrote a lock file: "<process number>\n<program>\n<computer>\n".
struct Holder {
    long process = 0;
    std::string host;
    bool readable = false;  // an empty or garbled file names no one
};

Holder holderOf(int descriptor) {
    char bytes[1024];
    const ssize_t got = ::pread(descriptor, bytes, sizeof bytes, 0);
    Holder holder;
    if (got <= 0) {
        return holder;
    }
    const std::string_view text(bytes, static_cast<std::size_t>(got));
    std::string_view lines[3];
    std::size_t at = 0;
    for (std::string_view& line : lines) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            return holder;
        }
        line = text.substr(at, end - at);
        at = end + 1;
    }
    const std::string_view number = lines[0];
    if (number.empty() || number.size() > 10 ||
        number.find_first_not_of("0123456789") != std::string_view::npos || lines[2].empty()) {
        return holder;
    }
    holder.process = std::stol(std::string(number));
    holder.host = lines[2];
    holder.readable = holder.process > 0;
    return holder;
}

std::string hostName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

bool processRuns(long process) {
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
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
// another computer then finds the file unreadable and takes it over, as it would anyway.
void writeHolder(int descriptor, const std::string& host) {
    const std::string text =
        std::to_string(::getpid()) + "\n" + std::string(kProgram) + "\n" + host + "\n";
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

// `one` for a count of 1, else `many` with the count as %1.
std::string counted(long long count, const std::string& one, const std::string& many) {
    return count == 1 ? one : fillIn(many, {std::to_string(count)});
}

}  // namespace

FolderLockedElsewhere::FolderLockedElsewhere(const std::string& folder, const std::string& host,
                                             seconds age)
    : QorError(fillIn(translate("ResultFolder",
                                "'%1' is being written by a scan on the computer '%2' (its lock "
                                "is %3 old)"),
                      {folder, host, lockAgeText(age)})),
      host_(host),
      age_(age) {}

std::string lockAgeText(seconds age) {
    const long long s = age.count();
    if (s < 120) {
        return counted(s, translate("ResultFolder", "1 second"),
                       translate("ResultFolder", "%1 seconds"));
    }
    if (s < 2 * 3600) {
        return counted(s / 60, translate("ResultFolder", "1 minute"),
                       translate("ResultFolder", "%1 minutes"));
    }
    if (s < 2 * 86400) {
        return counted(s / 3600, translate("ResultFolder", "1 hour"),
                       translate("ResultFolder", "%1 hours"));
    }
    return counted(s / 86400, translate("ResultFolder", "1 day"),
                   translate("ResultFolder", "%1 days"));
}

FolderLock::FolderLock(const FolderHandle& folder, const LockRules& rules) : folder_(folder) {
    const auto deadline = std::chrono::steady_clock::now() + rules.wait;
    const std::string host = hostName();
    std::optional<FolderLockedElsewhere> foreign;
    for (;;) {
        const int descriptor = ::openat(folder.descriptor(), kLockFileName,
                                        O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            cannotLock(folder, errno);
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
            const Holder holder = holderOf(descriptor);
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
            if (foreign) {
                throw *foreign;
            }
            throw QorError(
                fillIn(translate("ResultFolder", "'%1' is being written by another scan"),
                       {folder.path()}));
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
}

}  // namespace qor::platform
