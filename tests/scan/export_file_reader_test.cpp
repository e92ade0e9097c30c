#include "scan/export_file_reader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/qor_error.h"
#include "scan/text_rules.h"
#include "support/temp_dir.h"

namespace qor::scan {
namespace {

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

TEST(ExportFileReader, LinesEndAtCrLfLoneCrOrLoneLf) {
    TempDir dir;
    using Lines = std::vector<std::string>;
    EXPECT_EQ(readAllLines(dir.write("a", "one\r\ntwo\rthree\nfour")),
              (Lines{"one", "two", "three", "four"}));
    // A final terminator starts no further line; an empty line is a line.
    EXPECT_EQ(readAllLines(dir.write("b", "one\r\n\r\ntwo\r\n")), (Lines{"one", "", "two"}));
    // LF CR is two line ends, CR CR too.
    EXPECT_EQ(readAllLines(dir.write("c", "a\n\rb\r\rc")), (Lines{"a", "", "b", "", "c"}));
    EXPECT_EQ(readAllLines(dir.write("d", "")), Lines{});
    EXPECT_EQ(readAllLines(dir.write("e", "\r\n")), Lines{""});
    // Bytes pass through: NUL, high bytes, tabs.
    const std::string binary("x\0y\xFF\t", 5);
    EXPECT_EQ(readAllLines(dir.write("f", binary + "\n")), Lines{binary});
}

TEST(ExportFileReader, HoldsLinesAcrossBufferBoundaries) {
    TempDir dir;
    // Lines of every length around the 1 MiB buffer, with CR LF split across reads.
    std::mt19937 random(3);
    std::vector<std::string> expected;
    std::string content;
    const char* ends[] = {"\r\n", "\r", "\n"};
    while (content.size() < 3'500'000) {
        const std::size_t length = random() % 5 == 0 ? random() % 200'000 : random() % 90;
        std::string line(length, 'a');
        for (char& c : line) {
            c = static_cast<char>('a' + random() % 26);
        }
        expected.push_back(line);
        content += line;
        // An empty line after a lone CR must not end in a lone LF: that would be CR LF.
        content += line.empty() ? "\r\n" : ends[random() % 3];
    }
    // A line far longer than the buffer, and a file without a final line end.
    expected.emplace_back(3'000'000, 'z');
    content += expected.back();
    EXPECT_EQ(readAllLines(dir.write("big", content)), expected);
}

// Text of needle fragments and line ends, longer than the reader's buffer.
std::string mixedText(unsigned seed, std::size_t size) {
    std::mt19937 random(seed);
    const char* pieces[] = {"AIS", "ais", "xx", "A", "IS", "\r\n", "\r", "\n", "\r\n\r\n", " "};
    std::string content;
    while (content.size() < size) {
        content += pieces[random() % 10];
    }
    return content;
}

TEST(ExportFileReader, SkippingToALineAgreesWithReadingEveryLine) {
    TempDir dir;
    const std::string path = dir.write("mixed", mixedText(11, 2'300'000));
    std::vector<std::string> expected;
    for (const std::string& line : readAllLines(path)) {
        if (findNoCase(line, "AIS") != kNotFound) {
            expected.push_back(line);
        }
    }
    ExportFileReader reader(path);
    std::vector<std::string> got;
    std::string_view line;
    while (reader.nextLineContaining("AIS", line)) {
        got.emplace_back(line);
    }
    EXPECT_EQ(got, expected);
    EXPECT_GT(expected.size(), 1000u);
}

TEST(ExportFileReader, NotingTheNeedleAgreesWithSearchingEachLine) {
    TempDir dir;
    std::mt19937 random(5);
    const std::string path = dir.write("mixed", mixedText(5, 1'500'000));
    ExportFileReader reader(path);
    std::string_view line;
    std::size_t lines = 0;
    std::size_t holding = 0;
    // Alternate the two ways of reading, as the element reader does.
    for (bool noting = true;; noting = random() % 3 != 0) {
        bool holds = false;
        if (noting) {
            if (!reader.nextLineNoting("AIS", line, holds)) {
                break;
            }
            ASSERT_EQ(holds, findNoCase(line, "AIS") != kNotFound) << "line " << lines;
            holding += holds ? 1 : 0;
        } else if (!reader.nextLineContaining("ais", line)) {
            break;
        } else {
            ASSERT_NE(findNoCase(line, "AIS"), kNotFound);
        }
        ++lines;
    }
    EXPECT_GT(holding, 100u);
    EXPECT_GT(lines, 10000u);
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

template <typename Action>
std::string errorFrom(Action&& action) {
    try {
        action();
    } catch (const QorError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ExportFileReader, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    const std::string pipe = dir.file("pipe.qor");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> refused[] = {
        {dir.file("missing.qor"), "No such file"},
        {dir.str(), "is a folder"},
        {pipe, "is a pipe"},  // without waiting for a writer
        {"/dev/null", "is a device"}};
    for (const auto& [path, cause] : refused) {
        const std::string error = errorFrom([&] { checkExportFileReadable(path); });
        EXPECT_NE(error.find("'" + path + "'"), std::string::npos) << error;
        EXPECT_NE(error.find(cause), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace qor::scan
