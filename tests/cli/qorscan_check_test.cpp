// qorscan --check end to end: the built binary over the exports made for the checks, its text,
// CSV and JSON, and a linter's exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/qorscan_fixture.h"
#include "support/run_command.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

class QorscanCheck : public testing::QorscanFixture {
protected:
    static std::string data(const std::string& name) {
        return testing::nativePath(std::string(QOR_TEST_DATA_DIR) + "/checks/" + name);
    }
    const std::string clean = data("clean.qor");
    const std::string twice = data("duplicate-name.qor");
    const std::string noName = data("empty-name.qor");
};

TEST_F(QorscanCheck, PrintsFindingsWithALintersExitStatus) {
    fs::create_directories(dir.path() / "plant");
    for (const char* name : {"north.qor", "south.qor"}) {
        fs::copy_file(data(std::string("plant/") + name), dir.path() / "plant" / name);
    }
    const std::string junk = dir.write("plant/junk.qor", "not an export\n");
    const std::string plant = dir.file("plant");
    const std::string storedTable =
        dir.write("stored.ini",
                  "[Settings]\nApplyCabinetModule=1\n[CabinetsModules]\nListViewItemsCount=1\n"
                  "CabinetValue_1=CB9\nModuleValue_1=AI810_5\n");
    const std::string badTable = dir.write("bad.csv", "CB801\n");
    const std::string twiceLines =
        twice + ":8: error: duplicate-name: NAME 'TT101' is also on DO DO810_1.1 at line 32\n" +
        twice + ":32: error: duplicate-name: NAME 'TT101' is also on AI AI800_1.1 at line 8\n";
    const std::string noNameLines = noName + ":28: warning: empty-name: the element has no NAME\n" +
                                    noName + ":39: warning: empty-name: the element has no NAME\n";
    const Printed cases[] = {
        {{"--check", clean}, 0, "", ""},
        {{"--check", twice, clean}, 1, twiceLines, ""},
        {{"--check", "--severity", "error", noName, twice}, 1, twiceLines, ""},
        {{"--check", "--severity", "error", noName}, 0, "", ""},
        {{"--check", "--disable", "duplicate-name", "--disable", "empty-name", noName, twice},
         0,
         "",
         ""},
        {{"--check", "--format", "csv", twice},
         1,
         "FILE,LINE,NODE,TYPE,DESIGNATION,ID,SEVERITY,MESSAGE\n" + twice +
             ",8,12,AI,AI800_1.1,duplicate-name,error,NAME 'TT101' is also on DO DO810_1.1 at "
             "line 32\n" +
             twice +
             ",32,12,DO,DO810_1.1,duplicate-name,error,NAME 'TT101' is also on AI AI800_1.1 at "
             "line 8\n",
         ""},
        {{"--check", "--cabinets", data("cabinet-row-unused.csv"), clean},
         1,
         data("cabinet-row-unused.csv") +
             ":5: note: cabinet-row-unused: no element uses module AI810_5 (cabinet CB803)\n",
         ""},
        {{"--check", "--settings", storedTable, "--disable", "module-unlabelled", clean},
         1,
         storedTable + ":0: note: cabinet-row-unused: no element uses module AI810_5 (cabinet "
                       "CB9)\n",
         ""},
        {{"--check", plant},
         1,
         testing::nativePath(plant + "/north.qor") +
             ":14: warning: duplicate-name-plant: NAME 'SHARED_FLAG' is also used in node 22 "
             "(south.qor:14)\n" +
             testing::nativePath(plant + "/south.qor") +
             ":14: warning: duplicate-name-plant: NAME 'SHARED_FLAG' is also used in node 21 "
             "(north.qor:14)\n",
         "junk.qor: not a node export, skipped"},
        {{"--check", dir.file("missing.qor"), twice}, 2, twiceLines, "missing.qor"},
        {{"--check", junk}, 2, "", "is not a node export"},
        {{"--check", "--cabinets", badTable, clean}, 2, "", "bad.csv, line 1"},
        {{"--check", "--output", "csv", clean}, 2, "", "--output does not go with --check"},
    };
    for (const Printed& c : cases) {
        expectPrinted(c);
    }
}

#ifndef _WIN32  // file names of any bytes, and python3
// JSON is for programs: Python's json reads it back, each path whole through its lone
// surrogates, each text as the export's decoding reads it.
TEST_F(QorscanCheck, JsonReadsBackWithEveryByteOfItsPaths) {
    const std::string odd = dir.file("odd \"\xff\\name.qor");
    fs::copy_file(twice, odd);
    // Not UTF-8: read as Windows-1250, where 0x8E is a capital Z with caron.
    const std::string codePage =
        dir.write("zz.qor",
                  "LAN1           CS513\n  :NODE          7\n\nDAT1           DAT(B)\n"
                  "  :NAME          \x8e"
                  "1\n\nDAT2           DAT(B)\n  :NAME          \x8e"
                  "1\n\n");
    const CommandResult result =
        runWithSettings({"--check", "--format", "json", odd, clean, codePage});
    ASSERT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.out.find("\\u017d1"), std::string::npos) << result.out;  // ASCII only
    const std::string json = dir.write("findings.json", result.out);
    const CommandResult read = testing::runCommand(
        "python3",
        {"-c",
         "import json, os, sys\n"
         "rows = json.load(open(sys.argv[1], encoding='ascii'))\n"
         "print(len(rows), os.fsencode(rows[0]['file']) == os.fsencode(sys.argv[2]),\n"
         "      [(r['line'], r['node'], r['type'], r['designation'], r['id'], r['severity'])\n"
         "       for r in rows[:2]], rows[1]['message'], rows[2]['message'])",
         json, odd},
        dir);
    if (read.exitCode == 127) {
        GTEST_SKIP() << "no python3";
    }
    EXPECT_EQ(read.out,
              "4 True [(8, '12', 'AI', 'AI800_1.1', 'duplicate-name', 'error'), (32, '12', 'DO', "
              "'DO810_1.1', 'duplicate-name', 'error')] NAME 'TT101' is also on AI AI800_1.1 at "
              "line 8 NAME '\xc5\xbd"
              "1' is also on DAT(B) DAT2 at line 7\n")
        << read.err << result.out;
    fs::remove(odd);  // Qt's clean-up cannot name a file that is no UTF-8
}
#endif

}  // namespace
}  // namespace qor
