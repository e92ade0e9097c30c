#include "cli/terminal_ui.h"

#include <iostream>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/platform/stop_signals.h"
#include "core/platform/user_environment.h"

namespace qor::cli {

TerminalUi::TerminalUi(OverwriteAnswer overwrite, bool quiet, std::FILE* messages)
    : overwrite_(overwrite),
      quiet_(quiet),
      messages_(messages),
      progressShown_(!quiet && platform::isTerminal(messages)),
      stdinIsTerminal_(platform::isTerminal(stdin)) {}

void TerminalUi::printLine(const std::string& text) {
    clearProgress();
    const std::string file = terminalText(currentFile_);
    const std::string line = "qorscan: " + file + (file.empty() ? "" : ": ") + text + "\n";
    if (buffer_ != nullptr) {
        *buffer_ += line;
        return;
    }
    std::fputs(line.c_str(), messages_);
    std::fflush(messages_);
}

void TerminalUi::printError(const std::string& description) {
    errorReported_ = true;
    printLine(fillIn(translate("qorscan", "error: %1"), {terminalText(description)}));
}

void TerminalUi::printNote(const std::string& text) {
    printLine(terminalText(text));
}

bool TerminalUi::askYesNo(const Prompt& prompt) {
    // Asked to stop: the run is over, and no further question is worth a line.
    if (platform::StopSignals::received() != 0) {
        return false;
    }
    const bool ask = overwrite_ == OverwriteAnswer::Ask ||
                     (overwrite_ == OverwriteAnswer::AskOnTerminal && stdinIsTerminal_);
    if (!ask) {
        const bool yes = overwrite_ == OverwriteAnswer::Yes;
        // A No skips a type or keeps a file: always worth a line. A Yes only when not quiet.
        if (!yes || !quiet_) {
            printLine(terminalText(prompt.text) + " " +
                      (yes ? translate("qorscan", "yes") : translate("qorscan", "no")));
        }
        return yes;
    }
    std::unique_lock<std::mutex> terminal;
    if (terminalLock_ != nullptr) {
        terminal = std::unique_lock(*terminalLock_);
    }
    clearProgress();
    std::fprintf(messages_, "%s%s%s [y/N] ",
                 buffer_ != nullptr ? terminalText(currentFile_).c_str() : "",
                 buffer_ != nullptr ? ": " : "", terminalText(prompt.text).c_str());
    std::fflush(messages_);
    // Longer than any answer: an endless line (< /dev/zero) is no answer, not a wait for ever.
    constexpr std::size_t kLongestAnswer = 64;
    // A stop signal ends the wait for an answer: the answer is No, and the run stops.
    const std::optional<std::string> answer =
        platform::StopSignals::readStandardInputLine(kLongestAnswer);
    if (!answer) {
        std::fputc('\n', messages_);
        return false;
    }
    return *answer == "y" || *answer == "Y" || *answer == "yes" || *answer == "Yes";
}

bool TerminalUi::cancelRequested() {
    return platform::StopSignals::received() != 0;
}

void TerminalUi::inform(const Message& message) {
    printLine(terminalText(message.text));
}

void TerminalUi::reportError(const StandardError& error) {
    errorReported_ = true;
    // The location stays as it is everywhere: it names the place in the program.
    printLine(fillIn(translate("qorscan", "error: %1 (%2)"),
                     {terminalText(error.description), standardErrorLocation(error)}));
}

void TerminalUi::setStatus(std::string_view text) {
    status_ = text;
    drawProgress(true);
}

void TerminalUi::setRunning(bool running) {
    if (!running) {
        clearProgress();
    }
}

void TerminalUi::setProgress(long long value, long long maximum) {
    value_ = value;
    maximum_ = maximum;
    drawProgress(false);
}

void TerminalUi::drawProgress(bool force) {
    if (!progressShown_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) {
        return;
    }
    lastDraw_ = now;
    constexpr int kWidth = 30;
    const int filled =
        maximum_ > 0 ? static_cast<int>(kWidth * std::min(value_, maximum_) / maximum_) : 0;
    std::fprintf(messages_, "\r\033[K%s [%s%s] %lld/%lld", terminalText(status_).c_str(),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), value_,
                 maximum_);
    std::fflush(messages_);
    progressOnScreen_ = true;
}

void TerminalUi::clearProgress() {
    if (progressOnScreen_) {
        std::fprintf(messages_, "\r\033[K");
        std::fflush(messages_);
        progressOnScreen_ = false;
    }
}

}  // namespace qor::cli
