#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "core/user_interface.h"

namespace qor::cli {

// qorscan's face: questions, messages and errors as one-line texts on stderr that name the
// export file; a progress bar on stderr when it is a terminal.
class TerminalUi : public UserInterface {
public:
    TerminalUi(OverwriteAnswer overwrite, bool quiet);

    void setCurrentFile(std::string path) { currentFile_ = std::move(path); }
    bool errorReported() const { return errorReported_; }
    void clearErrorFlag() { errorReported_ = false; }
    // An error found by qorscan itself, in the same one-line form.
    void printError(const std::string& description);

    bool askYesNo(const Prompt& prompt) override;
    void inform(const Message& message) override;
    void reportError(const StandardError& error) override;
    void setStatus(std::string_view text) override;
    void showProgressWindow(bool visible) override;
    void setProgress(long long value, long long maximum) override;
    void yield() override {}

private:
    void printLine(const std::string& text);
    void drawProgress(bool force);
    void clearProgress();

    OverwriteAnswer overwrite_;
    bool quiet_;
    bool progressShown_;
    bool stdinIsTerminal_;
    std::string currentFile_;
    bool errorReported_ = false;
    std::string status_;
    long long value_ = 0;
    long long maximum_ = 0;
    bool progressOnScreen_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

// Line ends become a single blank so that every message stays on one line.
std::string oneLine(std::string_view text);

}  // namespace qor::cli
