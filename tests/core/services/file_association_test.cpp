#include "core/services/file_association.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/platform/install_layout.h"
#include "support/temp_dir.h"

namespace qor::services {
namespace {

using qor::testing::readFile;
using qor::testing::TempDir;
namespace fs = std::filesystem;

bool hasLine(const std::string& path, const std::string& line) {
    const std::string text = "\n" + readFile(path);
    return text.find("\n" + line + "\n") != std::string::npos;
}

constexpr std::string_view kIcon = "<svg/>\n";

FileAssociationReport associate(const std::string& program, const std::string& data,
                                RefreshDatabases refresh = RefreshDatabases::No) {
    return createFileAssociation(kQorDocuments, program, kIcon, data, refresh);
}

TEST(FileAssociation, WritesDesktopEntryMimePackageAndIcon) {
    TempDir data;
    const std::string program = data.file("my programs/qorreader");
    const FileAssociationReport report = associate(program, data.str());
    EXPECT_EQ(report.written.size(), 3u);
    EXPECT_TRUE(report.failed.empty());

    const std::string entry = data.file("applications/org.qorreader.QORReader.desktop");
    EXPECT_EQ(readFile(entry).rfind("[Desktop Entry]\n", 0), 0u);
    const std::string lines[] = {"Type=Application",
                                 "Name=QOR Reader",
                                 "Exec=\"" + program + "\" %f",
                                 "Icon=org.qorreader.QORReader",
                                 "MimeType=application/x-qorreader;",
                                 "Terminal=false"};
    for (const std::string& line : lines) {
        EXPECT_TRUE(hasLine(entry, line)) << line;
    }
    const std::string package = data.file("mime/packages/org.qorreader.QORReader.xml");
    for (const char* line :
         {"  <mime-type type=\"application/x-qorreader\">",
          "    <comment>AC400 DataBase Files</comment>", "    <glob pattern=\"*.qor\"/>"}) {
        EXPECT_TRUE(hasLine(package, line)) << line;
    }
    EXPECT_EQ(readFile(data.file("icons/hicolor/scalable/apps/org.qorreader.QORReader.svg")),
              kIcon);

    // A later start writes the entry again for the program where it now is, leaving no
    // temporary files beside it.
    associate("/opt/qor/qorreader", data.str());
    EXPECT_TRUE(hasLine(entry, "Exec=/opt/qor/qorreader %f"));
    EXPECT_EQ(std::distance(fs::directory_iterator(data.path() / "applications"), {}), 1);
}

TEST(FileAssociation, ExecLineQuotesAndEscapesTheProgramPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/100%/qorreader", "/opt/100%%/qorreader %f"},
        {"/opt/say \"hi\" $HOME/q", "\"/opt/say \\\\\"hi\\\\\" \\\\$HOME/q\" %f"},
        {"/opt/back\\slash/q", "\"/opt/back\\\\\\\\slash/q\" %f"},
    };
    for (const auto& [program, exec] : cases) {
        TempDir data;
        associate(program, data.str());
        EXPECT_TRUE(
            hasLine(data.file("applications/org.qorreader.QORReader.desktop"), "Exec=" + exec))
            << program;
    }
}

TEST(FileAssociation, FailingStepsAreIgnoredAndTheOthersGoOn) {
    TempDir data;
    data.write("mime", "a file where the mime folder belongs");
    FileAssociationReport report;
    EXPECT_NO_THROW(report = associate("/opt/qor/qorreader", data.str()));
    EXPECT_EQ(report.failed.size(), 1u);
    EXPECT_EQ(report.written.size(), 2u);
    EXPECT_TRUE(fs::is_regular_file(data.path() / "applications/org.qorreader.QORReader.desktop"));

    const std::string unwritable = data.write("plain-file", "x") + "/share";
    EXPECT_NO_THROW(report = associate("/q", unwritable, RefreshDatabases::Yes));
    EXPECT_EQ(report.failed.size(), 3u);
    EXPECT_TRUE(report.written.empty());
    EXPECT_TRUE(report.refreshed.empty()) << "nothing written, nothing to refresh";
}

// An installed program brings its own entry and MIME package (share/ beside bin/); only
// when one of them is missing does the first run write the user's copy.
TEST(FileAssociation, InstalledAssociationIsNotCopiedPerUser) {
    const struct {
        bool entry, package, registered;
    } cases[] = {{true, true, false}, {true, false, true}, {false, true, true}};
    for (const auto& c : cases) {
        TempDir prefix;
        const fs::path data = platform::installedDataFolder(prefix.file("bin"));
        fs::create_directories(data / "applications");
        fs::create_directories(data / "mime/packages");
        if (c.entry) {
            std::ofstream(data / "applications/org.qorreader.QORReader.desktop");
        }
        if (c.package) {
            std::ofstream(data / "mime/packages/org.qorreader.QORReader.xml");
        }
        const TempDir user;
        const auto report =
            registerFileAssociation(prefix.file("bin/qorreader"), kIcon, user.str());
        EXPECT_EQ(report.written.size(), c.registered ? 3u : 0u) << c.entry << c.package;
        EXPECT_EQ(fs::exists(user.path() / "applications"), c.registered);
    }
}

TEST(FileAssociation, RefreshedMimeDatabaseKnowsTheType) {
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        GTEST_SKIP() << "update-mime-database is not installed";
    }
    TempDir data;
    const auto report = associate("/opt/qor/qorreader", data.str(), RefreshDatabases::Yes);
    EXPECT_EQ(report.refreshed.front(), "update-mime-database");
    EXPECT_TRUE(hasLine(data.file("mime/globs2"), "50:application/x-qorreader:*.qor"));
    EXPECT_TRUE(hasLine(data.file("mime/application/x-qorreader.xml"),
                        "  <comment>AC400 DataBase Files</comment>"));
}

}  // namespace
}  // namespace qor::services
