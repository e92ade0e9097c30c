// Times full scans (all fourteen types, every parameter) of generated exports held in the page
// cache, each beside `wc -l` on the same files in the same run. Not a test: run it by hand, see
// bench/README.md.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/base/date_time.h"
#include "core/compare/changes_folder.h"
#include "core/compare/export_comparison.h"
#include "core/elements/element_loader.h"
#include "core/elements/row_query.h"
#include "core/output/scan_run.h"
#include "core/output/session.h"
#include "core/scan/export_scan.h"
#include "core/scan/node_info.h"
#include "export_edits.h"
#include "export_generator.h"
#include "measured_run.h"
#include "skipped_syncs.h"

namespace {

namespace fs = std::filesystem;
using qor::bench::median;
using qor::bench::RunFigures;

constexpr const char* kUsage =
    "usage: qorbench [--sizes MB[,MB...]] [--output csv|html|xlsx|workbook|all] [--threads N]\n"
    "                [--repeat N] [--batch] [--compare] [--elements] [--plant N] [--seed N]\n"
    "                [--dir DIR] [--keep] [--no-sync]\n";

struct BenchOptions {
    std::vector<double> sizesMiB{100};
    std::vector<std::string> outputs{"csv"};
    std::size_t threads = 0;  // 0: one per processor
    int repeat = 5;
    bool batch = false;
    bool compare = false;
    bool elements = false;
    bool noSync = false;   // each output also scanned with its results' syncs skipped
    int plantFiles = 200;  // with --elements: a plant folder of this many 5 MB exports
    std::uint64_t seed = 1;
    fs::path dir = fs::temp_directory_path() / "qorbench";
    bool keep = false;
};

// Answers Yes to every question and keeps quiet: nothing but the scan is timed.
class SilentUi : public qor::UserInterface {
public:
    int errors = 0;
    bool askYesNo(const qor::Prompt&) override { return true; }
    void inform(const qor::Message& message) override { std::cerr << message.text << '\n'; }
    void reportError(const qor::StandardError& error) override {
        ++errors;
        std::cerr << "error: " << error.description << '\n';
    }
    void setStatus(std::string_view) override {}
    void setProgress(long long, long long) override {}
};

struct GeneratedExport {
    std::string path;
    std::string nodeNumber;
    qor::gen::GeneratedCounts counts;
    long long elements() const {
        long long sum = 0;
        for (const long long count : counts.perType) {
            sum += count;
        }
        return sum;
    }
    double mebibytes() const { return static_cast<double>(counts.bytes) / (1024.0 * 1024.0); }
};

void readThrough(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    }
}

GeneratedExport generate(const fs::path& path, double sizeMiB, std::uint64_t seed,
                         const std::string& nodeNumber) {
    qor::gen::GeneratorOptions generator;
    generator.seed = seed;
    generator.nodeNumber = nodeNumber;
    generator.targetBytes = static_cast<std::uint64_t>(sizeMiB * 1024 * 1024);
    GeneratedExport result{path.string(), nodeNumber,
                           qor::gen::generateExportFile(generator, path.string())};
    readThrough(result.path);  // into the page cache
    return result;
}

// Written-back pages of generated files and earlier results must not compete with a timed run.
void settle() {
    std::system("sync");
}

qor::options::OutputMode modeOf(const std::string& output) {
    if (output == "html") {
        return qor::options::OutputMode::HtmlReport;
    }
    if (output == "xlsx" || output == "workbook") {
        return qor::options::OutputMode::ExcelFilesOnly;
    }
    return qor::options::OutputMode::CsvFilesOnly;
}

