#pragma once

#include "core/base/user_interface.h"

namespace qor::gui {

class MainStatusBar;
class ProgressWindow;

// What a scan or a comparison shows while it runs, on the user-interface thread: questions and
// messages in boxes, the status in the progress window, the status text and the progress bar
// in the main window's status bar.
class ScanDisplay : public UserInterface {
public:
    ScanDisplay(UserInterface& boxes, MainStatusBar& statusBar, ProgressWindow& progress);

    bool askYesNo(const Prompt& prompt) override { return boxes_.askYesNo(prompt); }
    void inform(const Message& message) override { boxes_.inform(message); }
    void reportError(const StandardError& error) override { boxes_.reportError(error); }
    void setStatus(std::string_view text) override;
    void setLastingStatus(std::string_view text) override;
    void setRunning(bool running) override;
    void setCounting(bool counting) override;
    void setProgress(long long value, long long maximum) override;
    // The work runs on a thread of its own: the event loop never waits for it.
    void yield() override {}

private:
    UserInterface& boxes_;
    MainStatusBar& statusBar_;
    ProgressWindow& progress_;
};

}  // namespace qor::gui
