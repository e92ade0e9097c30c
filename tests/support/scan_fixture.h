#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/output/result_folder.h"
#include "core/output/scan_run.h"
#include "support/scan_variant.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"

namespace qor::testing {

inline std::string testData(const std::string& name) {
    return std::string(QOR_TEST_DATA_DIR) + "/" + name;
}

// A scan of one export for node 12 into a folder of the test's own, at the fixed moment and
// in the scan variant ctest chose.
class ScanFixture : public ::testing::Test {
protected:
    explicit ScanFixture(const std::string& exportPath = testData("golden_node.qor"),
                         options::OutputMode mode = options::OutputMode::CsvFilesOnly)
        : session(makeSession(exportPath, dir.str(), mode)) {
        session.nodeInfo.nodeNumber = "12";
    }
    // Scans, and keeps the report in the session as the application does.
    output::ScanReport run() {
        const FixedClock clock(kScanMoment);
        output::ScanReport report = output::runScan(session, ui, scanEnvironment(clock));
        session.keep(report);
        return report;
    }
    // Where the scan writes, whether or not it ended well.
    std::string outputFolder() const {
        const std::string_view subfolder = output::outputSubfolderName(session.options.outputMode);
        return (dir.path() /
                output::nodeFolderName(session.nodeInfo.nodeNumber, session.startDateStamp) /
                subfolder)
            .string();
    }
    std::string outputFile(const std::string& name) const {
        return readFile(outputFolder() + "/" + name);
    }

    TempDir dir;
    ScriptedUi ui;
    output::Session session;
};

}  // namespace qor::testing
