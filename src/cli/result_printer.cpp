#include "cli/result_printer.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "cli/scan_command.h"
#include "cli/terminal_ui.h"
#include "core/base/message_text.h"
#include "core/base/translation.h"
#include "core/platform/stop_signals.h"
#include "core/platform/user_environment.h"

namespace qor::cli {

ResultPrinter::ResultPrinter(std::string* buffer, ResultLines lines)
    : buffer_(buffer),
      raw_(lines == ResultLines::Data && !platform::isTerminal(stdout)),
      doubleBackslashes_(lines == ResultLines::Data) {}

void ResultPrinter::line(std::string_view text) {
    const std::string shown =
        (raw_ ? std::string(text)
              : terminalText(text,
                             doubleBackslashes_ ? Backslashes::Doubled : Backslashes::AsThey)) +
        "\n";
    if (buffer_ != nullptr) {
        *buffer_ += shown;
    } else {
        std::fwrite(shown.data(), 1, shown.size(), stdout);
    }
}

std::string ResultPrinter::failure() {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return {};
    }
    const int error = errno;
    return fillIn(translate("qorscan", "cannot write the standard output: %1"),
                  {error != 0 ? std::generic_category().message(error)
                              : translate("qorscan", "write error")});
}

int searchExitStatus(TerminalUi& ui, bool found, const SearchStatuses& statuses) {
    ui.setCurrentFile({});
    if (const std::string failure = ResultPrinter::failure(); !failure.empty()) {
        ui.printError(failure);
    }
    if (const int signal = platform::StopSignals::received(); signal != 0) {
        return kExitSignalBase + signal;
    }
    if (ui.errorReported()) {
        return statuses.error;
    }
    return found ? statuses.found : statuses.nothingFound;
}

}  // namespace qor::cli