// The scan of one export into a fresh result folder; exit status 0 when every type wrote
// exactly the generated number of elements and nothing was reported.
int scanOnce(const GeneratedExport& input, const std::string& output, const fs::path& results,
             std::size_t threads) {
    qor::output::Session session;
    session.databasePath = input.path;
    session.nodeInfo.nodeNumber = input.nodeNumber;
    session.startDateStamp = "04Dec2026";
    session.options.outputMode = modeOf(output);
    session.options.oneExcelWorkbook = output == "workbook";
    session.options.scanResultFolderPath = results.string();
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        qor::scan::TypeOptions& type = session.options.of(info.type);
        type.enabled = true;
        type.parameters.fill(true);
        session.searchStatus.setValue(info.type, 1);
    }
    session.columns = qor::options::buildAllColumnData(session.options);
    SilentUi ui;
    const qor::FixedClock clock(qor::DateTime{2026, 12, 4, 10, 11, 12});
    const qor::output::ScanReport report = qor::output::runScan(session, ui, {clock, threads});
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        if (report.writtenOf(info.type).value_or(-1) !=
            input.counts.perType[qor::scan::indexOf(info.type)]) {
            std::cerr << "count mismatch for " << info.name << '\n';
            return 1;
        }
    }
    return ui.errors == 0 ? 0 : 1;
}

void freshFolder(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

class Row {
public:
    Row(std::string label, double mebibytes, long long elements)
        : label_(std::move(label)), mebibytes_(mebibytes), elements_(elements) {}

    void add(const RunFigures& scan, const RunFigures& wc) {
        scanSeconds_.push_back(scan.wallSeconds);
        cpuSeconds_.push_back(scan.cpuSeconds);
        wcSeconds_.push_back(wc.wallSeconds);
        peakKiB_ = std::max(peakKiB_, scan.peakKiB);
        succeeded_ = succeeded_ && scan.succeeded && wc.succeeded;
    }
    void print() const {
        const double scan = median(scanSeconds_);
        const double wc = median(wcSeconds_);
        std::printf("%-16s %9.1f %10lld %8.3f %8.1f %11.0f %8.3f %9.1f %6.1f %7.3f %8.1f%s\n",
                    label_.c_str(), mebibytes_, elements_, scan, mebibytes_ / scan,
                    static_cast<double>(elements_) / scan, wc, mebibytes_ / wc, scan / wc,
                    median(cpuSeconds_), static_cast<double>(peakKiB_) / 1024.0,
                    succeeded_ ? "" : "   FAILED");
        std::fflush(stdout);
    }

private:
    std::string label_;
    double mebibytes_ = 0;
    long long elements_ = 0;
    std::vector<double> scanSeconds_, cpuSeconds_, wcSeconds_;
    long peakKiB_ = 0;
    bool succeeded_ = true;
};

void printHeader(const BenchOptions& options) {
    std::printf(
        "all fourteen types, every parameter; %d runs, medians; threads %s\n", options.repeat,
        options.threads == 0 ? "one per processor" : std::to_string(options.threads).c_str());
    std::printf("%-16s %9s %10s %8s %8s %11s %8s %9s %6s %7s %8s\n", "case", "MiB", "elements",
                "scan s", "MiB/s", "elements/s", "wc -l s", "wc MiB/s", "ratio", "cpu s",
                "peak MiB");
}

std::vector<std::string> wcCommand(const std::vector<GeneratedExport>& inputs) {
    std::vector<std::string> command{"wc", "-l"};
    for (const GeneratedExport& input : inputs) {
        command.push_back(input.path);
    }
    return command;
}

void benchSingleFiles(const BenchOptions& options) {
    for (const double sizeMiB : options.sizesMiB) {
        const fs::path exportPath = options.dir / "bench.qor";
        const GeneratedExport input = generate(exportPath, sizeMiB, options.seed, "12");
        for (const std::string& output : options.outputs) {
            const std::string label = output + " " + std::to_string(static_cast<long>(sizeMiB));
            Row row{label + " MB", input.mebibytes(), input.elements()};
            Row unsynced{label + " nosync", input.mebibytes(), input.elements()};
            for (int run = 0; run < options.repeat; ++run) {
                // With --no-sync the runs of both rows take turns, so that both see the same
                // machine.
                for (const bool skip : {false, true}) {
                    if (skip && !options.noSync) {
                        continue;
                    }
                    const fs::path results = options.dir / "results";
                    freshFolder(results);
                    settle();
                    const RunFigures wc = qor::bench::measureCommand(wcCommand({input}));
                    const RunFigures scan = qor::bench::measureInChild([&] {
                        qor::bench::skipSyncs = skip;
                        return scanOnce(input, output, results, options.threads);
                    });
                    (skip ? unsynced : row).add(scan, wc);
                }
            }
            row.print();
            if (options.noSync) {
                unsynced.print();
            }
        }
        fs::remove(exportPath);
    }
}

// Eight exports of 12 MB, scanned by qorscan with one and with two exports at a time.
void benchBatch(const BenchOptions& options) {
    std::vector<GeneratedExport> inputs;
    for (int file = 0; file < 8; ++file) {
        inputs.push_back(generate(options.dir / ("node" + std::to_string(file) + ".qor"), 12,
                                  options.seed + static_cast<std::uint64_t>(file),
                                  std::to_string(20 + file)));
    }
    // An empty settings file of its own, made first so that qorscan has nothing to say of it.
    const fs::path settings = options.dir / "qorscan.ini";
    std::ofstream{settings};
    double mebibytes = 0;
    long long elements = 0;
    for (const GeneratedExport& input : inputs) {
        mebibytes += input.mebibytes();
        elements += input.elements();
    }
    for (const int jobs : {1, 2}) {
        Row row{"batch 8x12 j" + std::to_string(jobs), mebibytes, elements};
        for (int run = 0; run < options.repeat; ++run) {
            const fs::path results = options.dir / "results";
            freshFolder(results);
            settle();
            std::vector<std::string> command{QORSCAN_PATH,
                                             "--settings",
                                             settings.string(),
                                             "--all",
                                             "--output",
                                             "csv",
                                             "--result-folder",
                                             results.string(),
                                             "--now",
                                             "2026-12-04T10:11:12",
                                             "--overwrite",
                                             "yes",
                                             "--quiet",
                                             "--jobs",
                                             std::to_string(jobs)};
            if (options.threads != 0) {
                command.insert(command.end(), {"--threads", std::to_string(options.threads)});
            }
            for (const GeneratedExport& input : inputs) {
                command.push_back(input.path);
            }
            const RunFigures wc = qor::bench::measureCommand(wcCommand(inputs));
            row.add(qor::bench::measureCommand(command), wc);
        }
        row.print();
    }
}

// The elements a scan finds in the export at `path`, per type in reading order.
qor::gen::GeneratedCounts countsOf(const std::string& path) {
    qor::scan::ExportScan source(path);
    std::vector<qor::scan::ElementType> types;
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        types.push_back(info.type);
    }
    const std::vector<long long> counts = qor::scan::countElementsOfTypes(source, types);
    qor::gen::GeneratedCounts result;
    std::copy(counts.begin(), counts.end(), result.perType.begin());
    result.bytes = fs::file_size(path);
    return result;
}

