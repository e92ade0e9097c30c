#include "core/platform/result_file.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>

#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"
#include "core/platform/result_file_names.h"

// What result files do the same way on every system: buffering, the background writer and the
// names of temporary files. The system calls are in result_file_posix.cpp and
// result_file_windows.cpp.
namespace qor::platform {

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

bool entryExists(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(toFsPath(path), ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        throw QorError(fillIn(translate("Files", "Cannot look for '%1': %2"),
                              {shownPath(path), ec.message()}));
    }
    return std::filesystem::exists(status);
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
    if (isOpen() && writer_ == nullptr) {
        writer_ = std::make_unique<BackgroundWriter>(*this);
    }
}

void ResultFile::dropWriter() noexcept {
    writer_.reset();
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

void ResultFile::flush() {
    if (!isOpen()) {
        fail(translate("Files", "Cannot write '%1': %2"), kFileNotOpen);
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

void ResultFile::commit(Placement placement) {
    flush();
    stopBackground();
    if (const int error = closeTemporary(!durable_); error != 0) {
        fail(translate("Files", "Cannot write '%1': %2"), error);
    }
    try {
        moveIntoPlace(folder_, temporary_, folder_, name_, placement);
    } catch (...) {
        // The temporary file goes whatever failed; the error goes on to the caller.
        discard();
        throw;
    }
    temporary_.clear();
}

void ResultFile::makeDurable() {
    flush();
    stopBackground();
    if (const int error = syncToDisk(); error != 0) {
        fail(translate("Files", "Cannot write '%1': %2"), error);
    }
    durable_ = true;
}

void writeResultFile(const FolderHandle& folder, std::string_view name, std::string_view content,
                     Placement placement) {
    ResultFile file;
    file.open(folder, name);
    file.write(content);
    file.commit(placement);
}

}  // namespace qor::platform
