#include "cli/terminal_ui.h"

#include <iostream>

#include "core/standard_error.h"
#include "platform/user_environment.h"

namespace qor::cli {

std::string oneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += text[i];
        }
    }
    return line;
}

TerminalUi::TerminalUi(OverwriteAnswer overwrite, bool quiet)
    : overwrite_(overwrite),
      quiet_(quiet),
      progressShown_(!quiet && platform::isTerminal(stderr)),
      stdinIsTerminal_(platform::isTerminal(stdin)) {}

void TerminalUi::printLine(const std::string& text) {
    clearProgress();
    std::fprintf(stderr, "qorscan: %s%s%s\n", currentFile_.c_str(),
                 currentFile_.empty() ? "" : ": ", text.c_str());
    std::fflush(stderr);
}

void TerminalUi::printError(const std::string& description) {
    errorReported_ = true;
    printLine("error: " + oneLine(description));
}

bool TerminalUi::askYesNo(const Prompt& prompt) {
    const bool ask = overwrite_ == OverwriteAnswer::Ask ||
                     (overwrite_ == OverwriteAnswer::AskOnTerminal && stdinIsTerminal_);
    if (!ask) {
        const bool yes = overwrite_ == OverwriteAnswer::Yes;
        // A No skips a type or keeps a file: always worth a line. A Yes only when not quiet.
        if (!yes || !quiet_) {
            printLine(oneLine(prompt.text) + (yes ? " yes" : " no"));
        }
        return yes;
    }
    clearProgress();
    std::fprintf(stderr, "%s [y/N] ", oneLine(prompt.text).c_str());
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::fputc('\n', stderr);
        return false;
    }
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

void TerminalUi::inform(const Message& message) {
    printLine(oneLine(message.text));
}

void TerminalUi::reportError(const StandardError& error) {
    errorReported_ = true;
    printLine("error: " + oneLine(error.description) + " (in QORReader." + error.module + "." +
              error.procedure + " at line " + std::to_string(error.line) + error.trailer + ")");
}

void TerminalUi::setStatus(std::string_view text) {
    status_ = text;
    drawProgress(true);
}

void TerminalUi::showProgressWindow(bool visible) {
    if (!visible) {
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
    std::fprintf(stderr, "\r\033[K%s [%s%s] %lld/%lld", status_.c_str(),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), value_,
                 maximum_);
    std::fflush(stderr);
    progressOnScreen_ = true;
}

void TerminalUi::clearProgress() {
    if (progressOnScreen_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        progressOnScreen_ = false;
    }
}

}  // namespace qor::cli
