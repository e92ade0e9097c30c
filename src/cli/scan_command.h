#pragma once

#include <cstdio>

#include "cli/command_line.h"

namespace qor::cli {

enum ExitStatus {
    kExitDone = 0,
    kExitScanError = 1,
    kExitUsage = 2,
    kExitNothingEnabled = 3,
    kExitSignalBase = 128,  // plus the number of the signal that stopped the run
};

// Follows the error of a node folder locked by another computer's scan.
inline constexpr const char* kBreakLockHint =
    "; when no scan runs there any more, --break-lock takes the lock over";

// Runs qorscan for a parsed command line, its messages going to `messages`; returns the exit
// status.
int runScanCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
