#include "gui/scan/scan_display.h"

#include "gui/base/main_status_bar.h"
#include "gui/scan/progress_window.h"

namespace qor::gui {

ScanDisplay::ScanDisplay(UserInterface& boxes, MainStatusBar& statusBar, ProgressWindow& progress)
    : boxes_(boxes), statusBar_(statusBar), progress_(progress) {}

void ScanDisplay::setStatus(std::string_view text) {
    progress_.setStatus(text);
}

void ScanDisplay::setStatusBarText(std::string_view text) {
    statusBar_.setPanelText(1, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ScanDisplay::showProgressWindow(bool visible) {
    progress_.setVisible(visible);
    if (visible) {
        progress_.raise();
    }
}

void ScanDisplay::showProgressBar(bool visible) {
    statusBar_.showProgress(visible);
}

void ScanDisplay::setProgress(long long value, long long maximum) {
    statusBar_.setProgress(value, maximum);
    progress_.setProgress(value, maximum);
}

}  // namespace qor::gui
