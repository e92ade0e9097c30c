#pragma once

#include <chrono>
#include <functional>

#include "core/base/date_time.h"
#include "core/base/user_interface.h"
#include "core/output/scan_report.h"
#include "core/output/session.h"
#include "core/platform/folder_lock.h"

namespace qor::output {

// What a scan needs of the world besides the session and the person.
struct ScanEnvironment {
    const Clock& clock;
    std::size_t threads = 0;     // threads that parse the export; 0: one per processor
    std::size_t chunkBytes = 0;  // the export is parsed in chunks of about this size; 0: 1 MiB
    platform::LockRules lock{};  // how the node folder's lock is taken
    // The time the scan's duration is measured with; a test gives one it moves by hand.
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
};

// Turns the opened export file into result files: creates the result and output folders,
// reads every enabled type in the reading order into the chosen output, finishes the
// one-workbook output and the HTML frame pages, reports "Convert Completed" and returns what
// it wrote where (the caller keeps it in the session for the statistics): the elements of each
// type, the types whose results the user kept, and the time the work took, not counting the
// time its questions and messages waited for an answer. A cancelled scan
// leaves no type's output and returns its folders with `cancelled` set. A result folder that
// cannot be made, that is a link, or that another scan is writing, throws QorError
// (platform::FolderLockedElsewhere for a lock of another computer) before anything is written.
// An error that ends a reader ends the scan and propagates (scan::ReadFailed); the progress
// display is ended and open outputs are released before it does. A file that is not a node
// export (nodeInfo.notAnExport) throws QorError (scan::notAnExportText) before anything is made.
ScanReport runScan(const Session& session, UserInterface& ui, const ScanEnvironment& environment);

// The status texts of a scan for the type, in the running language: while it is read
// ("Reading 'Analog Input' parameters...") and while its HTML page is written. The progress
// window measures them.
std::string readingStatusText(const scan::ElementTypeInfo& type);
std::string htmlWritingStatusText(const scan::ElementTypeInfo& type);

}  // namespace qor::output
