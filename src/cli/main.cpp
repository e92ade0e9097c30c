#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/scan_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = qor::cli::parseCommandLine(arguments);
    if (const auto* error = std::get_if<qor::cli::UsageError>(&parsed)) {
        std::cerr << "qorscan: " << error->message << "\n"
                  << "Try 'qorscan --help'.\n";
        return qor::cli::kExitUsage;
    }
    const auto& line = std::get<qor::cli::CommandLine>(parsed);
    if (line.help) {
        std::cout << qor::cli::usageText();
        return qor::cli::kExitDone;
    }
    if (line.version) {
        std::cout << "qorscan (QOR Reader) " << QOR_VERSION_TEXT << "\n";
        return qor::cli::kExitDone;
    }
    return qor::cli::runScanCommand(line);
}
