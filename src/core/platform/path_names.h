#pragma once

#include <string>
#include <string_view>

namespace qor::platform {

// A text made safe as part of a file or folder name: / \ : * ? " < > | and control
// characters become "_", so a node number read from a file can never leave the folder.
std::string safeFileNamePart(std::string_view text);

// How a system writes and compares paths: its separator, and whether its file names differ in
// case only (a backslash and no on Windows, "/" and yes elsewhere).
struct PathRules {
    char separator = '/';
    bool ignoreCase = false;
};
inline constexpr PathRules kPosixPaths{'/', false};
inline constexpr PathRules kWindowsPaths{'\\', true};

// The rules of the system the program runs on, unless another system's were chosen (as a
// test does, to see Windows paths on Linux); chosen before any work starts, read by any thread.
PathRules shownPathRules();
void chooseShownPathRules(const PathRules& rules);

// A path as a person reads it, in a window title, a message, a menu: with the system's
// separators (C:\Data\node.qor on Windows, where "/" is one too).
std::string shownPath(std::string_view path, const PathRules& rules = shownPathRules());

// Whether two paths name the same file: their canonical forms for files that exist (links
// resolved), else the cleaned absolute paths; either separator where the system takes both, and
// without regard to case where its file names have none.
bool samePath(std::string_view a, std::string_view b, const PathRules& rules = shownPathRules());

}  // namespace qor::platform