class QuietMonitor : public qor::compare::CompareMonitor {
public:
    void progress(std::uint64_t, std::uint64_t) override {}
    bool cancelRequested() override { return false; }
};

// What qorscan --compare does, without the terminal: node information, the Changes folder, the
// comparison, both result files. Exit status 0 when nothing was reported.
int compareOnce(const GeneratedExport& before, const GeneratedExport& after,
                const fs::path& results, std::size_t threads) {
    SilentUi ui;
    qor::compare::CompareRequest request;
    request.oldExport = {before.path, qor::scan::readNodeInfo(before.path, {}, ui), {}};
    request.newExport = {after.path, qor::scan::readNodeInfo(after.path, {}, ui), {}};
    request.pass.threads = threads == 0 ? qor::scan::defaultScanThreads() : threads;
    qor::compare::ChangesFolder folder(results.string(), request.newExport.node.nodeNumber,
                                       "04Dec2026", ui);
    QuietMonitor monitor;
    const qor::compare::Comparison comparison = qor::compare::compareExports(request, monitor);
    folder.write(comparison, {before.path, after.path, "04-Dec-2026 10:11:12"});
    return ui.errors == 0 && comparison.differs() ? 0 : 1;
}

// A generated export and a copy with seeded edits, compared, beside a scan of both one after
// the other and `wc -l` on both.
void benchCompare(const BenchOptions& options) {
    for (const double sizeMiB : options.sizesMiB) {
        const GeneratedExport before =
            generate(options.dir / "before.qor", sizeMiB, options.seed, "12");
        const std::string afterPath = (options.dir / "after.qor").string();
        const qor::gen::EditCounts edits =
            qor::gen::writeEditedCopy(before.path, afterPath, options.seed + 1);
        readThrough(afterPath);
        const GeneratedExport after{afterPath, "12", countsOf(afterPath)};
        std::printf("edits: %lld dropped, %lld changed, %lld duplicated blocks\n", edits.dropped,
                    edits.changed, edits.duplicated);
        const std::string size = std::to_string(static_cast<long>(sizeMiB)) + " MB";
        Row compare{"compare 2x" + size, before.mebibytes() + after.mebibytes(),
                    before.elements() + after.elements()};
        Row scanBoth{"scan both 2x" + size, before.mebibytes() + after.mebibytes(),
                     before.elements() + after.elements()};
        for (int run = 0; run < options.repeat; ++run) {
            const fs::path results = options.dir / "results";
            freshFolder(results);
            settle();
            const RunFigures wc = qor::bench::measureCommand(wcCommand({before, after}));
            compare.add(qor::bench::measureInChild(
                            [&] { return compareOnce(before, after, results, options.threads); }),
                        wc);
            freshFolder(results);
            settle();
            scanBoth.add(qor::bench::measureInChild([&] {
                             return scanOnce(before, "csv", results, options.threads) +
                                    scanOnce(after, "csv", results, options.threads);
                         }),
                         wc);
        }
        compare.print();
        scanBoth.print();
        fs::remove(before.path);
        fs::remove(afterPath);
    }
}

