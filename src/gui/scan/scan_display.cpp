#include "gui/scan/scan_display.h"

#include "gui/base/main_status_bar.h"
#include "gui/scan/progress_window.h"

namespace qor::gui {

ScanDisplay::ScanDisplay(UserInterface& boxes, MainStatusBar& statusBar, ProgressWindow& progress)
    : boxes_(boxes), statusBar_(statusBar), progress_(progress) {}

void ScanDisplay::setStatus(std::string_view text) {
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    progress_.setStatus(shown);
    statusBar_.setPanelText(1, shown);
}

void ScanDisplay::setLastingStatus(std::string_view text) {
    statusBar_.setPanelText(1, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    if (running_) {
        progress_.setStatus(text);
    }
}

void ScanDisplay::setRunning(bool running) {
    running_ = running;
    progress_.setVisible(running);
    if (running) {
        progress_.raise();
        progress_.activateWindow();
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
