#include "core/platform/zip_archive_files.h"

#include <unzip.h>
#include <zip.h>

#ifdef _WIN32
#include <iowin32.h>

#include "core/platform/file_system.h"
#endif

namespace qor::platform {

void* createZipArchive(const std::string& path) {
#ifdef _WIN32
    zlib_filefunc64_def files;
    fill_win32_filefunc64W(&files);
    const std::wstring widePath = windowsPath(path);
    return zipOpen2_64(widePath.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
#else
    return zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
#endif
}

void* openZipArchive(const std::string& path) {
#ifdef _WIN32
    zlib_filefunc64_def files;
    fill_win32_filefunc64W(&files);
    const std::wstring widePath = windowsPath(path);
    return unzOpen2_64(widePath.c_str(), &files);
#else
    return unzOpen64(path.c_str());
#endif
}

}  // namespace qor::platform
