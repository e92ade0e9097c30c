#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// File-system helpers over the standard library. Paths are UTF-8 text throughout.
namespace qor::platform {

std::filesystem::path toFsPath(std::string_view utf8);
std::string fromFsPath(const std::filesystem::path& path);

// `folder` + the platform separator + `name`; no separator is doubled.
std::string joinPath(std::string_view folder, std::string_view name);

// Throw QorError with the path and the cause when the file system refuses.
bool pathExists(const std::string& path);
bool folderExists(const std::string& path);
void createFolder(const std::string& path);            // one level
std::string canonicalFolder(const std::string& path);  // the path as the file system reports it
std::string readWholeFile(const std::string& path);
// The bytes of the regular file at `path` when it is one (not a link, a folder or a device)
// and holds at most `maxBytes`; nothing otherwise.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);
// Whether `path` names a regular file itself (a symbolic link to one does not count).
bool isRegularFile(const std::string& path);

// fopen with a UTF-8 path; nullptr and errno on failure.
std::FILE* openFile(const std::string& path, const char* mode);
// Removes a file; false when it could not be removed.
bool removeFile(const std::string& path) noexcept;

}  // namespace qor::platform
