#include "gui/app/scan_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <thread>

#include "core/base/qor_error.h"
#include "gui/app/forwarding_ui.h"

namespace qor::gui {

ScanEnd runScanOffThread(output::Session& session, UserInterface& display,
                         const output::ScanEnvironment& environment,
                         const std::atomic<bool>& cancel, QObject& context) {
    ScanEnd end;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    ForwardingUi ui(display, context, cancel);
    std::thread worker([&] {
        try {
            end.outcome = output::runScan(session, ui, environment);
        } catch (const ScanCancelled&) {
            end.cancelled = true;
        } catch (...) {
            // Not swallowed: carried to the user-interface thread, which reports it.
            end.error = std::current_exception();
        }
        finished = true;
        // Posted after every status the scan posted, so they are all shown by the time the
        // loop ends.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    // A loop ended early (the application quitting) must still answer the scan's questions.
    while (!finished) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // Whatever the scan posted refers to `ui` and `display`: delivered before they go.
    QCoreApplication::sendPostedEvents(&context, QEvent::MetaCall);
    return end;
}

}  // namespace qor::gui
