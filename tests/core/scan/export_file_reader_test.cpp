#include "core/scan/export_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/scan/export_chunks.h"
#include "core/scan/text_rules.h"
#include "support/temp_dir.h"
#include "support/thrown.h"

namespace qor::scan {
namespace {

using testing::errorFrom;
using testing::TempDir;

std::vector<std::string> readAllLines(const std::string& path) {
    ExportFileReader reader(path);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.nextLine(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

// Line ends of every kind are covered by the model below; here what it never makes.
TEST(ExportFileReader, EmptyFilesAndBinaryBytes) {
    TempDir dir;
    using Lines = std::vector<std::string>;
    EXPECT_EQ(readAllLines(dir.write("d", "")), Lines{});
    EXPECT_EQ(readAllLines(dir.write("e", "\r\n")), Lines{""});
    // Bytes pass through: NUL, high bytes, tabs.
    const std::string binary("x\0y\xFF\t", 5);
    EXPECT_EQ(readAllLines(dir.write("f", binary + "\n")), Lines{binary});
}

// The lines as the rules should see them: split at CR LF, CR or LF, each cut to `ceiling`.
std::vector<std::string> modelLines(const std::string& text, std::size_t ceiling, long long& cut) {
    std::vector<std::string> lines;
    cut = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        end = end == std::string::npos ? text.size() : end;
        cut += end - start > ceiling ? 1 : 0;
        lines.push_back(text.substr(start, std::min(end - start, ceiling)));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// Text of needle fragments, line ends and runs of `run` bytes without a line end.
std::string mixedText(unsigned seed, std::size_t size, std::size_t run) {
    std::mt19937 random(seed);
    const std::string pieces[] = {"AIS",  "ais", "x",  "A",     "IS",
                                  "\r\n", "\r",  "\n", "yyyyy", std::string(run, 'y')};
    std::string text;
    while (text.size() < size) {
        text += pieces[random() % 10];
    }
    return text;
}

// Every reading mode agrees with the model on the lines and on the cuts: with buffers down to
// one byte (every CR LF split across reads), ceilings down to one byte, and as configured.
TEST(ExportFileReader, EveryModeCutsOverLongLinesAndKeepsLinesAcrossRefills) {
    TempDir dir;
    std::mt19937 random(5);
    const std::string small = mixedText(7, 40'000, 400);
    // A line cut with the needle past the cut, among lines crossing 256 KiB reads.
    const std::string large = mixedText(11, 2'300'000, 400) + std::string(1'200'000, 'y') +
                              "AIS\r\n" + mixedText(12, 300'000, 400);
    const std::pair<const std::string*, ReadLimits> cases[] = {
        {&small, {1, 1}}, {&small, {1, 4}},   {&small, {2, 3}},   {&small, {3, 8}},
        {&small, {7, 5}}, {&small, {64, 16}}, {&small, {5, 300}}, {&large, ReadLimits{}}};
    for (const auto& [text, limits] : cases) {
        SCOPED_TRACE(::testing::Message() << limits.bufferBytes << "/" << limits.lineCeiling);
        const std::string path = dir.write("mixed", *text);
        long long cut = 0;
        const std::vector<std::string> lines = modelLines(*text, limits.lineCeiling, cut);
        const auto holds = [](std::string_view line) {
            return findNoCase(line, "AIS") != kNotFound;
        };
        ASSERT_GT(cut, 0);

        ExportFileReader all(path, limits);
        ExportFileReader skipping(path, limits);
        ExportFileReader mixed(path, limits);
        ExportFileReader blocks(path, limits);
        std::vector<std::string> got[2];
        std::vector<std::string> holding;
        std::string_view line;
        while (all.nextLine(line)) {
            got[0].emplace_back(line);
        }
        while (skipping.nextLineContaining("ais", line)) {
            got[1].emplace_back(line);
        }
        std::copy_if(lines.begin(), lines.end(), std::back_inserter(holding), holds);
        EXPECT_EQ(got[0], lines);
        EXPECT_EQ(got[1], holding);
        // Both ways of going on from a line at random, as the element reader does.
        std::size_t next = 0;
        for (bool noting = true;; noting = random() % 3 != 0) {
            bool holdsNeedle = false;
            if (!noting) {
                while (next < lines.size() && !holds(lines[next])) {
                    ++next;
                }
            }
            if (!(noting ? mixed.nextLineNoting("AIS", line, holdsNeedle)
                         : mixed.nextLineContaining("ais", line))) {
                break;
            }
            ASSERT_LT(next, lines.size());
            ASSERT_EQ(line, lines[next]);
            ASSERT_TRUE(!noting || holdsNeedle == holds(line));
            ++next;
        }
        EXPECT_EQ(next, lines.size());
        // Blocks hold whole lines no longer than the ceiling (the count pass relies on it).
        std::size_t inBlocks = 0;
        std::string_view block;
        while (blocks.nextBlock(1000, block)) {
            for (std::size_t from = 0; from <= block.size();) {
                const std::size_t end = std::min(block.find_first_of("\r\n", from), block.size());
                ASSERT_LE(end - from, limits.lineCeiling);
                inBlocks += holds(block.substr(from, end - from)) ? 1 : 0;
                from = end + 1;
            }
        }
        EXPECT_EQ(inBlocks, holding.size());
        for (const ExportFileReader* reader : {&all, &skipping, &mixed, &blocks}) {
            EXPECT_EQ(reader->cutLines(), cut);
        }
    }
}

TEST(ExportFileReader, SwitchingBetweenSkippingAndReadingKeepsLineBoundaries) {
    TempDir dir;
    const std::string path = dir.write("f", "noise\r\nAI1  AIS\r\n:NAME x\r\n\r\nmore\nAIS2\n");
    ExportFileReader reader(path);
    std::string_view line;
    ASSERT_TRUE(reader.nextLineContaining("ais", line));
    EXPECT_EQ(line, "AI1  AIS");
    ASSERT_TRUE(reader.nextLine(line));
    EXPECT_EQ(line, ":NAME x");
    ASSERT_TRUE(reader.nextLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(reader.nextLineContaining("AIS", line));
    EXPECT_EQ(line, "AIS2");
    EXPECT_FALSE(reader.nextLineContaining("AIS", line));
    EXPECT_FALSE(reader.nextLine(line));
}

// What is not a regular file is refused before it is read: qorscan_test's hostile inputs.
TEST(ExportFileReader, StopsWhenTheFileChanges) {
    TempDir dir;
    // Appended to after the first read: the next read stops, and so does the next pass.
    const std::string path = dir.write("grows.qor", "one\ntwo\nthree\n");
    ExportScan scan(path, {4, 64});
    ExportFileReader reader(scan);
    std::string_view line;
    ASSERT_TRUE(reader.nextLine(line));
    { std::ofstream(path, std::ios::app) << "four\n"; }
    const std::string changed = "'" + path + "' changed while it was being scanned";
    EXPECT_EQ(errorFrom([&] {
                  while (reader.nextLine(line)) {
                  }
              }),
              changed);
    EXPECT_EQ(errorFrom([&] { ExportFileReader again(scan); }), changed);
    // Renamed over or removed while it is read, by lines or in a scan's chunks: the open file
    // does not show it, its path does.
    for (const bool removed : {false, true}) {
        for (const bool inChunks : {false, true}) {
            const std::string moved = dir.write("moved.qor", "one\n\ntwo\n\nthree\n\n");
            ExportScan pass(moved, {4, 64});
            ExportFileReader reading(pass);
            ExportChunks chunks(pass, 4);
            ExportChunk chunk;
            ASSERT_TRUE(inChunks ? chunks.next(chunk) : reading.nextLine(line));
            if (removed) {
                std::filesystem::remove(moved);
#ifdef _WIN32
                if (std::filesystem::exists(moved)) {
                    continue;  // the name stays until the file closes and shows no change
                }
#endif
            } else {
                std::error_code refused;
                std::filesystem::rename(dir.write("other.qor", "x\n"), moved, refused);
                if (refused) {
#ifdef _WIN32
                    continue;  // a file being read cannot be renamed over here: nothing to see
#else
                    FAIL() << refused.message();
#endif
                }
            }
            EXPECT_EQ(errorFrom([&] {
                          while (inChunks ? chunks.next(chunk) : reading.nextLine(line)) {
                          }
                      }),
                      "'" + moved + "' changed while it was being scanned");
        }
    }
    // A file missing when the scan began and there later has changed too.
    ExportScan late(dir.file("late.qor"));
    dir.write("late.qor", "x\n");
    EXPECT_NE(errorFrom([&] { ExportFileReader pass(late); }).find("changed"), std::string::npos);
}

}  // namespace
}  // namespace qor::scan
