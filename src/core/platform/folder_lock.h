#pragma once

#include <chrono>
#include <string>

#include "core/base/qor_error.h"
#include "core/platform/folder_handle.h"

namespace qor::platform {

// How a lock is taken.
struct LockRules {
    std::chrono::milliseconds wait{3000};  // how long a lock held by another run is waited for
    bool breakForeign = false;             // take over a lock left by a run on another computer
};

// The lock of a folder is held by a run on another computer, whose process this one cannot see:
// it may still be running, or its computer may have stopped. Only the person can tell.
class FolderLockedElsewhere : public QorError {
public:
    FolderLockedElsewhere(const std::string& folder, const std::string& host,
                          std::chrono::seconds age);
    const std::string& host() const { return host_; }
    std::chrono::seconds age() const { return age_; }

private:
    std::string host_;
    std::chrono::seconds age_;
};

// Keeps a second run, from this program or another, out of a node folder while one run writes
// it: the lock file ".qorscan.lock" in the folder, holding the process number, the program and
// the computer's name, and locked by the system while the lock lives. The system's lock ends
// with the process however it ends, so a lock file left behind (empty, unreadable, or of a
// process that has gone) is taken over on this computer. One naming another computer is
// reported (FolderLockedElsewhere) unless the rules say to take it over. Released when the lock
// goes out of scope; the lock file goes with it.
//
// Our own lock rather than QLockFile: a lock file of a process that ended between writing and
// locking, or one naming another computer, stayed in QLockFile's way for ever, and QLockFile
// printed its own diagnostics on the terminal.
class FolderLock {
public:
    static constexpr const char* kLockFileName = ".qorscan.lock";

    // Waits up to `rules.wait` for the folder; throws QorError ("... is being written by
    // another scan") when it stays taken, FolderLockedElsewhere, or naming the cause when no
    // lock file can be made there.
    explicit FolderLock(const FolderHandle& folder, const LockRules& rules = {});
    ~FolderLock() { release(); }
    // Lets go of the lock and of its hold on the folder now rather than when the lock goes out
    // of scope (on Windows an open folder cannot be removed).
    void release() noexcept;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    FolderHandle folder_;
#ifdef _WIN32
    void* handle_ = nullptr;  // the lock file's HANDLE
#else
    int descriptor_ = -1;
#endif
};

// The age of a lock in words: "40 seconds", "5 minutes", "3 hours", "2 days".
std::string lockAgeText(std::chrono::seconds age);

}  // namespace qor::platform
