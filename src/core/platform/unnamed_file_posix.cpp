#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/file_system.h"
#include "core/platform/unnamed_file.h"

namespace qor::platform {

UnnamedFile::~UnnamedFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

int UnnamedFile::create(const std::string& folder) {
#ifdef O_TMPFILE
    descriptor_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return errno;
    }
#endif
    if (descriptor_ < 0) {
        // A file system without unnamed files: a fresh name, removed at once.
        std::string name = joinPath(folder, ".qor-changes-XXXXXX");
        descriptor_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (descriptor_ < 0) {
            return errno;
        }
        ::unlink(name.c_str());
    }
    return 0;
}

long long UnnamedFile::writeAt(std::uint64_t offset, const char* data, std::size_t size) {
    for (;;) {
        const ssize_t written = ::pwrite(descriptor_, data, size, static_cast<off_t>(offset));
        if (written >= 0 || errno != EINTR) {
            return written;
        }
    }
}

long long UnnamedFile::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    for (;;) {
        const ssize_t got = ::pread(descriptor_, into, size, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

}  // namespace qor::platform
