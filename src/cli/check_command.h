#pragma once

#include <cstdio>

#include "cli/command_line.h"

namespace qor::cli {

// Runs `qorscan --check FILE|DIR...`: reads every export named or found (one plant), runs the
// checks chosen and prints their findings in path and line order, the cabinet-module table's
// last, as FILE:LINE: SEVERITY: ID: MESSAGE, CSV rows or JSON; notes and errors go to
// `messages`. Returns 0 when nothing was found, 1 when something was, 2 on an error (a file
// that cannot be read, a named file that is no export, a folder or cabinet file that cannot be
// read) even when others were checked, or 128 + a stop signal's number.
int runCheckCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
