#pragma once

#include <atomic>
#include <exception>
#include <functional>

#include "core/base/user_interface.h"
#include "core/output/scan_run.h"

class QObject;

namespace qor::gui {

// Runs `job` on a thread of its own and waits in a local event loop, as a modal dialog does,
// so that the windows stay live while it works. The job talks to the person through the
// UserInterface it is given: `display` shows what it says and answers its questions on this
// thread, and its cancelRequested() reads `cancel`. What the job throws is returned, to be
// reported by the caller; null when it ended normally.
std::exception_ptr runOffThread(const std::function<void(UserInterface&)>& job,
                                UserInterface& display, const std::atomic<bool>& cancel,
                                QObject& context);

// How a scan run off the user-interface thread ended.
struct ScanEnd {
    output::ScanOutcome outcome = output::ScanOutcome::Completed;
    bool cancelled = false;
    std::exception_ptr error;  // what ended it otherwise, to be reported by the caller
};

// output::runScan through runOffThread; `cancel` stops it at the next chunk. The session
// belongs to the scan until this returns: nothing on this thread may touch it.
ScanEnd runScanOffThread(output::Session& session, UserInterface& display,
                         const output::ScanEnvironment& environment,
                         const std::atomic<bool>& cancel, QObject& context);

}  // namespace qor::gui
