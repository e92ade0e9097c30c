#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    output::ScanOutcome run() {
        const FixedClock clock(kScanMoment);
        return output::runScan(session, ui, scanEnvironment(clock));
    }
    std::string outputFile(const std::string& name) const {
        return readFile(session.scan.outputFolder + "/" + name);
    }

    TempDir dir;
    ScriptedUi ui;
    output::Session session;
};

}  // namespace qor::testing
