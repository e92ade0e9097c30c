// The scan command: from "Scan File..." (or "Scan Now") to the statistics window.
#include <QTimer>
#include <exception>
#include <optional>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/strings.h"
#include "core/options/search_options.h"
#include "core/options/settings_table.h"
#include "core/output/scan_run.h"
#include "core/platform/folder_lock.h"
#include "core/platform/user_environment.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/scan_display.h"
#include "gui/app/scan_thread.h"
#include "gui/options/search_status_dialog.h"
#include "gui/output/progress_window.h"
#include "gui/output/statistics_window.h"

namespace qor::gui {
namespace {

// When a lock another computer's scan left stopped the scan: the question whether to take
// it over.
std::optional<Prompt> breakLockQuestion(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const platform::FolderLockedElsewhere& locked) {
        return Prompt{std::string(kApplicationTitle),
                      std::string(locked.what()) +
                          ".\r\nTake the lock over? Only when no scan runs on that computer any "
                          "more.",
                      MessageIcon::Exclamation};
    } catch (const std::exception&) {
        return std::nullopt;  // reported as it is by the caller
    }
}

}  // namespace

SearchStatusDialog& MainWindow::searchStatusDialog() {
    if (searchStatus_.isNull()) {
        searchStatus_ = new SearchStatusDialog(context_.session, context_.boxes, this);
        searchStatus_->onScanNow = [this] { startScan(); };
        searchStatus_->onChangeSettings = [this] { showOptions(); };
    }
    return *searchStatus_;
}

void MainWindow::scanFile() {
    if (scanning_) {
        return;
    }
    runStep(context_.boxes, "frmMain", "mnuFileScan_Click", [&] {
        if (!context_.session.options.scansAnyType()) {
            context_.boxes.inform(Message{std::string(kApplicationTitle),
                                          std::string(loadString(str::kAllSearchDisabled)) +
                                              "\r\n" +
                                              std::string(loadString(str::kClickChangeSettings)),
                                          MessageIcon::Information});
            searchStatusDialog().prepare(SearchStatusMode::NothingEnabled);
            context_.desktop.runModal(searchStatusDialog());
            return;
        }
        const std::string show =
            options::settings::kShowSearchStatusDialog.readFrom(context_.store);
        bool ok = false;
        const int value = QString::fromStdString(show).trimmed().toShort(&ok);
        if (!ok) {
            throw QorError("Type mismatch");
        }
        if (value == 1) {
            searchStatusDialog().prepare(SearchStatusMode::FromScanCommand);
            context_.desktop.runModal(searchStatusDialog());
        } else {
            startScan();
        }
    });
}

void MainWindow::startScan() {
    if (scanning_) {
        return;
    }
    setScanning(true);
    tmrSwitchText_->stop();
    output::Session& session = context_.session;
    // The header lines follow the selections the readers will use, edited or saved.
    session.columns = options::buildAllColumnData(session.options);
    // On a fresh account the Documents folder, the default home of the results, may not exist
    // yet; a folder the user chose is never made up.
    platform::createMissingDocumentsFolder(session.options.scanResultFolderPath);
    cancel_ = false;
    progress_->setScanning(true);
    ScanDisplay display(context_.boxes, *statusBar_, *progress_);
    output::ScanEnvironment environment{context_.clock, context_.windows};
    ScanEnd end = runScanOffThread(session, display, environment, cancel_, *this);
    bool lockKept = false;  // the person left another computer's lock alone: nothing to report
    if (end.error) {
        if (const std::optional<Prompt> question = breakLockQuestion(end.error)) {
            lockKept = !context_.boxes.askYesNo(*question);
            if (!lockKept) {
                environment.lock.breakForeign = true;
                end = runScanOffThread(session, display, environment, cancel_, *this);
            }
        }
    }
    progress_->setScanning(false);
    if (end.error || end.cancelled) {
        // Nothing of the broken scan stays on screen: the progress window and bar go, and
        // the status text returns to the open file.
        progress_->hide();
        statusBar_->showProgress(false);
        showNodeInformation();
        if (end.error && !lockKept) {
            runStep(context_.boxes, "frmMain", "mnuFileScan_Click",
                    [&] { std::rethrow_exception(end.error); });
        }
    }
    if (end.outcome == output::ScanOutcome::Completed && !end.error && !closeAfterScan_) {
        if (!end.cancelled) {
            tmrSwitchText_->start();
        }
        StatisticsWindow statistics(session, context_.clock, context_.boxes, this);
        statistics.offerResults(context_.desktop, end.cancelled);
        context_.desktop.runModal(statistics);
    }
    setScanning(false);
    if (closeAfterScan_) {
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void MainWindow::cancelScan() {
    if (scanning_ && !cancel_) {
        cancel_ = true;
        progress_->setStatus(QStringLiteral("Cancelling..."));
    }
}

}  // namespace qor::gui
