#include "gui/scan/forwarding_ui.h"

#include <QMetaObject>
#include <QThread>
#include <memory>
#include <string>

namespace qor::gui {

ForwardingUi::ForwardingUi(UserInterface& display, QObject& context,
                           const std::atomic<bool>& cancel)
    : display_(display), context_(context), cancel_(cancel) {}

template <typename Call>
void ForwardingUi::post(Call call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

template <typename Call>
bool ForwardingUi::wait(Call call) {
    // Called on the thread of `context` itself, a hand-over would wait for ever.
    if (QThread::currentThread() == context_.thread()) {
        call();
        return true;
    }
    struct HandOver {
        bool started = false;
        bool done = false;
    };
    const auto handOver = std::make_shared<HandOver>();
    {
        const std::lock_guard lock(mutex_);
        if (abandoned_) {
            return false;
        }
    }
    post([this, handOver, call = std::move(call)]() mutable {
        {
            const std::lock_guard lock(mutex_);
            if (abandoned_) {
                return;  // the job has gone on without the answer; its locals may be gone
            }
            handOver->started = true;
        }
        call();
        {
            const std::lock_guard lock(mutex_);
            handOver->done = true;
        }
        answered_.notify_all();
    });
    std::unique_lock lock(mutex_);
    ++waiting_;
    answered_.wait(lock, [&] { return handOver->done || (abandoned_ && !handOver->started); });
    --waiting_;
    return handOver->done;
}

bool ForwardingUi::waiting() const {
    const std::lock_guard lock(mutex_);
    return waiting_ > 0;
}

void ForwardingUi::abandon() {
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    answered_.notify_all();
}

bool ForwardingUi::askYesNo(const Prompt& prompt) {
    bool answer = false;
    return wait([&] { answer = display_.askYesNo(prompt); }) && answer;
}

Answer ForwardingUi::askYesNoForAll(const Prompt& prompt) {
    Answer answer = Answer::No;
    return wait([&] { answer = display_.askYesNoForAll(prompt); }) ? answer : Answer::No;
}

void ForwardingUi::inform(const Message& message) {
    wait([&] { display_.inform(message); });
}

void ForwardingUi::reportError(const StandardError& error) {
    wait([&] { display_.reportError(error); });
}

void ForwardingUi::setStatus(std::string_view text) {
    post([this, copy = std::string(text)] { display_.setStatus(copy); });
}

void ForwardingUi::setLastingStatus(std::string_view text) {
    post([this, copy = std::string(text)] { display_.setLastingStatus(copy); });
}

void ForwardingUi::setRunning(bool running) {
    post([this, running] { display_.setRunning(running); });
}

void ForwardingUi::setCounting(bool counting) {
    post([this, counting] { display_.setCounting(counting); });
}

void ForwardingUi::setProgress(long long value, long long maximum) {
    post([this, value, maximum] { display_.setProgress(value, maximum); });
}

}  // namespace qor::gui
