#include "core/platform/result_file.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qor::platform {
namespace {

constexpr std::string_view kTemporaryPrefix = ".qor-";
constexpr std::string_view kTemporarySuffix = ".part";
constexpr std::string_view kScratchSuffix = ".tmp";

// `pattern` says what failed on %1, the path, because of %2, the system's reason.
[[noreturn]] void failWith(const std::string& pattern, const std::string& path, int error) {
    throw QorError(fillIn(pattern, {path, std::generic_category().message(error)}));
}

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

// A name no one can have planted: random, and created exclusively.
std::string randomName(std::string_view prefix, std::string_view suffix) {
    thread_local std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name(prefix);
    for (int i = 0; i < 12; ++i) {
        name += kDigits[engine() % 36];
    }
    name += suffix;
    return name;
}

int createExclusively(const std::string& path) {
#ifdef _WIN32
    return _wopen(toFsPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
#endif
}

bool writeAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
#ifdef _WIN32
        const int chunk = size > (1u << 30) ? (1 << 30) : static_cast<int>(size);
        const int written = _write(descriptor, data, static_cast<unsigned>(chunk));
#else
        const ssize_t written = ::write(descriptor, data, size);
#endif
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
#ifdef _WIN32
    return _commit(descriptor) != 0 ? errno : 0;
#else
    // Durable before it takes the name: after a power loss the name shows the old result or
    // the complete new one, never an empty file. (EINVAL: a file that cannot be synced.)
    return ::fdatasync(descriptor) != 0 && errno != EINVAL ? errno : 0;
#endif
}

int closeDescriptor(int descriptor) {
#ifdef _WIN32
    return _close(descriptor) != 0 ? errno : 0;
#else
    return ::close(descriptor) != 0 ? errno : 0;
#endif
}

void removeQuietly(const std::string& path) noexcept {
    std::error_code ec;
    std::filesystem::remove(toFsPath(path), ec);
}

#ifndef _WIN32
// Gives `from` the name `to` only while that name is free, in one step where the file
// system can, else by a hard link (which fails on an existing name too).
bool moveIfFree(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return false;
    }
#endif
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS) {
        return false;
    }
    // A file system without hard links: check, then rename (the window is a few microseconds).
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}
#endif

}  // namespace

bool entryExists(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(toFsPath(path), ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        throw QorError(
            fillIn(translate("Files", "Cannot look for '%1': %2"), {path, ec.message()}));
    }
    return std::filesystem::exists(status);
}

void moveIntoPlace(const std::string& from, const std::string& to, Placement placement) {
#ifdef _WIN32
    std::error_code ec;
    if (placement == Placement::New && entryExists(to)) {
        ec = std::make_error_code(std::errc::file_exists);
    } else {
        std::filesystem::rename(toFsPath(from), toFsPath(to), ec);
    }
    if (ec) {
        throw QorError(fillIn(translate("Files", "Cannot write '%1': %2"), {to, ec.message()}));
    }
#else
    const bool moved = placement == Placement::Replace ? ::rename(from.c_str(), to.c_str()) == 0
                                                       : moveIfFree(from, to);
    if (!moved) {
        if (errno == EEXIST) {
            throw QorError(fillIn(translate("Files",
                                            "Cannot write '%1': something else took that "
                                            "name while the result was being written"),
                                  {to}));
        }
        failWith(translate("Files", "Cannot write '%1': %2"), to, errno);
    }
#endif
}

// Writes the buffers a ResultFile hands over, one at a time, on a thread of its own.
class ResultFile::BackgroundWriter {
public:
    explicit BackgroundWriter(ResultFile& file) : file_(file), thread_([this] { work(); }) {}
    ~BackgroundWriter() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Waits until the previous buffer is written, then takes `buffer` and gives back the
    // emptied previous one (keeping its capacity). Returns the error of an earlier write.
    int handOver(std::string& buffer) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        if (error_ != 0) {
            return error_;
        }
        pending_.clear();
        pending_.swap(buffer);
        busy_ = true;
        lock.unlock();
        changed_.notify_all();
        return 0;
    }
    // Waits until everything handed over is written; returns the error of a write.
    int idle() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        return error_;
    }

private:
    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return busy_ || stopping_; });
            if (!busy_) {
                return;
            }
            lock.unlock();
            const int error = file_.writeOut(pending_);
            lock.lock();
            if (error != 0 && error_ == 0) {
                error_ = error;
            }
            busy_ = false;
            changed_.notify_all();
        }
    }

    ResultFile& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string pending_;  // the buffer being written while busy_
    bool busy_ = false;
    bool stopping_ = false;
    int error_ = 0;
    std::thread thread_;  // last: starts when everything it uses is there
};

