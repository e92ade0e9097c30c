#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace qor::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The shell's command line for a program with arguments, each quoted.
inline std::string commandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string command = shellQuote(program);
    for (const std::string& arg : args) {
        command += " " + shellQuote(arg);
    }
    return command;
}

// Runs a program with arguments through the shell, stdin empty, capturing both streams.
inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& args,
                                const TempDir& scratch) {
    std::string command = commandLine(program, args);
    const std::string out = scratch.file(".stdout");
    const std::string err = scratch.file(".stderr");
    command += " </dev/null >" + shellQuote(out) + " 2>" + shellQuote(err);
    const int status = std::system(command.c_str());
    CommandResult result;
#ifndef _WIN32
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
#else
    result.exitCode = status;
#endif
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

}  // namespace qor::testing
