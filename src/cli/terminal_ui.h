#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "core/base/message_text.h"
#include "core/base/user_interface.h"

namespace qor::cli {

// qorscan's face: questions, messages and errors as one-line texts on `messages` (the
// terminal's error stream) that name the export file; a progress bar there when it is a
// terminal.
class TerminalUi : public UserInterface {
public:
    TerminalUi(OverwriteAnswer overwrite, bool quiet, std::FILE* messages = stderr);

    void setCurrentFile(std::string path) { currentFile_ = std::move(path); }
    // For an export scanned alongside others: its lines are kept in `buffer` to be printed
    // with the rest of its file's output, no progress is drawn, and a question asked on the
    // terminal waits for `terminalLock`.
    void collectInto(std::string* buffer, std::mutex* terminalLock) {
        buffer_ = buffer;
        terminalLock_ = terminalLock;
        progressShown_ = false;
    }
    bool errorReported() const { return errorReported_; }
    void clearErrorFlag() { errorReported_ = false; }
    // An error found by qorscan itself, in the same one-line form.
    void printError(const std::string& description);
    // A line of information, in the same form.
    void printNote(const std::string& text);

    bool askYesNo(const Prompt& prompt) override;
    void inform(const Message& message) override;
    void reportError(const StandardError& error) override;
    void setStatus(std::string_view text) override;
    void setRunning(bool running) override;
    void setProgress(long long value, long long maximum) override;
    // A stop signal (Ctrl-C, SIGTERM, SIGHUP) cancels what runs.
    bool cancelRequested() override;

private:
    void printLine(const std::string& text);
    void drawProgress(bool force);
    void clearProgress();

    OverwriteAnswer overwrite_;
    bool quiet_;
    std::FILE* messages_;
    bool progressShown_;
    bool stdinIsTerminal_;
    std::string currentFile_;
    bool errorReported_ = false;
    std::string status_;
    long long value_ = 0;
    long long maximum_ = 0;
    bool progressOnScreen_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::string* buffer_ = nullptr;
    std::mutex* terminalLock_ = nullptr;
};

}  // namespace qor::cli
