// qorscan --compare end to end: the built binary on a hand-made pair with a golden CSV file.
#include <gtest/gtest.h>

#include <filesystem>

#include "export_generator.h"
#include "support/qorscan_fixture.h"
#include "support/run_command.h"
#include "support/scan_variant.h"

namespace qor {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::readFile;

const std::string kData = std::string(QOR_TEST_DATA_DIR) + "/compare/";

class QorscanCompare : public testing::QorscanFixture {
protected:
    CommandResult run(std::vector<std::string> args) {
        std::vector<std::string> all = testing::qorscanVariantArguments();
        all.insert(all.end(), {"--result-folder", results});
        all.insert(all.end(), args.begin(), args.end());
        return testing::runCommand(QOR_QORSCAN_PATH, argsWith(all), dir);
    }
    std::string changes(const std::string& node, const std::string& extension) const {
        return results + "/Node" + node + "_04Dec2026/Changes/Changes_Node" + node + "_04Dec2026." +
               extension;
    }
};

TEST_F(QorscanCompare, WritesTheGoldenChangesAndTheirSummaryAndKeepsThemOnNo) {
    const CommandResult result = run({"--compare", kData + "old.qor", kData + "new.qor"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // Node 14 is the new export's number: its folder takes the results.
    EXPECT_EQ(readFile(changes("14", "csv")), readFile(kData + "changes.csv"));
    const std::string page = readFile(changes("14", "html"));
    EXPECT_NE(page.find("&lt;temp&gt; &amp; &quot;more&quot;"), std::string::npos);
    EXPECT_EQ(page.find("<temp>"), std::string::npos);
    for (const char* row : {
             "Analog Input                             0         0         2         0\n",
             "Analog Output                            1         0         0         1\n",
             "Digital Input                            1         0         1         1\n",
             "MOTCON                                   0         1         0         0\n",
             "DAT(R)                                   0         0         0         0\n",
             "NODE NUMBER                     '12' -> '14'\n",
         }) {
        EXPECT_NE(result.out.find(row), std::string::npos) << row << result.out;
    }

    // Said no to, the results stay byte for byte and nothing is left beside them.
    for (const char* extension : {"csv", "html"}) {
        std::ofstream(changes("14", extension), std::ios::binary) << "kept " << extension;
    }
    const CommandResult kept =
        run({"--compare", "--overwrite", "no", kData + "old.qor", kData + "new.qor"});
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_NE(kept.err.find("already exists"), std::string::npos);
    EXPECT_EQ(readFile(changes("14", "csv")), "kept csv");
    EXPECT_EQ(readFile(changes("14", "html")), "kept html");
    EXPECT_EQ(testing::filesIn(fs::path(changes("14", "csv")).parent_path()).size(), 2u);

    EXPECT_EQ(run({"--compare", "--exit-code", kData + "old.qor", kData + "new.qor", "--overwrite",
                   "yes"})
                  .exitCode,
              1);
}

TEST_F(QorscanCompare, SameElementsWithOtherLineEndsAndChunksGiveNoRows) {
    gen::GeneratorOptions options;
    options.seed = 3;
    options.targetBytes = 2 << 20;
    const std::string crlf = dir.file("crlf.qor");
    gen::generateExportFile(options, crlf);
    std::string bytes = readFile(crlf);
    std::erase(bytes, '\n');
    const std::string cr = dir.write("cr.qor", bytes);
    const CommandResult result = run({"--compare", "--exit-code", crlf, cr});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(changes("12", "csv")), "TYPE,DESIGNATION,CHANGE,PARAMETER,OLD,NEW\r\n");
    EXPECT_EQ(result.out.find("->"), std::string::npos);
}

}  // namespace
}  // namespace qor
