#pragma once

#include "core/base/user_interface.h"

namespace qor::gui {

class MainStatusBar;
class ProgressWindow;

// What a scan or a comparison shows while it runs, on the user-interface thread: questions and
// messages in boxes, the progress bar in the main window's status bar. The status text shows
// in the progress window and in the status bar alike, so that the two never contradict each
// other; a lasting status stays in the status bar when the work has ended. The progress window
// has the focus while it is shown, so that Escape cancels.
class ScanDisplay : public UserInterface {
public:
    ScanDisplay(UserInterface& boxes, MainStatusBar& statusBar, ProgressWindow& progress);

    bool askYesNo(const Prompt& prompt) override { return boxes_.askYesNo(prompt); }
    Answer askYesNoForAll(const Prompt& prompt) override { return boxes_.askYesNoForAll(prompt); }
    void inform(const Message& message) override { boxes_.inform(message); }
    void reportError(const StandardError& error) override { boxes_.reportError(error); }
    void setStatus(std::string_view text) override;
    void setLastingStatus(std::string_view text) override;
    void setRunning(bool running) override;
    void setCounting(bool counting) override;
    void setProgress(long long value, long long maximum) override;
    // The work runs on a thread of its own: the event loop never waits for it.

private:
    UserInterface& boxes_;
    MainStatusBar& statusBar_;
    ProgressWindow& progress_;
    bool running_ = false;
};

}  // namespace qor::gui
