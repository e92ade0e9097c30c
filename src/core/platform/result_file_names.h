#pragma once

#include <string>
#include <string_view>

// The names result files and scratch folders have while they are written, shared by the
// system-specific halves of result_file.cpp: whatever carries them in a result folder is a
// leftover of an interrupted run once the folder's lock is ours.
namespace qor::platform {

inline constexpr std::string_view kTemporaryPrefix = ".qor-";
inline constexpr std::string_view kTemporarySuffix = ".part";
inline constexpr std::string_view kScratchSuffix = ".tmp";

// A name no one can have planted: random, and created exclusively by the caller.
std::string randomName(std::string_view prefix, std::string_view suffix);

// The system's error number for a write to a file that was never opened.
extern const int kFileNotOpen;

}  // namespace qor::platform
