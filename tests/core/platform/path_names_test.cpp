// Paths as a person reads them, and whether two name one file, under both systems' rules: the
// rules are chosen, so that the same tables hold on Linux and on Windows.
#include "core/platform/path_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/output/csv_output.h"
#include "core/output/statistics.h"
#include "core/platform/folder_handle.h"
#include "core/scan/node_info.h"
#include "support/chosen_path_rules.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"

namespace qor::platform {
namespace {

TEST(PathNames, ShownWithTheSystemsSeparators) {
    struct Case {
        PathRules rules;
        std::string path;
        std::string shown;
    };
    for (const Case& c : std::vector<Case>{
             // A folder from a file dialog joined with a node folder by the core.
             {kWindowsPaths, "C:/users/root/Documents/Ergebnisse \xC3\x9C\\Node12_08Dec2026",
              "C:\\users\\root\\Documents\\Ergebnisse \xC3\x9C\\Node12_08Dec2026"},
             {kWindowsPaths, "Z:\\tmp\\sample.qor", "Z:\\tmp\\sample.qor"},
             {kWindowsPaths, "//server/share/a.qor", "\\\\server\\share\\a.qor"},
             // Elsewhere a backslash is a character of a name.
             {kPosixPaths, "/tmp/a\\b/sample.qor", "/tmp/a\\b/sample.qor"},
         }) {
        EXPECT_EQ(shownPath(c.path, c.rules), c.shown) << c.path;
    }
}

TEST(PathNames, SameFileWhateverTheSpelling) {
    testing::TempDir dir;
    const std::string file = dir.write("Sample.qor", "x");
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string folder = dir.str();
    const bool posixHost = shownPathRules().separator == '/';
    struct Case {
        std::string a;
        std::string b;
        bool windows;
        bool posix;
    };
    for (const Case& c : std::vector<Case>{
             {file, file, true, true},
             {file, folder + "/sub/../Sample.qor", true, true},
             {file, folder + "\\Sample.qor", true, false},
             {file, folder + "/sample.QOR", true, false},
             {folder + "/gone.qor", folder + "\\GONE.qor", true, false},
             {file, folder + "/other.qor", false, false},
         }) {
        EXPECT_EQ(samePath(c.a, c.b, kWindowsPaths), c.windows) << c.a << " " << c.b;
        // Where the system's own file names ignore case, POSIX rules cannot be seen.
        if (posixHost) {
            EXPECT_EQ(samePath(c.a, c.b, kPosixPaths), c.posix) << c.a << " " << c.b;
        }
    }
}

// The core's messages name their paths as the window shows them; the result files stay as
// they are.
TEST(PathNames, MessagesShowPathsWithTheSystemsSeparators) {
    const qor::testing::ChosenPathRules windows(kWindowsPaths);
    testing::TempDir dir;
    testing::ScriptedUi ui;
    output::Session session;
    session.nodeInfo.nodeNumber = "12";
    session.lastScan.scanResultFolder = FolderHandle::open(dir.str());
    session.lastScan.nodeFolderName = "Node12_04Dec2026";
    session.lastScan.resultFolder = dir.str() + "/Node12_04Dec2026";
    std::filesystem::create_directory(session.lastScan.resultFolder);
    const FixedClock clock(testing::kScanMoment);
    const std::vector<std::pair<const char*, std::function<std::string()>>> said{
        {"replace question",
         [] {
             return output::overwritePrompt("C:/data/Node12/AI.csv", output::ReplaceQuestion::File,
                                            "")
                 .text;
         }},
        {"no export", [] { return scan::notAnExportText("C:/data/notes.qor"); }},
        {"saved in",
         [&] {
             output::saveStatisticsFile(session, clock, ui);
             return ui.messages.empty() ? std::string() : ui.messages.back().text;
         }},
    };
    for (const auto& [what, text] : said) {
        const std::string shown = text();
        EXPECT_EQ(shown.find('/'), std::string::npos) << what << ": " << shown;
        EXPECT_NE(shown.find('\\'), std::string::npos) << what << ": " << shown;
    }
    EXPECT_TRUE(std::filesystem::exists(session.lastScan.resultFolder + "/Node12.txt"));
}

}  // namespace
}  // namespace qor::platform
