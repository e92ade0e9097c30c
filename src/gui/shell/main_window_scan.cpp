// The scan command: from "Scan File..." (or "Scan Now") to the statistics window.
#include <QTimer>
#include <exception>
#include <memory>
#include <optional>

#include "core/base/standard_error.h"
#include "core/options/search_options.h"
#include "core/output/scan_run.h"
#include "core/platform/folder_lock.h"
#include "core/platform/user_environment.h"
#include "core/scan/node_info.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/options/search_status_dialog.h"
#include "gui/scan/background_work.h"
#include "gui/scan/progress_window.h"
#include "gui/scan/scan_display.h"
#include "gui/scan/statistics_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

// The location of the standard error message for the scan's errors.
constexpr std::string_view kModule = "frmMain";
constexpr std::string_view kProcedure = "mnuFileScan_Click";

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

bool MainWindow::refuseNonExport() {
    if (!context_.session.nodeInfo.notAnExport) {
        return false;
    }
    context_.boxes.inform(Message{std::string(kApplicationTitle),
                                  scan::notAnExportText(context_.session.databasePath),
                                  MessageIcon::Exclamation});
    return true;
}

void MainWindow::scanFile() {
    if (busy() || refuseNonExport()) {
        return;
    }
    runStep(context_.boxes, kModule, kProcedure, [&] {
        if (!context_.session.options.scansAnyType()) {
            // The dialog itself says what to do, beside the button that does it.
            searchStatusDialog().prepare(SearchStatusMode::NothingEnabled);
            context_.desktop.runModal(searchStatusDialog());
            return;
        }
        if (context_.session.options.showSearchStatusDialog) {
            searchStatusDialog().prepare(SearchStatusMode::FromScanCommand);
            context_.desktop.runModal(searchStatusDialog());
        } else {
            startScan();
        }
    });
}

void MainWindow::startScan() {
    startScan(platform::LockRules{});
}

void MainWindow::startScan(platform::LockRules lock) {
    if (busy() || refuseNonExport()) {
        return;
    }
    setBusy(true);
    tmrSwitchText_->stop();
    // The first questions come before anything is read: nothing of the last scan stays shown.
    display_->setStatus(toStdString(ProgressWindow::preparingText()));
    output::Session& session = context_.session;
    // The header lines follow the selections the readers will use, edited or saved.
    session.columns = options::buildAllColumnData(session.options);
    // On a fresh account the Documents folder, the default home of the results, may not exist
    // yet; a folder the user chose is never made up.
    platform::createMissingDocumentsFolder(session.options.scanResultFolderPath);
    progress_->setScanning(true);
    // The scan reads its own copy of the session, so nothing the window does while it runs can
    // reach it; its report comes back by value and is kept in scanFinished.
    auto snapshot = std::make_shared<const output::Session>(session);
    const auto report = std::make_shared<std::optional<output::ScanReport>>();
    output::ScanEnvironment environment{context_.clock};
    environment.lock = lock;
    work_->start([snapshot = std::move(snapshot), environment, report](
                     UserInterface& ui) { *report = output::runScan(*snapshot, ui, environment); },
                 [this, report](std::exception_ptr error) {
                     scanFinished(std::move(*report), std::move(error));
                 });
}

void MainWindow::scanFinished(std::optional<output::ScanReport> report, std::exception_ptr error) {
    // Another computer's lock stopped the scan before anything was written: the person may
    // take it over, and the scan starts again.
    if (error && busy_ != BusyState::WorkingThenClose) {
        if (const std::optional<Prompt> question = breakLockQuestion(error)) {
            progress_->setScanning(false);
            progress_->hide();
            statusBar_->showProgress(false);
            showNodeInformation();
            endWork();
            if (context_.boxes.askYesNo(*question)) {
                startScan(platform::LockRules{.breakForeign = true});
            }
            return;
        }
    }
    progress_->setScanning(false);
    const bool cancelled = report && report->cancelled;
    if (report) {
        context_.session.keep(std::move(*report));
    }
    if (error || cancelled) {
        // Nothing of the broken scan stays on screen: the progress window and bar go, and
        // the status text returns to the open file.
        progress_->hide();
        statusBar_->showProgress(false);
        showNodeInformation();
        if (error) {
            runStep(context_.boxes, kModule, kProcedure, [&] { std::rethrow_exception(error); });
        }
    }
    const bool closing = busy_ == BusyState::WorkingThenClose;
    if (!error && !closing) {
        if (!cancelled) {
            tmrSwitchText_->start();
        }
        // The statistics are part of the scan: the commands wait until they are closed.
        StatisticsWindow statistics(context_.session, context_.clock, context_.boxes, this);
        statistics.offerResults(context_.desktop, cancelled);
        context_.desktop.runModal(statistics);
    }
    endWork();
}

}  // namespace qor::gui