// The wall and processor time `work` takes on this thread, as "0.123 s (cpu 0.100 s)": on a
// busy machine the processor time tells what the work costs.
template <typename Work>
std::string secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char text[64];
    std::snprintf(text, sizeof text, "%.3f s (cpu %.3f s)", wall, cpu);
    return text;
}

// Loads an export (or a plant) into an element table; exit status 0 when every generated
// element is in it. With `queries`, also times a filter and sorts over the table and prints
// them (the child's own line, before the row of the whole run).
int loadElementsOnce(const std::vector<GeneratedExport>& inputs, long long expected, bool queries) {
    std::vector<std::string> paths;
    for (const GeneratedExport& input : inputs) {
        paths.push_back(input.path);
    }
    const qor::elements::PlantLoad load = qor::elements::loadExports(paths, {}, {});
    if (static_cast<long long>(load.table.rowCount()) != expected || !load.skipped.empty()) {
        std::cerr << "elements: " << load.table.rowCount() << " of " << expected << '\n';
        return 1;
    }
    if (queries) {
        using qor::elements::Column;
        using qor::elements::ColumnKind;
        const std::vector<qor::elements::RowIndex> all = load.table.allRows();
        const std::vector<Column> shown =
            qor::elements::typeColumns(qor::scan::ElementType::AI, false);
        std::size_t matched = 0;
        const std::string filter = secondsOf([&] {
            matched = qor::elements::matchRows(load.table, all,
                                               qor::elements::WildcardPattern("FT10"), shown)
                          .size();
        });
        std::vector<qor::elements::RowIndex> rows = all;
        const std::string byValue = secondsOf([&] {
            qor::elements::sortRows(load.table, rows, {ColumnKind::Parameter, "RANGEMAX"});
        });
        rows = all;
        const std::string byDesignation = secondsOf([&] {
            qor::elements::sortRows(load.table, rows, {ColumnKind::Designation, {}});
        });
        std::printf(
            "  %zu elements in %.1f MiB of table: filter FT10 (any of %zu columns, %zu "
            "match) %s, sort by RANGEMAX %s, by designation %s\n",
            load.table.rowCount(),
            static_cast<double>(load.table.memoryBytes()) / (1024.0 * 1024.0), shown.size(),
            matched, filter.c_str(), byValue.c_str(), byDesignation.c_str());
        std::fflush(stdout);
    }
    return 0;
}

