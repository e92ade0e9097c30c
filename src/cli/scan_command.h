#pragma once

#include "cli/command_line.h"

namespace qor::cli {

enum ExitStatus { kExitDone = 0, kExitScanError = 1, kExitUsage = 2, kExitNothingEnabled = 3 };

// Runs qorscan for a parsed command line; returns the exit status.
int runScanCommand(const CommandLine& line);

}  // namespace qor::cli
