#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#else
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

#ifdef _WIN32
// One argument of a Windows command line as the C runtime splits it again: quoted, with the
// backslashes before a quote doubled.
inline std::wstring windowsArgument(const std::wstring& text) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
        } else {
            quoted.append(c == L'"' ? backslashes + 1 : 0, L'\\');  // the ones so far, doubled
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, L'\\');
    return quoted + L"\"";
}

// Runs a program with arguments, stdin empty, capturing both streams.
inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& args,
                                const TempDir& scratch) {
    const auto wide = [](const std::string& text) {
        return std::filesystem::path(std::u8string(text.begin(), text.end())).wstring();
    };
    std::wstring command = windowsArgument(wide(program));
    for (const std::string& arg : args) {
        command += L" " + windowsArgument(wide(arg));
    }
    const std::string out = scratch.file(".stdout");
    const std::string err = scratch.file(".stderr");
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const auto open = [&](const std::wstring& path, DWORD access, DWORD disposition) {
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE input = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE output = open(wide(out), GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE error = open(wide(err), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    CommandResult result;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {input, output, error}) {
        CloseHandle(handle);
    }
    // The console streams end their lines with CR LF here; the checks read lines.
    const auto lines = [](std::string text) {
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at)) {
            text.erase(at, 1);
        }
        return text;
    };
    result.out = lines(readFile(out));
    result.err = lines(readFile(err));
    return result;
}
#else
// Runs a program with arguments through the shell, stdin empty, capturing both streams.
inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& args,
                                const TempDir& scratch) {
    std::string command = commandLine(program, args);
    const std::string out = scratch.file(".stdout");
    const std::string err = scratch.file(".stderr");
    command += " </dev/null >" + shellQuote(out) + " 2>" + shellQuote(err);
    const int status = std::system(command.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}
#endif

}  // namespace qor::testing
