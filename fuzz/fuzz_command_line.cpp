// Fuzz target: qorscan's argument parsing, the arguments split from the input at NUL bytes.
// A parsed command line is one qorscan can act on: it names a file unless it only asks for
// help or the version, one workbook goes with workbook output only, raw CSV values with CSV
// output only, every parameter box named belongs to its type, and every file is one of the
// arguments. A usage error fits a line, however long the argument it quotes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        arguments.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }

    const auto parsed = cli::parseCommandLine(arguments);
    if (const auto* error = std::get_if<cli::UsageError>(&parsed)) {
        fuzz::require(!error->message.empty(), "a usage error says what is wrong");
        // A quoted argument is cut: the longest message quotes one in full or in excerpt.
        fuzz::require(error->message.size() < 600, "a usage error fits a line");
        return 0;
    }
    const cli::CommandLine& line = std::get<cli::CommandLine>(parsed);
    fuzz::require(!line.files.empty() || line.help || line.version, "a file to scan");
    // --help and --version stop before the choices are checked: they are all that is done.
    fuzz::require(line.help || line.version || !line.oneWorkbook || !line.output ||
                      *line.output == options::OutputMode::ExcelFilesOnly,
                  "one workbook only with workbook output");
    fuzz::require(line.help || line.version || !line.csvRaw || !line.output ||
                      *line.output == options::OutputMode::CsvFilesOnly,
                  "raw CSV values only with CSV output");
    for (const cli::EnableRequest& request : line.enables) {
        for (const std::size_t box : request.boxes) {
            fuzz::require(box < scan::elementType(request.type).parameters.size(),
                          "a parameter box of the type");
        }
    }
    for (const std::string& file : line.files) {
        fuzz::require(std::find(arguments.begin(), arguments.end(), file) != arguments.end(),
                      "every file is an argument given");
    }
    return 0;
}
