#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// File-system helpers over the standard library. Paths are bytes as the file system holds
// them, in no particular encoding (on Windows, UTF-8): a name that is not valid UTF-8 goes
// through unchanged.
namespace qor::platform {

std::filesystem::path toFsPath(std::string_view path);
std::string fromFsPath(const std::filesystem::path& path);

// `folder` + the platform separator + `name`; no separator is doubled.
std::string joinPath(std::string_view folder, std::string_view name);

// Whether anything stands at `path`, links followed. Throws QorError with the path and the
// cause when the file system cannot tell.
bool pathExists(const std::string& path);

// fopen with a path as above; nullptr and errno on failure.
std::FILE* openFile(const std::string& path, const char* mode);
// Where `file` stands now, beyond 2 GiB too.
std::uint64_t filePosition(std::FILE* file);

// The characters that end a folder in a path ("/", and "\" on Windows), and those no file
// name may hold here besides them.
std::string_view pathSeparators();
std::string_view forbiddenFileNameCharacters();

// Where `needle` (not empty) starts in `data` from `from` on; npos when nowhere. The C
// library's search skips ahead several bytes at a time where the system has it.
std::size_t findBytes(std::string_view data, std::size_t from, std::string_view needle);

#ifdef _WIN32
// `path` as the wide-character system calls take it: absolute, with backslashes, and with the
// "\\?\" prefix that lifts the 260-character limit (UNC paths as "\\?\UNC\server\share").
std::wstring windowsPath(std::string_view path);
// The system's text for a Windows error code, in UTF-8, without the closing full stop.
std::string windowsErrorText(unsigned long error);
#endif

}  // namespace qor::platform
