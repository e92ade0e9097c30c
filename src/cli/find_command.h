#pragma once

#include <cstdio>

#include "cli/command_line.h"

namespace qor::cli {

// Runs `qorscan --find PATTERN FILE|DIR...`: prints the matching elements of every export in
// path order, as FILE:LINE: TYPE DESIGNATION or as CSV rows, notes and errors going to
// `messages`. Returns 0 when an element matched, 1 when none did, 2 on an error (a file that
// cannot be read, a named file that is no export, a folder that cannot be read) even when
// others matched, or 128 + a stop signal's number.
int runFindCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
