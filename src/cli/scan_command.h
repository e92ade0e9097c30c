#pragma once

#include <cstdio>

#include "cli/command_line.h"

namespace qor::cli {

enum ExitStatus { kExitDone = 0, kExitScanError = 1, kExitUsage = 2, kExitNothingEnabled = 3 };

// Runs qorscan for a parsed command line, its messages going to `messages`; returns the exit
// status.
int runScanCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