ResultFile::ResultFile() = default;

ResultFile::~ResultFile() {
    discard();
}

void ResultFile::writeInBackground() {
    if (descriptor_ >= 0 && writer_ == nullptr) {
        writer_ = std::make_unique<BackgroundWriter>(*this);
    }
}

void ResultFile::stopBackground() {
    if (writer_ == nullptr) {
        return;
    }
    const int error = writer_->idle();
    writer_.reset();
    if (error != 0) {
        fail(translate("Files", "Cannot write '%1': %2"), error);
    }
}

void ResultFile::open(const std::string& destination) {
    discard();
    written_ = 0;
    writebackStart_ = 0;
    durable_ = false;
    const std::string folder = folderOf(destination);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temporary = joinPath(folder, randomName(kTemporaryPrefix, kTemporarySuffix));
        descriptor_ = createExclusively(temporary);
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
    destination_ = destination;
    buffer_.reserve(kBufferBytes + 4096);
}

void ResultFile::flush() {
    if (descriptor_ < 0) {
        failWith(translate("Files", "Cannot write '%1': %2"), destination_, EBADF);
    }
    if (writer_ != nullptr) {
        if (buffer_.empty()) {
            return;
        }
        if (const int error = writer_->handOver(buffer_); error != 0) {
            fail(translate("Files", "Cannot write '%1': %2"), error);
        }
        return;
    }
    if (const int error = writeOut(buffer_); error != 0) {
        fail(translate("Files", "Cannot write '%1': %2"), error);
    }
    buffer_.clear();
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

void ResultFile::makeDurable() {
    flush();
    stopBackground();
    if (const int error = syncData(descriptor_); error != 0) {
        fail(translate("Files", "Cannot write '%1': %2"), error);
    }
    durable_ = true;
}

void ResultFile::commit(Placement placement) {
    flush();
    stopBackground();
    const int descriptor = descriptor_;
    descriptor_ = -1;
    int error = durable_ ? 0 : syncData(descriptor);
    if (const int closeError = closeDescriptor(descriptor); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        removeQuietly(temporary_);
        failWith(translate("Files", "Cannot write '%1': %2"), destination_, error);
    }
    try {
        moveIntoPlace(temporary_, destination_, placement);
    } catch (...) {
        // The temporary file goes whatever failed; the error goes on to the caller.
        removeQuietly(temporary_);
        throw;
    }
    temporary_.clear();
}

void ResultFile::discard() noexcept {
    writer_.reset();  // waits for a write under way: the file is closed only then
    buffer_.clear();
    if (descriptor_ >= 0) {
#ifdef _WIN32
        _close(descriptor_);
#else
        ::close(descriptor_);
#endif
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        removeQuietly(temporary_);
        temporary_.clear();
    }
}

void ResultFile::fail(const std::string& pattern, int error) {
    const std::string destination = destination_;
    discard();
    failWith(pattern, destination, error);
}

void writeResultFile(const std::string& path, std::string_view content, Placement placement) {
    ResultFile file;
    file.open(path);
    file.write(content);
    file.commit(placement);
}

ScratchFolder::ScratchFolder(const std::string& parent) {
    for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
        const std::string candidate =
            joinPath(parent, randomName(kTemporaryPrefix, kScratchSuffix));
        std::error_code ec;
        // create_directory fails on any existing entry, a planted link included.
        if (std::filesystem::create_directory(toFsPath(candidate), ec) && !ec) {
            path_ = candidate;
        } else if (ec && ec != std::errc::file_exists) {
            throw QorError(fillIn(translate("Files", "Cannot create a folder in '%1': %2"),
                                  {parent, ec.message()}));
        }
    }
    if (path_.empty()) {
        throw QorError(fillIn(translate("Files", "Cannot create a folder in '%1'"), {parent}));
    }
#ifndef _WIN32
    ::chmod(path_.c_str(), 0700);
#endif
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(toFsPath(path_), ec);
}

void removeLeftovers(const std::string& folder) noexcept {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(toFsPath(folder), ec)) {
        const std::string name = fromFsPath(entry.path().filename());
        const bool ours = name.starts_with(kTemporaryPrefix) &&
                          (name.ends_with(kTemporarySuffix) || name.ends_with(kScratchSuffix));
        if (ours && !entry.is_symlink(ec)) {
            std::filesystem::remove_all(entry.path(), ec);
        }
    }
}

void ignoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace qor::platform
