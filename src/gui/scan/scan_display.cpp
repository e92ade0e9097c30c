#include "gui/scan/scan_display.h"

#include "gui/base/main_status_bar.h"
#include "gui/scan/progress_window.h"

namespace qor::gui {

ScanDisplay::ScanDisplay(UserInterface& boxes, MainStatusBar& statusBar, ProgressWindow& progress)
    : boxes_(boxes), statusBar_(statusBar), progress_(progress) {}

void ScanDisplay::setStatus(std::string_view text) {
    progress_.setStatus(text);
}

// A lasting status goes to the main window's status bar; the running one to the progress window.
void ScanDisplay::setLastingStatus(std::string_view text) {
    statusBar_.setPanelText(1, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ScanDisplay::setRunning(bool running) {
    progress_.setVisible(running);
    if (running) {
        progress_.raise();
    }
}

void ScanDisplay::setCounting(bool counting) {
    statusBar_.showProgress(counting);
}

void ScanDisplay::setProgress(long long value, long long maximum) {
    statusBar_.setProgress(value, maximum);
    progress_.setProgress(value, maximum);
}

}  // namespace qor::gui
