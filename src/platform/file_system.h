#pragma once

#include <cstdio>
#include <filesystem>
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
// Creates or truncates the file and writes `content`; nothing is left half-written silently.
void writeWholeFile(const std::string& path, std::string_view content);
std::string readWholeFile(const std::string& path);

// fopen with a UTF-8 path; nullptr and errno on failure.
std::FILE* openFile(const std::string& path, const char* mode);
// Removes a file; false when it could not be removed.
bool removeFile(const std::string& path) noexcept;

}  // namespace qor::platform
