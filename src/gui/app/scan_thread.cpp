#include "gui/app/scan_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <thread>

#include "core/base/qor_error.h"
#include "gui/app/forwarding_ui.h"

namespace qor::gui {

std::exception_ptr runOffThread(const std::function<void(UserInterface&)>& job,
                                UserInterface& display, const std::atomic<bool>& cancel,
                                QObject& context) {
    std::exception_ptr error;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    ForwardingUi ui(display, context, cancel);
    std::thread worker([&] {
        try {
            job(ui);
        } catch (...) {
            // Not swallowed: carried to the user-interface thread, which reports it.
            error = std::current_exception();
        }
        finished = true;
        // Posted after every status the job posted, so they are all shown by the time the
        // loop ends.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    // A loop ended early (the application quitting) must still answer the job's questions.
    while (!finished) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // Whatever the job posted refers to `ui` and `display`: delivered before they go.
    QCoreApplication::sendPostedEvents(&context, QEvent::MetaCall);
    return error;
}

ScanEnd runScanOffThread(output::Session& session, UserInterface& display,
                         const output::ScanEnvironment& environment,
                         const std::atomic<bool>& cancel, QObject& context) {
    ScanEnd end;
    end.error = runOffThread(
        [&](UserInterface& ui) {
            try {
                end.outcome = output::runScan(session, ui, environment);
            } catch (const ScanCancelled&) {
                end.cancelled = true;
            }
        },
        display, cancel, context);
    return end;
}

}  // namespace qor::gui
