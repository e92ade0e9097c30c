#pragma once

#include <string>

// Zip archives opened by path, in any folder whose name the system takes: minizip's narrow
// calls take only the ANSI code page's names on Windows, so there the wide calls open them.
namespace qor::platform {

// A new archive at `path` for writing (minizip's zipFile); nullptr and errno on failure.
void* createZipArchive(const std::string& path);
// The archive at `path` for reading (minizip's unzFile); nullptr on failure.
void* openZipArchive(const std::string& path);

}  // namespace qor::platform
