#pragma once

#include <atomic>
#include <exception>

#include "core/base/user_interface.h"
#include "core/output/scan_run.h"

class QObject;

namespace qor::gui {

// How a scan run off the user-interface thread ended.
struct ScanEnd {
    output::ScanOutcome outcome = output::ScanOutcome::Completed;
    bool cancelled = false;
    std::exception_ptr error;  // what ended it otherwise, to be reported by the caller
};

// Runs output::runScan on a thread of its own and waits in a local event loop, as a modal
// dialog does, so that the windows stay live while it reads. `display` shows what the scan
// says and answers its questions on this thread; `cancel` stops it at the next chunk. The
// session belongs to the scan until this returns: nothing on this thread may touch it.
ScanEnd runScanOffThread(output::Session& session, UserInterface& display,
                         const output::ScanEnvironment& environment,
                         const std::atomic<bool>& cancel, QObject& context);

}  // namespace qor::gui
