// The scan command: from "Scan File..." (or "Scan Now") to the statistics window.
#include <QTimer>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/base/strings.h"
#include "core/options/search_options.h"
#include "core/options/settings_table.h"
#include "core/output/scan_run.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/scan_display.h"
#include "gui/options/search_status_dialog.h"
#include "gui/output/progress_window.h"
#include "gui/output/statistics_window.h"

namespace qor::gui {

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
    ScanDisplay display(context_.boxes, *statusBar_, *progress_);
    output::Session& session = context_.session;
    // The header lines follow the selections the readers will use, edited or saved.
    session.columns = options::buildAllColumnData(session.options);
    output::ScanOutcome outcome = output::ScanOutcome::ExcelRunning;
    const bool ran = runStep(context_.boxes, "frmMain", "mnuFileScan_Click", [&] {
        outcome = output::runScan(session, display,
                                  output::ScanEnvironment{context_.clock, context_.windows});
    });
    if (!ran) {
        // Nothing of the broken scan stays on screen: the progress window and bar go, and
        // the status text returns to the open file.
        progress_->hide();
        statusBar_->showProgress(false);
        showNodeInformation();
    } else if (outcome == output::ScanOutcome::Completed) {
        tmrSwitchText_->start();
        StatisticsWindow statistics(session, context_.clock, context_.boxes, this);
        context_.desktop.runModal(statistics);
    }
    setScanning(false);
    if (closeAfterScan_) {
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

}  // namespace qor::gui
