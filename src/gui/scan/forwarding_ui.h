#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "core/base/user_interface.h"

namespace qor::gui {

// The person, as a job on another thread sees them. Questions, messages and errors are carried
// to the thread of `context` and the job waits there for their answer (the thread of `context`
// is never blocked: it answers from its event loop); status texts and progress are posted
// without waiting. A cancel is read from the flag the user-interface thread sets.
class ForwardingUi : public UserInterface {
public:
    // `display` is used on the thread of `context` only; both outlive every call.
    ForwardingUi(UserInterface& display, QObject& context, const std::atomic<bool>& cancel);

    bool askYesNo(const Prompt& prompt) override;
    Answer askYesNoForAll(const Prompt& prompt) override;
    void inform(const Message& message) override;
    void reportError(const StandardError& error) override;
    void setStatus(std::string_view text) override;
    void setLastingStatus(std::string_view text) override;
    void setRunning(bool running) override;
    void setCounting(bool counting) override;
    void setProgress(long long value, long long maximum) override;
    bool cancelRequested() override { return cancel_.load(); }

    // For the going of `context` while a job still runs, on its thread: the question the job
    // waits on, unless it is on screen, and every later one is answered No at once, and
    // messages are dropped.
    void abandon();
    // Whether the job waits now for a call handed to the display (a question, a message).
    bool waiting() const;

private:
    template <typename Call>
    void post(Call call);
    // Runs `call` on the thread of `context` and waits for it; false when it was abandoned.
    template <typename Call>
    bool wait(Call call);

    UserInterface& display_;
    QObject& context_;
    const std::atomic<bool>& cancel_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool abandoned_ = false;
    int waiting_ = 0;
};

}  // namespace qor::gui
