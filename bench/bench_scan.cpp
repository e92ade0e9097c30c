// Times a full scan (all fourteen types, every parameter) of a generated export held in the
// page cache, beside `wc -l` on the same file. Not a test: run it by hand, see bench/README.md.
//
//   qorbench [--size MB] [--output csv|html|xlsx] [--seed N] [--dir DIR] [--repeat N] [--keep]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/base/date_time.h"
#include "core/output/scan_run.h"
#include "core/output/session.h"
#include "core/platform/window_search.h"
#include "export_generator.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

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
    void yield() override {}
};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#else
    return 0;
#endif
}

long peakResidentKiB() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return -1;
#endif
}

void readThrough(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    static char buffer[1 << 20];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    double sizeMiB = 100;
    std::string output = "csv";
    std::uint64_t seed = 1;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "qorbench";
    bool keep = false;
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--size" && hasValue) {
            sizeMiB = std::atof(argv[++i]);
        } else if (argument == "--output" && hasValue) {
            output = argv[++i];
        } else if (argument == "--seed" && hasValue) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (argument == "--dir" && hasValue) {
            dir = argv[++i];
        } else if (argument == "--repeat" && hasValue) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--keep") {
            keep = true;
        } else {
            std::cerr << "usage: qorbench [--size MB] [--output csv|html|xlsx] [--seed N] "
                         "[--dir DIR] [--repeat N] [--keep]\n";
            return 2;
        }
    }
    qor::options::OutputMode mode = qor::options::OutputMode::CsvFilesOnly;
    if (output == "html") {
        mode = qor::options::OutputMode::HtmlReport;
    } else if (output == "xlsx") {
        mode = qor::options::OutputMode::ExcelFilesOnly;
    } else if (output != "csv") {
        std::cerr << "unknown output '" << output << "'\n";
        return 2;
    }

    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "results");
    const std::string exportPath = (dir / "bench.qor").string();
    qor::gen::GeneratorOptions generator;
    generator.seed = seed;
    generator.targetBytes = static_cast<std::uint64_t>(sizeMiB * 1024 * 1024);
    const qor::gen::GeneratedCounts counts = qor::gen::generateExportFile(generator, exportPath);
    long long elements = 0;
    for (const long long count : counts.perType) {
        elements += count;
    }
    readThrough(exportPath);  // into the page cache
#ifndef _WIN32
    // Written-back pages of the generated file must not compete with the timed scan.
    std::system("sync");
#endif

    const std::string wcCommand = "wc -l '" + exportPath + "' > /dev/null";
    auto start = Clock::now();
    const int wcStatus = std::system(wcCommand.c_str());
    const double wcSeconds = secondsSince(start);

    qor::output::Session session;
    session.databasePath = exportPath;
    session.nodeInfo.nodeNumber = generator.nodeNumber;
    session.scan.startDateStamp = "04Dec2026";
    session.options.outputMode = mode;
    session.options.scanResultFolderPath = (dir / "results").string();
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        qor::scan::TypeOptions& type = session.options.of(info.type);
        type.enabled = true;
        type.parameters.fill(true);
        session.searchStatus.setValue(info.type, 1);
    }
    session.columns = qor::options::buildAllColumnData(session.options);
    SilentUi ui;
    const qor::FixedClock clock(qor::DateTime{2026, 12, 4, 10, 11, 12});
    const qor::platform::EmptyWindowTree windows;

    // Each run writes into an empty result folder; the median run is reported.
    std::vector<double> wallTimes;
    std::vector<double> cpuTimes;
    for (int run = 0; run < repeat; ++run) {
        std::filesystem::remove_all(dir / "results");
        std::filesystem::create_directories(dir / "results");
#ifndef _WIN32
        std::system("sync");
#endif
        start = Clock::now();
        const double cpuBefore = cpuSeconds();
        try {
            qor::output::runScan(session, ui, {clock, windows});
        } catch (const std::exception& error) {
            std::cerr << "scan failed: " << error.what() << '\n';
            return 1;
        }
        wallTimes.push_back(secondsSince(start));
        cpuTimes.push_back(cpuSeconds() - cpuBefore);
    }
    std::sort(wallTimes.begin(), wallTimes.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    const double scanSeconds = wallTimes[wallTimes.size() / 2];
    const double scanCpuSeconds = cpuTimes[cpuTimes.size() / 2];

    long long written = 0;
    bool countsMatch = true;
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        const long long got = session.resultOf(info.type).writtenCount;
        written += got;
        countsMatch = countsMatch && got == counts.perType[qor::scan::indexOf(info.type)];
    }
    const double megabytes = static_cast<double>(counts.bytes) / (1024.0 * 1024.0);
    std::printf("export          %.1f MiB, %lld lines, %lld elements (seed %llu)\n", megabytes,
                counts.lines, elements, static_cast<unsigned long long>(seed));
    std::printf("output          %s\n", output.c_str());
    std::printf("runs            %d (median shown; fastest %.3f s, slowest %.3f s)\n", repeat,
                wallTimes.front(), wallTimes.back());
    std::printf("scan            %.3f s   %.1f MiB/s   %.0f elements/s\n", scanSeconds,
                megabytes / scanSeconds, static_cast<double>(written) / scanSeconds);
    std::printf("scan cpu time   %.3f s   %.1f MiB/s of processor time\n", scanCpuSeconds,
                megabytes / scanCpuSeconds);
    std::printf("wc -l           %.3f s   %.1f MiB/s%s\n", wcSeconds, megabytes / wcSeconds,
                wcStatus == 0 ? "" : "   (wc failed)");
    std::printf("scan / wc -l    %.1f\n", scanSeconds / wcSeconds);
    std::printf("peak memory     %ld KiB resident\n", peakResidentKiB());
    std::printf("counts          %s\n",
                countsMatch && ui.errors == 0 ? "all as generated" : "MISMATCH or errors");
    if (!keep) {
        std::filesystem::remove_all(dir);
    }
    return countsMatch && ui.errors == 0 ? 0 : 1;
}
