#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/check_command.h"
#include "cli/command_line.h"
#include "cli/compare_command.h"
#include "cli/find_command.h"
#include "cli/scan_command.h"
#include "core/base/build_info.h"
#include "core/base/message_text.h"
#include "core/platform/install_layout.h"
#include "core/platform/library_diagnostics.h"
#include "core/platform/result_file.h"
#include "core/platform/stop_signals.h"
#include "core/platform/user_environment.h"
#include "core/services/translators.h"

namespace {

// Where the full description is, for the end of --help.
std::string userGuideLine() {
    const std::string page = qor::platform::userGuidePage();
    return "\nUser guide: " + (page.empty() ? std::string("not installed") : page) + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    qor::platform::ignoreWriteFailureSignals();
    std::FILE* messages = qor::platform::setLibraryDiagnosticsAside();
    const qor::platform::Utf8Console console;
    const std::vector<std::string> arguments = qor::platform::programArguments(argc, argv);
    const auto parsed = qor::cli::parseCommandLine(arguments);
    if (const auto* error = std::get_if<qor::cli::UsageError>(&parsed)) {
        std::fprintf(messages, "qorscan: %s\nTry 'qorscan --help'.\n",
                     qor::terminalText(error->message).c_str());
        return qor::cli::kExitUsage;
    }
    const auto& line = std::get<qor::cli::CommandLine>(parsed);
    if (line.help || line.version) {
        const std::string text =
            line.help ? qor::cli::usageText() + userGuideLine()
                      : "qorscan (QOR Reader) " + std::string(qor::build::kVersion) + "\n";
        std::fputs(text.c_str(), stdout);
        if (std::fflush(stdout) != 0) {
            std::fprintf(messages, "qorscan: error: cannot write the standard output\n");
            return qor::cli::kExitScanError;
        }
        return qor::cli::kExitDone;
    }
    // The messages a person reads follow the system's language; --help, the statistics and
    // every written file stay English (scripts read them).
    const QCoreApplication application(argc, argv);
    qor::services::keepCNumberFormat();
    const qor::services::Translators translators;
    const qor::platform::StopSignals stopSignals;
    if (line.compare) {
        return qor::cli::runCompareCommand(line, messages);
    }
    if (line.find) {
        return qor::cli::runFindCommand(line, messages);
    }
    if (line.check) {
        return qor::cli::runCheckCommand(line, messages);
    }
    return qor::cli::runScanCommand(line, messages);
}
