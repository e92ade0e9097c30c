#include "gui/scan/background_work.h"

#include <QtConcurrent/QtConcurrentRun>

#include "gui/scan/forwarding_ui.h"

namespace qor::gui {

BackgroundWork::BackgroundWork(UserInterface& display, QObject* parent)
    : QObject(parent), ui_(std::make_unique<ForwardingUi>(display, *this, cancel_)) {
    // Queued behind whatever the job posted before it ended, so every status text is shown
    // by the time `done` runs.
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &BackgroundWork::finish);
}

BackgroundWork::~BackgroundWork() {
    if (running_) {
        cancel_ = true;
        ui_->abandon();
        watcher_.waitForFinished();
    }
}

bool BackgroundWork::start(Job job, Done done) {
    if (running_) {
        return false;
    }
    running_ = true;
    cancel_ = false;
    error_ = nullptr;
    done_ = std::move(done);
    watcher_.setFuture(QtConcurrent::run([this, job = std::move(job)] {
        try {
            job(*ui_);
        } catch (...) {
            // Not swallowed: carried to this object's thread and handed to `done`.
            error_ = std::current_exception();
        }
    }));
    return true;
}

bool BackgroundWork::waitingForAnswer() const {
    return ui_ != nullptr && ui_->waiting();
}

bool BackgroundWork::cancel() {
    return running_ && !cancel_.exchange(true);
}

void BackgroundWork::finish() {
    running_ = false;
    // `done` may start the next job, which replaces done_.
    const Done done = std::move(done_);
    done_ = nullptr;
    if (done) {
        done(std::exchange(error_, nullptr));
    }
}

}  // namespace qor::gui
