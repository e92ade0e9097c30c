#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "core/base/user_interface.h"

namespace qor::gui {

class ForwardingUi;

// Long work (a scan, a comparison) off the user-interface thread, one job at a time: start()
// hands the job to Qt's thread pool and returns at once; the event loop goes on as ever, and
// when the job is over `done` is called on this object's thread, from the event loop, after
// every status text the job posted has been shown, with what the job threw (null when it
// ended normally).
//
// The job talks to the person only through the UserInterface it is given: questions and
// messages are handed to `display` on this object's thread and the job waits for the answer
// there; status texts and progress are posted without waiting; cancelRequested() turns true
// once cancel() was called. Destroyed while a job runs, it cancels the job, answers the
// question the job waits on (and every later one) No, and waits for the job to end; `done`
// is not called then.
class BackgroundWork : public QObject {
    Q_OBJECT

public:
    using Job = std::function<void(UserInterface&)>;
    using Done = std::function<void(std::exception_ptr)>;

    // `display` must outlive this object.
    explicit BackgroundWork(UserInterface& display, QObject* parent = nullptr);
    ~BackgroundWork() override;

    // Starts `job`; false, and nothing started, while another job runs.
    bool start(Job job, Done done);
    bool running() const { return running_; }
    // Whether the running job waits for the person: a question or a message handed to the
    // display and not yet answered.
    bool waitingForAnswer() const;

    // Asks the running job to stop at its next check; true when it was not asked before.
    bool cancel();
    // What cancel() sets, for a job that hands an atomic flag to the code it runs. Reset when
    // the next job starts.
    const std::atomic<bool>& cancelFlag() const { return cancel_; }

private:
    void finish();

    std::atomic<bool> cancel_{false};
    std::unique_ptr<ForwardingUi> ui_;
    QFutureWatcher<void> watcher_;
    std::exception_ptr error_;
    Done done_;
    bool running_ = false;
};

}  // namespace qor::gui
