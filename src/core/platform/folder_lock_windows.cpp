#include <windows.h>

#include <optional>
#include <thread>
#include <utility>

#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/folder_lock.h"
#include "core/platform/folder_lock_holder.h"
#include "core/platform/path_names.h"

// The Windows half of the folder lock: LockFileEx on one byte far beyond the lock file's words,
// so that a run waiting for the lock can still read who holds it. The system's lock ends with
// the process, however it ends.
namespace qor::platform {
namespace {

using std::chrono::seconds;

constexpr auto kRetryEvery = std::chrono::milliseconds(50);
constexpr DWORD kLockedByteHigh = 0x100;  // the byte at 2^40

std::string hostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size)
               ? fromFsPath(std::filesystem::path(std::wstring(name, size)))
               : std::string();
}

LockHolder holderOf(HANDLE file) {
    char bytes[1024];
    OVERLAPPED at{};
    DWORD got = 0;
    return ReadFile(file, bytes, sizeof bytes, &got, &at) && got > 0
               ? parseLockHolder(std::string_view(bytes, got))
               : LockHolder{};
}

// Whether the open lock file still has its name: its owner deletes it when it is done, and a
// lock on a file on its way out locks nothing.
bool stillInPlace(HANDLE file) {
    FILE_STANDARD_INFO information{};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &information, sizeof information) &&
           !information.DeletePending;
}

seconds ageOf(HANDLE file) {
    FILETIME written{};
    FILETIME now{};
    if (!GetFileTime(file, nullptr, nullptr, &written)) {
        return seconds(0);
    }
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return seconds(std::max(0LL, (ticks(now) - ticks(written)) / 10'000'000));
}

void writeHolder(HANDLE file, const std::string& host) {
    const std::string text = lockHolderText(static_cast<long>(GetCurrentProcessId()), host);
    OVERLAPPED at{};
    DWORD written = 0;
    FILE_END_OF_FILE_INFO empty{};
    if (SetFileInformationByHandle(file, FileEndOfFileInfo, &empty, sizeof empty)) {
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, &at);
    }
}

[[noreturn]] void cannotLock(const FolderHandle& folder, DWORD error) {
    throw QorError(fillIn(translate("ResultFolder", "Cannot lock '%1': %2"),
                          {shownPath(folder.path()), windowsErrorText(error)}));
}

}  // namespace

FolderLock::FolderLock(const FolderHandle& folder, const LockRules& rules) : folder_(folder) {
    const auto deadline = std::chrono::steady_clock::now() + rules.wait;
    const std::string host = hostName();
    const std::wstring path = windowsPath(folder.pathOf(kLockFileName));
    std::optional<FolderLockedElsewhere> foreign;
    for (;;) {
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        bool held = false;
        if (file == INVALID_HANDLE_VALUE) {
            // A lock file being deleted by its owner cannot be opened until it is gone.
            if (GetLastError() != ERROR_ACCESS_DENIED) {
                cannotLock(folder, GetLastError());
            }
            held = true;
        } else {
            BY_HANDLE_FILE_INFORMATION information{};
            if (GetFileInformationByHandle(file, &information) &&
                (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                CloseHandle(file);
                throw QorError(fillIn(translate("ResultFolder",
                                                "Cannot lock '%1': its lock file %2 is a "
                                                "symbolic link"),
                                      {shownPath(folder.path()), kLockFileName}));
            }
            OVERLAPPED lockedByte{};
            lockedByte.OffsetHigh = kLockedByteHigh;
            if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                            &lockedByte)) {
                const DWORD error = GetLastError();
                if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
                    CloseHandle(file);
                    cannotLock(folder, error);
                }
                held = true;
            }
            if (!held && !stillInPlace(file)) {
                CloseHandle(file);
                continue;  // its owner removed it meanwhile: try the name again
            }
            if (!held) {
                const LockHolder holder = holderOf(file);
                if (holder.readable && holder.host != host && !rules.breakForeign) {
                    // The system's lock does not reach across computers on every network file
                    // system: the run there may be alive.
                    foreign.emplace(folder.path(), holder.host, ageOf(file));
                    held = true;
                }
            }
            if (!held) {
                writeHolder(file, host);
                handle_ = file;
                return;
            }
            CloseHandle(file);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            stopWaitingFor(folder, foreign);
        }
        std::this_thread::sleep_for(kRetryEvery);
    }
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : folder_(std::move(other.folder_)), handle_(std::exchange(other.handle_, nullptr)) {}

void FolderLock::release() noexcept {
    if (handle_ == nullptr) {
        return;
    }
    const HANDLE file = static_cast<HANDLE>(std::exchange(handle_, nullptr));
    // Deleted while still locked: a run waiting for it then finds the name free or new.
    FILE_DISPOSITION_INFO remove{};
    remove.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &remove, sizeof remove);
    CloseHandle(file);
    folder_ = {};
}

}  // namespace qor::platform