// The Elements window's loads and qorscan --find: one export of each size, then a plant
// folder of 5 MB exports, each beside `wc -l` on the same files.
void benchElements(const BenchOptions& options) {
    for (const double sizeMiB : options.sizesMiB) {
        const GeneratedExport input =
            generate(options.dir / "elements.qor", sizeMiB, options.seed, "12");
        Row row{"elements " + std::to_string(static_cast<long>(sizeMiB)) + " MB", input.mebibytes(),
                input.elements()};
        // The queries in a process of their own: the rows' peak memory is the loads' alone.
        qor::bench::measureInChild(
            [&] { return loadElementsOnce({input}, input.elements(), true); });
        for (int run = 0; run < options.repeat; ++run) {
            settle();
            const RunFigures wc = qor::bench::measureCommand(wcCommand({input}));
            row.add(qor::bench::measureInChild(
                        [&] { return loadElementsOnce({input}, input.elements(), false); }),
                    wc);
        }
        row.print();
        fs::remove(input.path);
    }
    const fs::path plant = options.dir / "plant";
    fs::create_directories(plant);
    std::vector<GeneratedExport> inputs;
    double mebibytes = 0;
    long long elements = 0;
    for (int file = 0; file < options.plantFiles; ++file) {
        const std::string name = "node" + std::to_string(100 + file);
        inputs.push_back(generate(plant / (name + ".qor"), 5,
                                  options.seed + static_cast<std::uint64_t>(file),
                                  std::to_string(100 + file)));
        mebibytes += inputs.back().mebibytes();
        elements += inputs.back().elements();
    }
    const fs::path settings = options.dir / "qorscan.ini";
    std::ofstream{settings};
    const std::string label = "x5";
    Row load{"plant " + std::to_string(options.plantFiles) + label, mebibytes, elements};
    Row find{"find " + std::to_string(options.plantFiles) + label, mebibytes, elements};
    qor::bench::measureInChild([&] { return loadElementsOnce(inputs, elements, true); });
    for (int run = 0; run < options.repeat; ++run) {
        settle();
        const RunFigures wc = qor::bench::measureCommand(wcCommand(inputs));
        load.add(
            qor::bench::measureInChild([&] { return loadElementsOnce(inputs, elements, false); }),
            wc);
        find.add(qor::bench::measureCommand({QORSCAN_PATH, "--settings", settings.string(),
                                             "--find", "FT10", plant.string()}),
                 wc);
    }
    load.print();
    find.print();
    fs::remove_all(plant);
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');) {
        items.push_back(item);
    }
    return items;
}

bool parse(int argc, char** argv, BenchOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--sizes" && hasValue) {
            options.sizesMiB.clear();
            for (const std::string& size : split(argv[++i])) {
                const double value = std::atof(size.c_str());
                if (value <= 0) {
                    return false;
                }
                options.sizesMiB.push_back(value);
            }
        } else if (argument == "--output" && hasValue) {
            const std::string output = argv[++i];
            if (output == "all") {
                options.outputs = {"csv", "html", "xlsx", "workbook"};
            } else if (output == "csv" || output == "html" || output == "xlsx" ||
                       output == "workbook") {
                options.outputs = {output};
            } else {
                return false;
            }
        } else if (argument == "--threads" && hasValue) {
            options.threads = static_cast<std::size_t>(std::max(0, std::atoi(argv[++i])));
        } else if (argument == "--repeat" && hasValue) {
            options.repeat = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--batch") {
            options.batch = true;
        } else if (argument == "--compare") {
            options.compare = true;
        } else if (argument == "--elements") {
            options.elements = true;
        } else if (argument == "--plant" && hasValue) {
            options.plantFiles = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--seed" && hasValue) {
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (argument == "--dir" && hasValue) {
            options.dir = argv[++i];
        } else if (argument == "--keep") {
            options.keep = true;
        } else if (argument == "--no-sync") {
            options.noSync = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    if (!parse(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    fs::remove_all(options.dir);
    fs::create_directories(options.dir);
    printHeader(options);
    if (options.elements) {
        // The loads and the search alone: the scans have their own runs.
        benchElements(options);
        if (!options.keep) {
            fs::remove_all(options.dir);
        }
        return 0;
    }
    benchSingleFiles(options);
    if (options.batch) {
        benchBatch(options);
    }
    if (options.compare) {
        benchCompare(options);
    }
    if (!options.keep) {
        fs::remove_all(options.dir);
    }
    return 0;
}
