#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "core/platform/file_system.h"
#include "core/platform/unnamed_file.h"

namespace qor::platform {
namespace {

// The most one call of the C runtime moves.
constexpr std::size_t kMostPerCall = std::size_t{1} << 30;

}  // namespace

UnnamedFile::~UnnamedFile() {
    if (descriptor_ >= 0) {
        _close(descriptor_);
    }
}

int UnnamedFile::create(const std::string& folder) {
    std::random_device random;
    for (int attempt = 0; attempt < 16 && descriptor_ < 0; ++attempt) {
        const std::string name = ".qor-changes-" + std::to_string(random()) + ".tmp";
        // Deleted by the system when it is closed, the program's end included.
        descriptor_ =
            _wopen(toFsPath(joinPath(folder, name)).c_str(),
                   _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_TEMPORARY | _O_SHORT_LIVED,
                   _S_IREAD | _S_IWRITE);
        if (descriptor_ < 0 && errno != EEXIST) {
            return errno;
        }
    }
    return descriptor_ >= 0 ? 0 : EEXIST;
}

long long UnnamedFile::writeAt(std::uint64_t offset, const char* data, std::size_t size) {
    // The C runtime has no positioned calls: each seeks first (reads move the position).
    _lseeki64(descriptor_, static_cast<__int64>(offset), SEEK_SET);
    return _write(descriptor_, data, static_cast<unsigned>(std::min(size, kMostPerCall)));
}

long long UnnamedFile::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    _lseeki64(descriptor_, static_cast<__int64>(offset), SEEK_SET);
    return _read(descriptor_, into, static_cast<unsigned>(std::min(size, kMostPerCall)));
}

}  // namespace qor::platform
