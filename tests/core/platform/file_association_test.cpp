#include "core/platform/file_association.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace qor::platform {
namespace {

using qor::testing::readFile;
using qor::testing::TempDir;
namespace fs = std::filesystem;

bool hasLine(const std::string& path, const std::string& line) {
    const std::string text = "\n" + readFile(path);
    return text.find("\n" + line + "\n") != std::string::npos;
}

FileAssociationReport associate(const std::string& program, const std::string& data,
                                RefreshDatabases refresh = RefreshDatabases::No) {
    return createFileAssociation(kProgramIdentifier, kDocumentExtension, kDocumentDescription,
                                 program, data, refresh);
}

TEST(FileAssociation, WritesDesktopEntryMimePackageAndIcon) {
    TempDir data;
    const std::string program = data.file("my programs/qorreader");
    const FileAssociationReport report = associate(program, data.str());
    EXPECT_EQ(report.written.size(), 3u);
    EXPECT_TRUE(report.failed.empty());

    const std::string entry = data.file("applications/qorreader.desktop");
    EXPECT_EQ(readFile(entry).rfind("[Desktop Entry]\n", 0), 0u);
    const std::string lines[] = {"Type=Application",
                                 "Name=QOR Reader",
                                 "Exec=\"" + program + "\" %f",
                                 "Icon=qorreader",
                                 "MimeType=application/x-qorreader;",
                                 "Terminal=false"};
    for (const std::string& line : lines) {
        EXPECT_TRUE(hasLine(entry, line)) << line;
    }
    const std::string package = data.file("mime/packages/qorreader.xml");
    for (const char* line :
         {"  <mime-type type=\"application/x-qorreader\">",
          "    <comment>AC400 DataBase Files</comment>", "    <glob pattern=\"*.qor\"/>"}) {
        EXPECT_TRUE(hasLine(package, line)) << line;
    }
    EXPECT_EQ(readFile(data.file("icons/hicolor/scalable/apps/qorreader.svg")).rfind("<svg", 0),
              0u);

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
        EXPECT_TRUE(hasLine(data.file("applications/qorreader.desktop"), "Exec=" + exec))
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
    EXPECT_TRUE(fs::is_regular_file(data.path() / "applications/qorreader.desktop"));

    const std::string unwritable = data.write("plain-file", "x") + "/share";
    EXPECT_NO_THROW(report = associate("/q", unwritable, RefreshDatabases::Yes));
    EXPECT_EQ(report.failed.size(), 3u);
    EXPECT_TRUE(report.written.empty());
    EXPECT_TRUE(report.refreshed.empty()) << "nothing written, nothing to refresh";
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
}  // namespace qor::platform
