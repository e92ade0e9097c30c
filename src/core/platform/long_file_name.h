#pragma once

#include <string>
#include <string_view>

namespace qor::platform {

// The long form of the document path handed over on the command line: the canonical absolute
// path of an existing regular file (symbolic links and "." / ".." resolved). Empty when the
// path is empty, does not exist, names a folder, or is written in quotes: the desktop passes
// the document as one unquoted argument, so a quoted one opens nothing. Never throws.
std::string longFileName(std::string_view path);

}  // namespace qor::platform
