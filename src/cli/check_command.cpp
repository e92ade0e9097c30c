#include "cli/check_command.h"

#include <atomic>
#include <memory>
#include <new>

#include "cli/export_list.h"
#include "cli/result_printer.h"
#include "cli/scan_command.h"
#include "cli/settings_file.h"
#include "cli/terminal_ui.h"
#include "core/base/ascii.h"
#include "core/base/translation.h"
#include "core/base/utf8.h"
#include "core/checks/findings_file.h"
#include "core/checks/run_checks.h"
#include "core/elements/element_loader.h"
#include "core/options/settings_table.h"
#include "core/output/csv_output.h"
#include "core/platform/stop_signals.h"
#include "core/scan/parallel_pass.h"

namespace qor::cli {
namespace {

enum CheckStatus { kNothingFound = 0, kFound = 1, kCheckError = 2 };

// A JSON string of ASCII only: every character beyond it as \uXXXX (astral ones as surrogate
// pairs), and each byte that is no UTF-8 as the lone surrogate U+DC00 + byte, as Python's
// "surrogateescape" reads file names, so that a path of any bytes comes back whole.
void appendJsonString(std::string& out, std::string_view text) {
    const auto escape = [&out](unsigned unit) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += foldAscii(kHexDigits[(unit >> shift) & 0xF]);
        }
    };
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t code = 0;
        if (byte >= 0x80) {
            const std::size_t length = decodeUtf8(text, at, code);
            if (length == 0) {
                escape(0xDC00 + byte);
                ++at;
            } else if (code >= 0x10000) {
                escape(0xD800 + ((code - 0x10000) >> 10));
                escape(0xDC00 + ((code - 0x10000) & 0x3FF));
                at += length;
            } else {
                escape(code);
                at += length;
            }
            continue;
        }
        ++at;
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            escape(byte);
        } else {
            out += static_cast<char>(byte);
        }
    }
    out += '"';
}

constexpr const char* kJsonKeys[] = {"file",        "line", "node",     "type",
                                     "designation", "id",   "severity", "message"};

// Prints findings as the chosen format has them.
class FindingPrinter {
public:
    explicit FindingPrinter(const CommandLine& line)
        : line_(line),
          out_(nullptr, line.findCsv ? ResultLines::Data : ResultLines::Shown),
          values_(line.csvRaw ? output::CsvValues::Raw : output::CsvValues::Guarded) {}

    void begin() {
        if (line_.findCsv) {
            out_.line(checks::kFindingsCsvHeader);
        } else if (line_.formatJson) {
            out_.line("[");
        }
    }

    void print(const checks::FindingRow& row, bool last) {
        text_.clear();
        const std::string_view severity = checks::severityName(row.severity);
        const std::string line = std::to_string(row.line);
        if (line_.findCsv) {
            checks::appendFindingCsv(text_, row, values_);
        } else if (line_.formatJson) {
            const std::string_view fields[] = {row.file,        line,   row.node, row.type,
                                               row.designation, row.id, severity, row.message};
            for (std::size_t i = 0; i < std::size(fields); ++i) {
                text_ += i == 0 ? "{\"" : ",\"";
                text_ += kJsonKeys[i];
                text_ += "\":";
                if (i == 1) {
                    text_ += line;  // a number
                } else {
                    appendJsonString(text_, fields[i]);
                }
            }
            text_ += last ? "}" : "},";
        } else {
            text_ = row.file + ":" + line + ": " + std::string(severity) + ": " + row.id + ": " +
                    row.message;
        }
        out_.line(text_);
    }

    void end() {
        if (line_.formatJson) {
            out_.line("]");
        }
    }

private:
    const CommandLine& line_;
    ResultPrinter out_;
    output::CsvValues values_;
    std::string text_;
};

// The table the cabinet checks use: the --cabinets file, or the stored table while its labels
// are applied; none otherwise.
std::optional<checks::CabinetSource> cabinetSource(const CommandLine& line,
                                                   std::optional<options::CabinetFile> file,
                                                   const platform::QtSettingsStore& store,
                                                   TerminalUi& ui) {
    if (file) {
        return checks::cabinetSourceOf(*file, *line.cabinetsFile);
    }
    options::CabinetModuleTable table = options::CabinetModuleTable::readFrom(store, ui);
    const bool applied =
        options::settings::kApplyCabinetModule.readBooleanFrom(store).value_or(false);
    if (!applied || table.rows.empty()) {
        return std::nullopt;
    }
    return checks::cabinetSourceOf(std::move(table.rows), store.location());
}

checks::CheckChoice choiceOf(const CommandLine& line) {
    checks::CheckChoice choice;
    choice.minimum = checks::severityNamed(line.minimumSeverity.value_or("note")).value();
    choice.disabled.resize(checks::checkRegistry().size());
    for (const std::string& id : line.disabledChecks) {
        choice.disabled[*checks::checkNamed(id)] = true;
    }
    return choice;
}

}  // namespace

int runCheckCommand(const CommandLine& line, std::FILE* messages) {
    TerminalUi ui(OverwriteAnswer::No, true, messages);
    std::optional<options::CabinetFile> cabinetFile;
    if (line.cabinetsFile) {
        // The module-two-cabinets findings say what the notes on its lines would.
        cabinetFile = readCabinetFileOrSayWhy(*line.cabinetsFile, ui, false);
        if (!cabinetFile) {
            return kExitUsage;
        }
    }
    const std::unique_ptr<platform::QtSettingsStore> store = openStoreOrSayWhy(line, ui);
    if (store == nullptr) {
        return kExitUsage;
    }
    const std::optional<checks::CabinetSource> cabinets =
        cabinetSource(line, std::move(cabinetFile), *store, ui);
    elements::LoadSettings settings;
    settings.encoding = line.encoding
                            ? *line.encoding
                            : choiceNamed(options::settings::kTextEncoding.readFrom(*store));
    settings.jobs = line.jobs.value_or(scan::defaultScanThreads());
    const ExportList list = exportListOf(line, ui);

    std::atomic<bool> cancel{false};
    elements::LoadControl control;
    control.cancel = &cancel;
    control.progress = [&](std::uint64_t, std::uint64_t) {
        if (platform::StopSignals::received() != 0) {
            cancel = true;
        }
    };
    bool found = false;
    try {
        const elements::PlantLoad load = elements::loadExports(list.all, settings, control);
        for (const elements::SkippedFile& skipped : load.skipped) {
            ui.setCurrentFile(skipped.path);
            if (skipped.notAnExport && !isNamed(list, skipped.path)) {
                ui.printNote(translate("qorscan", "not a node export, skipped"));
            } else {
                ui.printError(skipped.reason);
            }
        }
        if (!load.cancelled) {
            const checks::CheckInput input{load.table, cabinets ? &*cabinets : nullptr};
            const checks::CheckResult result =
                checks::runChecks(input, choiceOf(line), settings.jobs, &cancel);
            FindingPrinter printer(line);
            printer.begin();
            for (std::size_t i = 0; i < result.findings.size(); ++i) {
                printer.print(
                    checks::findingRow(result.findings[i], input, checks::Wording::English),
                    i + 1 == result.findings.size());
            }
            printer.end();
            found = !result.findings.empty();
        }
    } catch (const checks::ChecksCancelled&) {
        // A stop signal: said by the exit status.
    } catch (const std::bad_alloc&) {
        ui.setCurrentFile({});
        ui.printError(translate("qorscan", "out of memory"));
    }
    return searchExitStatus(ui, found, {kFound, kNothingFound, kCheckError});
}

}  // namespace qor::cli
