#include "platform/output_file.h"

#include <cerrno>
#include <system_error>

#include "core/qor_error.h"
#include "platform/file_system.h"

namespace qor::platform {
namespace {

[[noreturn]] void fail(const char* what, const std::string& path, int error) {
    throw QorError(std::string(what) + " '" + path +
                   "': " + std::generic_category().message(error));
}

}  // namespace

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::open(const std::string& path, const char* mode) {
    discard();
    file_ = openFile(path, mode);
    if (file_ == nullptr) {
        fail(mode[0] == 'a' ? "Cannot open" : "Cannot create", path, errno);
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);  // our buffer is the only one
    path_ = path;
    buffer_.reserve(kBufferBytes + 4096);
}

void OutputFile::flush() {
    if (file_ == nullptr) {
        fail("Cannot write", path_, EBADF);
    }
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        const int error = errno;
        buffer_.clear();
        fail("Cannot write", path_, error);
    }
    buffer_.clear();
}

void OutputFile::close() {
    if (file_ == nullptr) {
        return;
    }
    try {
        flush();
    } catch (...) {
        discard();
        throw;
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        fail("Cannot write", path_, errno);
    }
}

void OutputFile::discard() noexcept {
    buffer_.clear();
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

}  // namespace qor::platform
