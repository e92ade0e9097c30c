#pragma once

#include <mutex>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"

namespace qor::output {

// The user interface of work that reports errors from a thread other than the scan's: the
// reports are held and given to the real interface by `deliver`, on the scan's thread. Anything
// else is passed straight on, and so may only be called on the scan's thread.
class DeferredReports : public UserInterface {
public:
    explicit DeferredReports(UserInterface& target) : target_(target) {}

    void reportError(const StandardError& error) override {
        const std::lock_guard lock(mutex_);
        held_.push_back(error);
    }
    // Reports what is held, in the order it came; call on the scan's thread.
    void deliver() {
        std::vector<StandardError> held;
        {
            const std::lock_guard lock(mutex_);
            held.swap(held_);
        }
        for (const StandardError& error : held) {
            target_.reportError(error);
        }
    }

    bool askYesNo(const Prompt& prompt) override { return target_.askYesNo(prompt); }
    void inform(const Message& message) override { target_.inform(message); }
    void setStatus(std::string_view text) override { target_.setStatus(text); }
    void setLastingStatus(std::string_view text) override { target_.setLastingStatus(text); }
    void setRunning(bool visible) override { target_.setRunning(visible); }
    void setCounting(bool visible) override { target_.setCounting(visible); }
    void setProgress(long long value, long long maximum) override {
        target_.setProgress(value, maximum);
    }
    bool cancelRequested() override { return target_.cancelRequested(); }

private:
    UserInterface& target_;
    std::mutex mutex_;
    std::vector<StandardError> held_;
};

}  // namespace qor::output
