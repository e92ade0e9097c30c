#include "core/compare/spill_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <random>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qor::compare {

SpillFile::~SpillFile() {
    if (descriptor_ >= 0) {
#ifdef _WIN32
        _close(descriptor_);
#else
        ::close(descriptor_);
#endif
    }
}

void SpillFile::fail(const std::string& pattern, int error) const {
    throw QorError(fillIn(pattern, {folder_, std::generic_category().message(error)}));
}

void SpillFile::create() {
    if (folder_.empty()) {
        std::error_code ec;
        folder_ = platform::fromFsPath(std::filesystem::temp_directory_path(ec));
        if (ec) {
            throw QorError(fillIn(translate("Comparison", "No folder for temporary files: %1"),
                                  {ec.message()}));
        }
    }
#ifdef _WIN32
    std::random_device random;
    for (int attempt = 0; attempt < 16 && descriptor_ < 0; ++attempt) {
        const std::string name = ".qor-changes-" + std::to_string(random()) + ".tmp";
        descriptor_ =
            _wopen(platform::toFsPath(platform::joinPath(folder_, name)).c_str(),
                   _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_TEMPORARY | _O_SHORT_LIVED,
                   _S_IREAD | _S_IWRITE);
        if (descriptor_ < 0 && errno != EEXIST) {
            break;
        }
    }
#else
#ifdef O_TMPFILE
    descriptor_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        fail(translate("Comparison", "Cannot create a temporary file in '%1': %2"), errno);
    }
#endif
    if (descriptor_ < 0) {
        // A file system without unnamed files: a fresh name, removed at once.
        std::string name = platform::joinPath(folder_, ".qor-changes-XXXXXX");
        descriptor_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (descriptor_ >= 0) {
            ::unlink(name.c_str());
        }
    }
#endif
    if (descriptor_ < 0) {
        fail(translate("Comparison", "Cannot create a temporary file in '%1': %2"), errno);
    }
}

std::uint64_t SpillFile::append(std::string_view bytes) {
    if (descriptor_ < 0) {
        create();
    }
    const std::uint64_t start = size_;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
#ifdef _WIN32
        // Reads move the file position.
        _lseeki64(descriptor_, static_cast<__int64>(size_), SEEK_SET);
        const int written =
            _write(descriptor_, data, static_cast<unsigned>(left > (1u << 30) ? (1u << 30) : left));
#else
        const ssize_t written = ::pwrite(descriptor_, data, left, static_cast<off_t>(size_));
#endif
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail(
                translate("Comparison", "Cannot write the changes to a temporary file in '%1': %2"),
                written < 0 ? errno : ENOSPC);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
        size_ += static_cast<std::uint64_t>(written);
    }
    return start;
}

void SpillFile::read(std::uint64_t offset, std::size_t size, std::string& into) const {
    into.resize(size);
    std::size_t done = 0;
    while (done < size) {
#ifdef _WIN32
        _lseeki64(descriptor_, static_cast<__int64>(offset + done), SEEK_SET);
        const int got =
            _read(descriptor_, into.data() + done,
                  static_cast<unsigned>(size - done > (1u << 30) ? (1u << 30) : size - done));
#else
        const ssize_t got = ::pread(descriptor_, into.data() + done, size - done,
                                    static_cast<off_t>(offset + done));
#endif
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            fail(translate("Comparison",
                           "Cannot read the changes back from a temporary file in '%1': %2"),
                 got < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(got);
    }
}

}  // namespace qor::compare
