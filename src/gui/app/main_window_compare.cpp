// The compare command: from "Compare With..." to the window of changes.
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/platform/input_file.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/line_ceiling.h"
#include "core/scan/node_info.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/scan_display.h"
#include "gui/app/scan_thread.h"
#include "gui/compare/comparison_window.h"
#include "gui/output/progress_window.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmMain";
constexpr std::string_view kProcedure = "mnuFileCompare_Click";

}  // namespace

void MainWindow::compareWith() {
    if (scanning_ || activeDocument() == nullptr) {
        return;
    }
    compare::CompareRequest request;
    request.newExport.path = context_.session.databasePath;
    const QString folder = QFileInfo(QString::fromStdString(request.newExport.path)).absolutePath();
    request.oldExport.path = context_.desktop.chooseFileToOpen(
        this, {{"Data Base Files (*.qor)", "*.qor"}}, "Compare With an Older Data Base File...",
        folder.toStdString(), "qor");
    if (request.oldExport.path.empty()) {
        return;
    }
    const bool readable = runStep(context_.boxes, kModule, kProcedure, [&] {
        for (compare::ExportSide* side : {&request.oldExport, &request.newExport}) {
            platform::refuseSpecialFile(side->path, "database file");
            scan::checkExportFileReadable(side->path);
        }
    });
    if (!readable) {
        return;
    }
    for (compare::ExportSide* side : {&request.oldExport, &request.newExport}) {
        side->node = scan::readNodeInfo(side->path, {}, context_.boxes);
    }
    request.pass.threads = scan::defaultScanThreads();
    const DateTime started = context_.clock.now();
    std::unique_ptr<const compare::Comparison> comparison = runComparison(request);
    if (comparison != nullptr && !closeAfterScan_) {
        scan::reportCutLines(context_.boxes, request.oldExport.path, comparison->oldCutLines);
        scan::reportCutLines(context_.boxes, request.newExport.path, comparison->newCutLines);
        showComparison(std::move(comparison), {request.oldExport.path, request.newExport.path,
                                               formatDashedDate(started, context_.session.months) +
                                                   " " + formatTime(started)});
    }
    if (closeAfterScan_) {
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

std::unique_ptr<const compare::Comparison> MainWindow::runComparison(
    const compare::CompareRequest& request) {
    // A comparison holds the window as a scan does: one at a time, Escape or Cancel stop it.
    setScanning(true);
    cancel_ = false;
    progress_->setScanning(true);
    ScanDisplay display(context_.boxes, *statusBar_, *progress_);
    std::unique_ptr<const compare::Comparison> comparison;
    const std::exception_ptr error = runOffThread(
        [&](UserInterface& ui) {
            ui.setStatus("Comparing the two exports...");
            ui.showProgressWindow(true);
            compare::UiCompareMonitor monitor(ui);
            try {
                comparison = std::make_unique<compare::Comparison>(
                    compare::compareExports(request, monitor));
            } catch (const compare::CompareCancelled&) {
                // Stopped on request: nothing to show and nothing to say.
            }
        },
        display, cancel_, *this);
    progress_->setScanning(false);
    progress_->hide();
    setScanning(false);
    if (error) {
        runStep(context_.boxes, kModule, kProcedure, [&] { std::rethrow_exception(error); });
    }
    return comparison;
}

void MainWindow::showComparison(std::unique_ptr<const compare::Comparison> comparison,
                                compare::ChangesPageHeading heading) {
    auto* changes = new ComparisonWindow(context_, std::move(comparison), std::move(heading));
    QMdiSubWindow* window = mdiArea_->addSubWindow(changes);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(menuItem("keyCompare")->icon());
    window->setWindowTitle(changes->caption());
    // Filling the frame as the document window does; Window > Tile shows both.
    window->showMaximized();
    mdiArea_->setActiveSubWindow(window);
}

}  // namespace qor::gui
