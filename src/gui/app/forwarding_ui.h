#pragma once

#include <QObject>
#include <atomic>

#include "core/base/user_interface.h"

namespace qor::gui {

// The person, as the scan's own thread sees them. Questions, messages and errors are carried
// to the user-interface thread and wait there for their answer; status texts and progress are
// posted without waiting. Nothing here needs the scan to yield, and a cancel is read from the
// flag the user-interface thread sets.
class ForwardingUi : public UserInterface {
public:
    // `display` is used on the thread of `context` only; both outlive every call.
    ForwardingUi(UserInterface& display, QObject& context, const std::atomic<bool>& cancel);

    bool askYesNo(const Prompt& prompt) override;
    void inform(const Message& message) override;
    void reportError(const StandardError& error) override;
    void setStatus(std::string_view text) override;
    void setStatusBarText(std::string_view text) override;
    void showProgressWindow(bool visible) override;
    void showProgressBar(bool visible) override;
    void setProgress(long long value, long long maximum) override;
    void yield() override {}
    bool cancelRequested() override { return cancel_.load(); }

private:
    template <typename Call>
    void post(Call call);
    template <typename Call>
    void wait(Call call);

    UserInterface& display_;
    QObject& context_;
    const std::atomic<bool>& cancel_;
};

}  // namespace qor::gui
