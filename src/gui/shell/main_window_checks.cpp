// The Checks commands: "Check Export" (the open export) and "Check Folder..." (a plant), the
// loading and the checks off this thread, then the Checks window; and its jump to an element.
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <atomic>
#include <memory>

#include "core/base/standard_error.h"
#include "core/checks/run_checks.h"
#include "core/elements/element_loader.h"
#include "core/options/settings_table.h"
#include "gui/base/background_work.h"
#include "gui/base/widget_helpers.h"
#include "gui/checks/checks_window.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmMain";

// Progress of the loading, passed on a thousand times per load at most: every report crosses
// to the user-interface thread.
class CheckProgress {
public:
    CheckProgress(UserInterface& ui, const std::atomic<bool>& cancel) : ui_(ui), cancel_(cancel) {}

    elements::LoadControl control() {
        return {[this](std::uint64_t done, std::uint64_t total) {
                    const std::uint64_t permille = total == 0 ? 1000 : done * 1000 / total;
                    if (permille != shown_) {
                        shown_ = permille;
                        ui_.setProgress(static_cast<long long>(done),
                                        static_cast<long long>(total));
                    }
                },
                &cancel_};
    }

private:
    UserInterface& ui_;
    const std::atomic<bool>& cancel_;
    std::uint64_t shown_ = ~std::uint64_t{0};
};

}  // namespace

void MainWindow::checkExport() {
    if (busy() || activeDocument() == nullptr || context_.session.databasePath.empty()) {
        return;
    }
    const std::string path = context_.session.databasePath;
    runChecks(QString::fromStdString(path), "mnuToolsCheckExport_Click",
              [path](const elements::LoadSettings& settings, elements::LoadControl control,
                     CheckedExports& checked) {
                  checked.table = std::make_unique<elements::ElementTable>(
                      elements::loadExport(path, settings, control));
              });
}

void MainWindow::checkFolder() {
    if (busy()) {
        return;
    }
    std::string start = options::settings::kLastPlantFolder.readFrom(context_.store);
    if (start.empty() || !QFileInfo(QString::fromStdString(start)).isDir()) {
        start = QDir::homePath().toStdString();
    }
    const std::string folder = context_.desktop.chooseFolder(
        this, toStdString(tr("Check the Exports of a Folder")), start);
    if (folder.empty()) {
        return;
    }
    options::settings::kLastPlantFolder.writeTo(context_.store, folder);
    const bool subfolders = actions_.includeSubfolders->isChecked();
    runChecks(QString::fromStdString(folder), "mnuToolsCheckFolder_Click",
              [folder, subfolders](const elements::LoadSettings& settings,
                                   elements::LoadControl control, CheckedExports& checked) {
                  elements::FolderListing listing = elements::exportsInFolder(folder, subfolders);
                  if (listing.exports.empty() && listing.skipped.empty()) {
                      checked.noExports = true;
                      return;
                  }
                  elements::PlantLoad load =
                      elements::loadExports(std::move(listing.exports), settings, control);
                  if (load.cancelled) {
                      throw elements::LoadCancelled();
                  }
                  checked.table = std::make_unique<elements::ElementTable>(std::move(load.table));
                  checked.skipped = std::move(listing.skipped);
                  checked.skipped.insert(checked.skipped.end(),
                                         std::make_move_iterator(load.skipped.begin()),
                                         std::make_move_iterator(load.skipped.end()));
              });
}

void MainWindow::runChecks(const QString& source, std::string_view procedure, ChecksLoad load) {
    elements::LoadSettings settings;
    settings.encoding = context_.session.options.textEncoding;
    auto checked = std::make_shared<CheckedExports>();
    // The labels of the options, as the scan applies them; the work holds its own copy.
    if (context_.session.options.applyCabinetLabels && !context_.session.cabinetLabels.empty()) {
        checked->cabinets = checks::cabinetSourceOf(context_.session.cabinetLabels, {});
    }
    setBusy(true);
    progress_->setScanning(true);
    const QString name = QFileInfo(source).fileName();
    work_->start(
        [settings, checked, load = std::move(load), cancel = &work_->cancelFlag(),
         loading = toStdString(tr("Loading the elements of %1...").arg(name)),
         checking = toStdString(tr("Checking %1...").arg(name))](UserInterface& ui) {
            ui.setStatus(loading);
            ui.setRunning(true);
            ui.setCounting(true);
            CheckProgress progress(ui, *cancel);
            try {
                load(settings, progress.control(), *checked);
                if (checked->table != nullptr) {
                    ui.setCounting(false);
                    ui.setStatus(checking);
                    const checks::CheckInput input{
                        *checked->table, checked->cabinets ? &*checked->cabinets : nullptr};
                    checked->result = checks::runChecks(input, {}, 0, cancel);
                }
            } catch (const elements::LoadCancelled&) {
                checked->table.reset();  // stopped on request: nothing to show or say
            } catch (const checks::ChecksCancelled&) {
                checked->table.reset();
            }
            ui.setCounting(false);
        },
        [this, source, procedure, checked](std::exception_ptr error) {
            progress_->setScanning(false);
            progress_->hide();
            showNodeInformation();  // the status bar showed the work's progress
            if (error) {
                runStep(context_.boxes, kModule, procedure, [&] { std::rethrow_exception(error); });
            } else if (checked->noExports) {
                context_.boxes.inform(
                    Message{std::string(kApplicationTitle),
                            toStdString(tr("The folder %1 holds no export (*.qor).").arg(source)),
                            MessageIcon::Exclamation});
            } else if (checked->table != nullptr && busy_ != BusyState::WorkingThenClose) {
                auto* checksWindow = new ChecksWindow(context_, std::move(*checked), source);
                QMdiSubWindow* window = mdiArea_->addSubWindow(checksWindow);
                window->setAttribute(Qt::WA_DeleteOnClose);
                window->setWindowTitle(checksWindow->caption());
                connect(checksWindow, &ChecksWindow::elementRequested, this,
                        &MainWindow::showElementAt);
                window->showMaximized();
                mdiArea_->setActiveSubWindow(window);
            }
            endWork();
        });
}

}  // namespace qor::gui
