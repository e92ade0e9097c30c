#pragma once

#include <cstdio>

#include "cli/command_line.h"

namespace qor::cli {

// Runs `qorscan --compare OLD NEW`, its messages going to `messages`; returns the exit status:
// 0 written (differences or not), 1 an error (or, with --exit-code, the exports differ),
// 2 bad settings, no result folder, or an export that cannot be read.
int runCompareCommand(const CommandLine& line, std::FILE* messages);

}  // namespace qor::cli
