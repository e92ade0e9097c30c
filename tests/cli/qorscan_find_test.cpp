// qorscan --find end to end: the built binary over a small plant folder, its golden output and
// grep's exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/qorscan_fixture.h"
#include "support/run_command.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

class QorscanFind : public testing::QorscanFixture {
protected:
    void SetUp() override {
        const std::string golden = std::string(QOR_TEST_DATA_DIR) + "/golden_node.qor";
        fs::create_directories(dir.path() / "plant" / "unit2");
        fs::copy_file(golden, plant + "/a.qor");
        fs::copy_file(golden, plant + "/unit2/b.QOR");
        dir.write("plant/junk.qor", "not an export\n");
        for (const char* name : {"1", "2", "3", "4", "5"}) {
            fs::create_directories(dir.path() / "many");
            fs::copy_file(golden, dir.file("many/" + std::string(name) + ".qor"));
        }
    }
    std::string plant = dir.file("plant");
};

TEST_F(QorscanFind, PrintsMatchesInPathOrderWithGrepsExitStatus) {
    const std::string a = testing::nativePath(plant + "/a.qor");
    const std::string b = testing::nativePath(plant + "/unit2/b.QOR");
    const std::string missing = dir.file("missing.qor");
    const std::string junk = testing::nativePath(plant + "/junk.qor");
    const std::string many = testing::nativePath(dir.file("many"));
    std::string inMany;
    for (const char* name : {"1", "2", "3", "4", "5"}) {
        inMany += testing::nativePath(dir.file("many/" + std::string(name) + ".qor")) +
                  ":8: AI AI800_1.1\n";
    }
    // Names of two-, three- and four-byte UTF-8 characters, and in Windows-1250.
    const auto names = [&](const std::string& file, const std::vector<std::string>& values) {
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            text += "AI" + std::to_string(i + 1) + ".1          AIS810\r\n  :NAME          " +
                    values[i] + "\r\n\r\n";
        }
        return testing::nativePath(dir.write(file, text));
    };
    const std::string utf8 =
        names("names.qor", {"M\xC3\x9CLLER", "\xE2\x82\xAC-20", "A\xF0\x9D\x84\x9E-B"});
    const std::string cp1250 = names("names1250.qor", {"M\xDCLLER", "\x80-20"});
    const Printed cases[] = {
        {{"--find", "ti1", plant}, 0, a + ":8: AI AI800_1.1\n", "junk.qor: not a node export"},
        {{"--find", "TI1", "-r", "--jobs", "2", plant, a},
         0,
         a + ":8: AI AI800_1.1\n" + b + ":8: AI AI800_1.1\n",
         "junk.qor: not a node export"},
        {{"--find", "ai800_?.*", "--type", "AI", b},
         0,
         b + ":8: AI AI800_1.1\n" + b + ":18: AI AI800_2.3\n",
         ""},
        {{"--find", "*", "--type", "datr", "--type", "DAT(B)", a},
         0,
         a + ":34: DAT(B) DAT1\n" + a + ":37: DAT(R) DAT4\n",
         ""},
        {{"--find", "zzz", a}, 1, "", ""},
        {{"--find", "500", a}, 0, a + ":8: AI AI800_1.1\n", ""},  // a parameter of one type only
        {{"--find", "ti1", "--jobs", "1", many}, 0, inMany, ""},  // more than one batch
        {{"--find", "M?LLER", utf8, cp1250},
         0,
         utf8 + ":1: AI AI1.1\n" + cp1250 + ":1: AI AI1.1\n",
         ""},
        {{"--find", "?-20", utf8, cp1250},
         0,
         utf8 + ":4: AI AI2.1\n" + cp1250 + ":4: AI AI2.1\n",
         ""},
        {{"--find", "a?-b", utf8}, 0, utf8 + ":7: AI AI3.1\n", ""},
        {{"--find", "*\xC3\xBC*", "--type", "ai", utf8, cp1250},
         0,
         utf8 + ":1: AI AI1.1\n" + cp1250 + ":1: AI AI1.1\n",
         ""},
        {{"--find", "ti1", missing, a}, 2, a + ":8: AI AI800_1.1\n", "missing.qor"},
        {{"--find", "ti1", junk}, 2, "", "is not a node export"},
        {{"--find", "valve", "--format", "csv", a},
         0,
         "FILE,LINE,NODE,TYPE,DESIGNATION,PARAMETER 1,PARAMETER 2,PARAMETER 3,PARAMETER 4,"
         "PARAMETER 5,PARAMETER 6,PARAMETER 7,PARAMETER 8\n" +
             a + ",23,12,DI,DI810_1.12,XS200,Valve open,0,,,,1\n",
         ""},
        {{"--find", "pump", "--format", "csv", "--type", "AI", a},
         0,
         "FILE,LINE,NODE,TYPE,DESIGNATION,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,CONV_PAR,FILTER_P,"
         "SCANT\n" +
             a + ",18,12,AI,AI800_2.3,\"TI\"\"7\",\"Pump 1, east bearing\",degC,,,,,\n",
         ""},
        {{"--find", "x", "--output", "csv", a}, 2, "", "--output does not go with --find"},
        {{"--type", "AI", a}, 2, "", "--type goes with --find only"},
        {{"--find", "x", "--type", "AX", a}, 2, "", "--type takes an element type"},
    };
    for (const Printed& c : cases) {
        expectPrinted(c);
    }
}

#ifndef _WIN32  // file names of any bytes
// CSV rows are data: to a file or a pipe they go as bytes, quoted as CSV only. Texts that
// people read show each export's text in its one decoding, whichever command shows them.
TEST_F(QorscanFind, CsvRowsGoOutAsBytesAndNodesInTheirExportsDecoding) {
    const std::string odd = plant + "/odd\tname \xe9\\x.qor";
    fs::copy_file(plant + "/a.qor", odd);
    const CommandResult rows = runWithSettings({"--find", "valve", "--format", "csv", odd});
    EXPECT_EQ(rows.exitCode, 0) << rows.err;
    EXPECT_NE(rows.out.find("\n" + odd + ",23,12,DI,DI810_1.12,XS200,Valve open"),
              std::string::npos)
        << rows.out;

    const std::string node = dir.write("node1250.qor",
                                       "LAN1           CS513\r\n  :NODE          1\xe9"
                                       "2\r\n\r\nAI1.1          AIS\r\n  :NAME          x\r\n\r\n");
    const CommandResult info = testing::runCommand(
        QOR_QORSCAN_PATH, argsWith({"--info", "--result-folder", dir.str(), node}), dir);
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("Node number: 1\xc3\xa9"
                            "2\n"),
              std::string::npos)
        << info.out;
    const CommandResult found = runWithSettings({"--find", "x", "--format", "csv", node});
    EXPECT_NE(found.out.find(",1\xc3\xa9"
                             "2,AI,"),
              std::string::npos)
        << found.out;
    fs::remove(odd);  // Qt's clean-up cannot name a file that is no UTF-8
}
#endif

}  // namespace
}  // namespace qor
