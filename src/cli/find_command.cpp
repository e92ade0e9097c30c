#include "cli/find_command.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <set>

#include "cli/export_list.h"
#include "cli/result_printer.h"
#include "cli/scan_command.h"
#include "cli/settings_file.h"
#include "cli/terminal_ui.h"
#include "core/base/qor_error.h"
#include "core/base/translation.h"
#include "core/elements/element_loader.h"
#include "core/elements/row_query.h"
#include "core/options/settings_table.h"
#include "core/output/csv_output.h"
#include "core/platform/stop_signals.h"
#include "core/scan/parallel_pass.h"

namespace qor::cli {
namespace {

using elements::Column;
using elements::ColumnKind;
using elements::ElementTable;
using elements::RowIndex;

// Exports are loaded a batch at a time, so that a plant of any size is searched in bounded
// memory; a batch is several exports per thread, so that the threads keep busy.
constexpr std::size_t kExportsPerJob = 4;
constexpr std::size_t kSearchChunkBytes = std::size_t{128} << 10;

enum FindStatus { kFound = 0, kNothingFound = 1, kFindError = 2 };

// The columns a pattern is looked for in: the designation and every field of every type.
std::vector<Column> searchedColumns() {
    std::vector<Column> columns{{ColumnKind::Designation, {}}};
    std::set<std::string_view> names;
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        for (const std::string_view parameter : info.parameters) {
            if (names.insert(parameter).second) {
                columns.push_back({ColumnKind::Parameter, parameter});
            }
        }
    }
    return columns;
}

// Prints the matches of one batch of exports in table order.
class MatchPrinter {
public:
    MatchPrinter(const CommandLine& line) : line_(line), pattern_(*line.find) {
        types_.fill(line.findTypes.empty());
        for (const scan::ElementType type : line.findTypes) {
            types_[scan::indexOf(type)] = true;
        }
    }

    void printHeader(ResultPrinter& out) const {
        std::string header = "FILE,LINE,NODE,TYPE,DESIGNATION";
        const bool named = line_.findTypes.size() == 1 ||
                           (line_.findTypes.size() > 1 &&
                            std::all_of(line_.findTypes.begin(), line_.findTypes.end(),
                                        [&](auto t) { return t == line_.findTypes.front(); }));
        const std::size_t boxes = named
                                      ? scan::elementType(line_.findTypes.front()).parameters.size()
                                      : scan::kMaxParameterBoxes;
        for (std::size_t box = 0; box < boxes; ++box) {
            header += ',';
            header += named
                          ? std::string(scan::elementType(line_.findTypes.front()).parameters[box])
                          : "PARAMETER " + std::to_string(box + 1);
        }
        out.line(header);
    }

    // Whether anything matched.
    bool print(const ElementTable& table, ResultPrinter& out) const {
        std::vector<RowIndex> rows;
        for (RowIndex row = 0; row < table.rowCount(); ++row) {
            if (types_[scan::indexOf(table.record(row).type)]) {
                rows.push_back(row);
            }
        }
        rows = elements::matchRows(table, rows, pattern_, columns_);
        std::string text;
        for (const RowIndex row : rows) {
            text.clear();
            const elements::ElementRecord& record = table.record(row);
            const elements::ExportFile& file = table.fileOf(row);
            const std::string_view type = scan::elementType(record.type).name;
            if (!line_.findCsv) {
                text =
                    file.path + ":" + std::to_string(record.line) + ": " + std::string(type) + " ";
                appendAsUtf8(text, table.designation(row), file.encoding);
                out.line(text);
                continue;
            }
            const output::CsvValues values =
                line_.csvRaw ? output::CsvValues::Raw : output::CsvValues::Guarded;
            output::appendCsvField(text, file.path, values);
            text += ',' + std::to_string(record.line) + ',';
            std::string utf8;
            appendAsUtf8(utf8, file.nodeNumber, file.encoding);
            output::appendCsvField(text, utf8, values);
            text += ',';
            text += type;
            const std::size_t fields = 1 + scan::elementType(record.type).parameters.size();
            for (std::size_t field = 0; field < fields; ++field) {
                utf8.clear();
                appendAsUtf8(utf8, table.field(row, field), file.encoding);
                text += ',';
                output::appendCsvField(text, utf8, values);
            }
            out.line(text);
        }
        return !rows.empty();
    }

private:
    const CommandLine& line_;
    elements::WildcardPattern pattern_;
    std::vector<Column> columns_ = searchedColumns();
    std::array<bool, scan::kElementTypeCount> types_{};
};

}  // namespace

int runFindCommand(const CommandLine& line, std::FILE* messages) {
    TerminalUi ui(OverwriteAnswer::No, true, messages);
    const std::unique_ptr<platform::QtSettingsStore> store = openStoreOrSayWhy(line, ui);
    if (store == nullptr) {
        return kExitUsage;
    }
    elements::LoadSettings settings;
    settings.encoding = line.encoding
                            ? *line.encoding
                            : choiceNamed(options::settings::kTextEncoding.readFrom(*store));
    settings.jobs = line.jobs.value_or(scan::defaultScanThreads());
    // Only stretches that hold the pattern's text are read for elements: small ones, so that
    // little besides the matches is read.
    settings.requiredText = elements::WildcardPattern(*line.find).requiredText();
    settings.chunkBytes = kSearchChunkBytes;

    const ExportList list = exportListOf(line, ui);
    const std::vector<std::string>& paths = list.all;

    std::atomic<bool> cancel{false};
    elements::LoadControl control;
    control.cancel = &cancel;
    control.progress = [&](std::uint64_t, std::uint64_t) {
        if (platform::StopSignals::received() != 0) {
            cancel = true;
        }
    };
    const MatchPrinter printer(line);
    // CSV rows are data: bytes to a file or a pipe, reversibly escaped on a terminal.
    ResultPrinter out(nullptr, line.findCsv ? ResultLines::Data : ResultLines::Shown);
    bool found = false;
    try {
        if (line.findCsv) {
            printer.printHeader(out);
        }
        const std::size_t batch = settings.jobs * kExportsPerJob;
        for (std::size_t first = 0; first < paths.size() && !cancel; first += batch) {
            const std::vector<std::string> part(
                paths.begin() + static_cast<std::ptrdiff_t>(first),
                paths.begin() + static_cast<std::ptrdiff_t>(std::min(first + batch, paths.size())));
            const elements::PlantLoad load = elements::loadExports(part, settings, control);
            if (load.cancelled) {
                break;
            }
            found = printer.print(load.table, out) || found;
            for (const elements::SkippedFile& skipped : load.skipped) {
                ui.setCurrentFile(skipped.path);
                if (skipped.notAnExport && !isNamed(list, skipped.path)) {
                    ui.printNote(translate("qorscan", "not a node export, skipped"));
                } else {
                    ui.printError(skipped.reason);
                }
            }
        }
    } catch (const std::bad_alloc&) {
        ui.setCurrentFile({});
        ui.printError(translate("qorscan", "out of memory"));
    }
    return searchExitStatus(ui, found, {kFound, kNothingFound, kFindError});
}

}  // namespace qor::cli
