// The benchmark is only as honest as the generator: a seed names one file, the file is the
// size asked for, and a scan finds exactly the elements the generator counted.
#include "export_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/scan_fixture.h"

namespace {

using qor::gen::GeneratorOptions;

GeneratorOptions optionsFor(std::uint64_t seed, std::uint64_t bytes, std::string lineEnd) {
    GeneratorOptions options;
    options.seed = seed;
    options.targetBytes = bytes;
    options.lineEnd = std::move(lineEnd);
    return options;
}

std::string generate(const GeneratorOptions& options) {
    std::ostringstream out;
    qor::gen::generateExport(options, out);
    return out.str();
}

TEST(ExportGenerator, ASeedNamesOneFileOnEveryCompiler) {
    const std::string first = generate(optionsFor(7, 256 << 10, "\r\n"));
    EXPECT_EQ(first, generate(optionsFor(7, 256 << 10, "\r\n")));
    EXPECT_NE(first, generate(optionsFor(8, 256 << 10, "\r\n")));
    // Pinned bytes: benchmarks and recorded results name their files by seed. Update only for
    // a deliberate change of the generator.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : generate(optionsFor(1, 64 << 10, "\r\n"))) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    EXPECT_EQ(hash, 0xf1d55bd3f4748becULL);
}

// The scan the benchmark times, with every type enabled; an element left open at the end is
// not counted by either.
using GeneratedExportScan = qor::testing::ScanFixture;

TEST_F(GeneratedExportScan, FindsWhatTheGeneratorCountedForEveryLineEnd) {
    int runNumber = 0;
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        for (const bool leaveOpen : {false, true}) {
            SCOPED_TRACE(std::string(leaveOpen ? "open, " : "closed, ") +
                         std::to_string(std::string_view(lineEnd).size()) + " byte line end");
            GeneratorOptions options = optionsFor(3, 256 << 10, lineEnd);
            options.leaveLastElementOpen = leaveOpen;
            const std::string root = dir.file("run" + std::to_string(++runNumber));
            std::filesystem::create_directory(root);
            const auto counts = qor::gen::generateExportFile(options, root + "/node.qor");
            EXPECT_EQ(std::filesystem::file_size(root + "/node.qor"), counts.bytes);
            // It stops at the first element boundary past the size asked for.
            EXPECT_GE(counts.bytes, options.targetBytes);
            EXPECT_LT(counts.bytes, options.targetBytes + 4096);
            EXPECT_EQ(counts.openType >= 0, leaveOpen);

            session = qor::testing::makeSession(root + "/node.qor", root);
            session.nodeInfo.nodeNumber = "12";
            for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
                qor::testing::enable(session, info.type);
            }
            run();
            EXPECT_TRUE(ui.errors.empty());
            for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
                const long long generated = counts.perType[qor::scan::indexOf(info.type)];
                EXPECT_EQ(session.lastScan.writtenOf(info.type).value_or(-1), generated)
                    << info.name;
                EXPECT_GT(generated, 0) << info.name;
            }
        }
    }
}

}  // namespace
