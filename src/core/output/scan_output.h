#pragma once

#include <memory>

#include "core/base/date_time.h"
#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/scan/element_sink.h"

namespace qor::output {

// The chosen output of one scan run: hands the element reader one sink per type and owns
// whatever spans the types (the one workbook, the HTML frame pages).
class ScanOutput {
public:
    virtual ~ScanOutput() = default;

    // Before the first type (one workbook: start the spreadsheet and its workbook).
    virtual void beginScan() {}
    virtual std::unique_ptr<scan::ElementSink> sinkFor(scan::ElementType type) = 0;
    // After the last type (one workbook: save it; HTML: index, frameset and empty page).
    virtual void endScan() {}
    // The scan ended with an error: release what is open without presenting it as done.
    virtual void abandonScan() noexcept {}
};

// The output for the session's output mode into `folder` (the scan's output folder); `clock`
// dates what the output stamps.
std::unique_ptr<ScanOutput> makeScanOutput(const Session& session,
                                           const platform::FolderHandle& folder, UserInterface& ui,
                                           const Clock& clock);

}  // namespace qor::output
