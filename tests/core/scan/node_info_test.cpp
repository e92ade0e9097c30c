#include "core/scan/node_info.h"

#include <gtest/gtest.h>

#include <random>

#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace qor::scan {
namespace {

// The node number is the first key at or after the first marker line; the description is 45
// characters wide; the generation date turns slashes into commas.
TEST(NodeInfo, EachFieldComesFromItsLine) {
    testing::TempDir dir;
    const auto number = [](const std::string& path) { return readNodeNumber(path); };
    const auto description = [](const std::string& path) { return readNodeDescription(path); };
    const struct {
        std::string (*read)(const std::string&);
        std::string text;
        std::string field;
    } cases[] = {
        {number,
         "  :NODE          99\r\n"  // before any marker: ignored
         "LAN1    CS513\r\n"        // CS513 too close: no marker
         "  :NODE          98\r\n"
         "xLAN1          CS513 :node          12   \r\n"  // a marker line holding the key itself
         "  :NODE          13\r\n",
         "12"},
        {number, "lan1           cs513\n\n  :NODE          7\n", "7"},
        {number, "  :NODE          7\n", ""},
        {number, "LAN1           CS513 :NODE\n", ""},  // the line ends before the value field
        {description,
         "  :DESCR          early\nAC450_1        AC450\n  :DESCR        " + std::string(50, 'd') +
             "\n",
         std::string(45, 'd')},
        {readGenerationDate, "x\nONB 3.2  2002-05-15/14:30\n", "2002-05-15, 14:30"},
        {readGenerationDate, "onb......a/b/c\nONB      other\n", "a, b, c"},
        // The 20 characters from the key's position + 9, trimmed.
        {readGenerationDate, "ONB      123456789012345678901234\n", "12345678901234567890"},
        {readGenerationDate, "no date here\n", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.read(dir.write("n.qor", c.text)), c.field) << c.text;
    }
    EXPECT_EQ(readGenerationDate(dir.file("missing")), "");  // silently empty
}

TEST(NodeInfo, AFailedPassIsReportedAndKeepsTheOldValue) {
    testing::TempDir dir;
    testing::ScriptedUi ui;
    const NodeInfo old{"old", "old description", "old date"};
    NodeInfo info = readNodeInfo("", old, ui);  // no file opened: three empty fields, nothing read
    EXPECT_EQ(info.nodeNumber, "");
    EXPECT_EQ(info.generationDate, "");
    EXPECT_TRUE(ui.errors.empty());

    info = readNodeInfo(dir.file("gone.qor"), old, ui);
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[0].procedure, "GetNodeInfo");
    EXPECT_EQ(ui.errors[0].module, "modMain");
    EXPECT_NE(ui.errors[0].description.find("gone.qor"), std::string::npos);
    EXPECT_EQ(info.nodeNumber, "old");
    EXPECT_EQ(info.nodeDescription, "old description");
    EXPECT_EQ(info.generationDate, "");
}

// A node export holds node information or an element header that is text; the generation date
// alone does not count (any "ONB" gives one). An element far in is found, block boundaries and all.
TEST(NodeInfo, AFileWithNeitherNodeInformationNorAnyElementIsNoExport) {
    testing::TempDir dir;
    std::mt19937 random(7);
    std::string noise(1 << 16, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    std::string far;
    for (int i = 0; i < 100'000; ++i) {
        far += "* filler line of some thirty bytes\n";
    }
    const struct {
        const char* name;
        std::string bytes;
        bool notAnExport;
    } cases[] = {
        {"png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + noise.substr(0, 4096), true},
        {"empty", "", true},
        {"random", noise, true},
        {"date only", "ONB 3.2  2026-11-28/09:41:07\n", true},
        {"header rule in binary", std::string("AI\x01.1\0           AIS\n\n", 22), true},
        {"element only", "AI1.1          AIS\n  :NAME          A\n\n", false},
        {"element far in", far + "DI1.1          DIS\n\n", false},
        {"node only", "LAN1           CS513\n  :NODE          7\n", false},
    };
    testing::ScriptedUi ui;
    for (const auto& c : cases) {
        EXPECT_EQ(readNodeInfo(dir.write(c.name, c.bytes), {}, ui).notAnExport, c.notAnExport)
            << c.name;
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST(NodeInfo, CountElementsCountsHeaderLinesOfTheWholeFile) {
    testing::TempDir dir;
    ExportScan source(dir.write("c",
                                "MMCX5          MOTCON\nMMCX6          MOTCON\n"
                                "MMCX7 MOTCON\nMOTCON only\n\nmmcx8          motcon"));
    EXPECT_EQ(countElementsOfTypes(source, {ElementType::MOTCON, ElementType::AI}),
              (std::vector<long long>{3, 0}));
}

}  // namespace
}  // namespace qor::scan
