// The compare command: from "Compare With..." to the window of changes.
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/platform/input_file.h"
#include "core/scan/export_encoding.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/line_ceiling.h"
#include "core/scan/node_info.h"
#include "gui/base/background_work.h"
#include "gui/base/widget_helpers.h"
#include "gui/compare/comparison_window.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

// The location of the standard error message for the comparison's errors.
constexpr std::string_view kModule = "frmMain";
constexpr std::string_view kProcedure = "mnuFileCompare_Click";

}  // namespace

void MainWindow::compareWith() {
    if (busy() || activeDocument() == nullptr) {
        return;
    }
    auto request = std::make_shared<compare::CompareRequest>();
    request->newExport.path = context_.session.databasePath;
    const QString folder =
        QFileInfo(QString::fromStdString(request->newExport.path)).absolutePath();
    request->oldExport.path = context_.desktop.chooseFileToOpen(
        this, {{toStdString(tr("Data Base Files (*.qor)")), "*.qor"}},
        toStdString(tr("Compare With an Older Data Base File...")), folder.toStdString(), "qor");
    if (request->oldExport.path.empty()) {
        return;
    }
    const bool readable = runStep(context_.boxes, kModule, kProcedure, [&] {
        for (compare::ExportSide* side : {&request->oldExport, &request->newExport}) {
            platform::refuseSpecialFile(side->path, "database file");
            scan::checkExportFileReadable(side->path);
            side->encoding = decideEncoding(context_.session.options.textEncoding,
                                            scan::readEncodingEvidence(side->path));
        }
    });
    if (!readable) {
        return;
    }
    for (compare::ExportSide* side : {&request->oldExport, &request->newExport}) {
        side->node = scan::readNodeInfo(side->path, {}, context_.boxes, side->encoding.encoding);
        if (side->node.notAnExport) {
            context_.boxes.inform(
                Message{std::string(kApplicationTitle),
                        scan::notAnExportText(side->path, scan::RefusedWork::Comparison),
                        MessageIcon::Exclamation});
            return;
        }
    }
    request->pass.threads = scan::defaultScanThreads();
    const DateTime started = context_.clock.now();

    // A comparison holds the window as a scan does: one at a time, Escape or Cancel stop it.
    setBusy(true);
    progress_->setScanning(true);
    auto comparison = std::make_shared<std::unique_ptr<const compare::Comparison>>();
    work_->start(
        [request, comparison,
         status = toStdString(ProgressWindow::comparingText())](UserInterface& ui) {
            ui.setStatus(status);
            ui.setRunning(true);
            compare::UiCompareMonitor monitor(ui);
            try {
                *comparison = std::make_unique<compare::Comparison>(
                    compare::compareExports(*request, monitor));
            } catch (const compare::CompareCancelled&) {
                // Stopped on request: nothing to show and nothing to say.
            }
        },
        [this, request, comparison, started](std::exception_ptr error) {
            comparisonFinished(std::move(*comparison), *request, started, std::move(error));
        });
}

void MainWindow::comparisonFinished(std::unique_ptr<const compare::Comparison> comparison,
                                    const compare::CompareRequest& request, const DateTime& started,
                                    std::exception_ptr error) {
    progress_->setScanning(false);
    progress_->hide();
    showNodeInformation();  // the status bar showed the comparison's progress
    if (error) {
        runStep(context_.boxes, kModule, kProcedure, [&] { std::rethrow_exception(error); });
    }
    if (comparison != nullptr && busy_ != BusyState::WorkingThenClose) {
        scan::reportCutLines(context_.boxes, request.oldExport.path, comparison->oldCutLines);
        scan::reportCutLines(context_.boxes, request.newExport.path, comparison->newCutLines);
        showComparison(std::move(comparison), {request.oldExport.path, request.newExport.path,
                                               formatDashedDate(started, context_.session.months) +
                                                   " " + formatTime(started)});
    }
    endWork();
}

void MainWindow::showComparison(std::unique_ptr<const compare::Comparison> comparison,
                                compare::ChangesPageHeading heading) {
    auto* changes = new ComparisonWindow(context_, std::move(comparison), std::move(heading));
    QMdiSubWindow* window = mdiArea_->addSubWindow(changes);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(actions_.compare->icon());
    window->setWindowTitle(changes->caption());
    connect(changes, &ComparisonWindow::elementRequested, this, &MainWindow::showElement);
    // Filling the frame as the document window does; Window > Tile shows both.
    window->showMaximized();
    mdiArea_->setActiveSubWindow(window);
}

void MainWindow::showElement(const QString& path, const QByteArray& designation) {
    showDocument(path, [designation](DocumentWindow& document) {
        document.textView().showElement(designation);
    });
}

}  // namespace qor::gui
