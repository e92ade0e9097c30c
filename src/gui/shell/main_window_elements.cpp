// The Elements commands: from "Elements" (the open export) and "Open Folder..." (a plant) to
// the Elements window, loading off this thread; and the jump back to an element's lines.
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <atomic>
#include <memory>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/elements/element_loader.h"
#include "core/options/settings_table.h"
#include "core/scan/node_info.h"
#include "gui/base/background_work.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/elements/elements_window.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmMain";

// Progress as the loaders report it, passed on a thousand times per load at most: every
// report crosses to the user-interface thread. Cancel reaches the loaders through the work's
// own flag, at their next chunk.
class LoadProgress {
public:
    LoadProgress(UserInterface& ui, const std::atomic<bool>& cancel) : ui_(ui), cancel_(cancel) {}

    elements::LoadControl control() {
        return {[this](std::uint64_t done, std::uint64_t total) { report(done, total); }, &cancel_};
    }

private:
    void report(std::uint64_t done, std::uint64_t total) {
        const std::uint64_t permille = total == 0 ? 1000 : done * 1000 / total;
        if (permille != shown_) {
            shown_ = permille;
            ui_.setProgress(static_cast<long long>(done), static_cast<long long>(total));
        }
    }

    UserInterface& ui_;
    const std::atomic<bool>& cancel_;
    std::uint64_t shown_ = ~std::uint64_t{0};
};

}  // namespace

// What a load hands the window: the table, and for a plant the files it left out.
struct LoadedElements {
    std::unique_ptr<elements::ElementTable> table;
    std::vector<elements::SkippedFile> skipped;
    bool plant = false;
    bool noExports = false;  // the folder holds no *.qor file
};

void MainWindow::showElements() {
    if (busy() || activeDocument() == nullptr || context_.session.databasePath.empty()) {
        return;
    }
    const std::string path = context_.session.databasePath;
    if (activeDocument()->node().notAnExport) {
        context_.boxes.inform(Message{std::string(kApplicationTitle),
                                      scan::notAnExportText(path, scan::RefusedWork::Elements),
                                      MessageIcon::Exclamation});
        return;
    }
    // An export has one Elements window: asked again, it comes to the front, loaded as it is.
    const QFileInfo export_(QString::fromStdString(path));
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        auto* open = qobject_cast<ElementsWindow*>(window->widget());
        if (open != nullptr && !open->plant() && QFileInfo(open->source()) == export_) {
            mdiArea_->setActiveSubWindow(window);
            open->focusFilter();
            return;
        }
    }
    loadElements(QString::fromStdString(path), "mnuViewElements_Click",
                 [path](const elements::LoadSettings& settings, elements::LoadControl control,
                        LoadedElements& loaded) {
                     loaded.table = std::make_unique<elements::ElementTable>(
                         elements::loadExport(path, settings, control));
                 });
}

void MainWindow::openFolder() {
    if (busy()) {
        return;
    }
    std::string start = options::settings::kLastPlantFolder.readFrom(context_.store);
    if (start.empty() || !QFileInfo(QString::fromStdString(start)).isDir()) {
        start = context_.session.databasePath.empty()
                    ? QDir::homePath().toStdString()
                    : QFileInfo(QString::fromStdString(context_.session.databasePath))
                          .absolutePath()
                          .toStdString();
    }
    const std::string folder =
        context_.desktop.chooseFolder(this, toStdString(tr("Open the Exports of a Folder")), start);
    if (folder.empty()) {
        return;
    }
    options::settings::kLastPlantFolder.writeTo(context_.store, folder);
    const bool subfolders = actions_.includeSubfolders->isChecked();
    loadElements(QString::fromStdString(folder), "mnuFileOpenFolder_Click",
                 [folder, subfolders](const elements::LoadSettings& settings,
                                      elements::LoadControl control, LoadedElements& loaded) {
                     loaded.plant = true;
                     elements::FolderListing listing =
                         elements::exportsInFolder(folder, subfolders);
                     if (listing.exports.empty() && listing.skipped.empty()) {
                         loaded.noExports = true;
                         return;
                     }
                     elements::PlantLoad load =
                         elements::loadExports(std::move(listing.exports), settings, control);
                     if (load.cancelled) {
                         throw elements::LoadCancelled();
                     }
                     loaded.table = std::make_unique<elements::ElementTable>(std::move(load.table));
                     loaded.skipped = std::move(listing.skipped);
                     loaded.skipped.insert(loaded.skipped.end(),
                                           std::make_move_iterator(load.skipped.begin()),
                                           std::make_move_iterator(load.skipped.end()));
                 });
}

void MainWindow::loadElements(const QString& source, std::string_view procedure,
                              ElementsLoad load) {
    elements::LoadSettings settings;
    settings.encoding = context_.session.options.textEncoding;
    // The labels live in the session; the work holds a copy, whatever the options do meanwhile.
    auto cabinets = std::make_shared<const scan::CabinetLabels>(context_.session.cabinetLabels);
    if (context_.session.options.applyCabinetLabels) {
        settings.cabinets = cabinets.get();
    }
    setBusy(true);
    progress_->setScanning(true);
    auto loaded = std::make_shared<LoadedElements>();
    const QString name = QFileInfo(source).fileName();
    work_->start(
        [settings, cabinets, loaded, load = std::move(load), cancel = &work_->cancelFlag(),
         status = toStdString(tr("Loading the elements of %1...").arg(name))](UserInterface& ui) {
            ui.setStatus(status);
            ui.setRunning(true);
            ui.setCounting(true);
            LoadProgress progress(ui, *cancel);
            try {
                load(settings, progress.control(), *loaded);
            } catch (const elements::LoadCancelled&) {
                // Stopped on request: nothing to show and nothing to say.
                loaded->table.reset();
                loaded->noExports = false;
            }
            ui.setCounting(false);
        },
        [this, source, procedure, loaded](std::exception_ptr error) {
            progress_->setScanning(false);
            progress_->hide();
            if (error) {
                runStep(context_.boxes, kModule, procedure, [&] { std::rethrow_exception(error); });
            } else if (loaded->noExports) {
                context_.boxes.inform(Message{
                    std::string(kApplicationTitle),
                    toStdString(
                        tr("The folder %1 holds no export (*.qor).").arg(shownPath(source))),
                    MessageIcon::Exclamation});
            } else if (loaded->table != nullptr && busy_ != BusyState::WorkingThenClose) {
                showElementsWindow(source, *loaded);
            }
            showNodeInformation();  // the status bar showed the loading's progress
            endWork();
        });
}

void MainWindow::showElementsWindow(const QString& source, LoadedElements& loaded) {
    auto* elementsWindow = new ElementsWindow(context_, std::move(loaded.table), source,
                                              loaded.plant, std::move(loaded.skipped));
    QMdiSubWindow* window = mdiArea_->addSubWindow(elementsWindow);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(actions_.elements->icon());
    window->setWindowTitle(elementsWindow->caption());
    connect(elementsWindow, &ElementsWindow::elementRequested, this, &MainWindow::showElementAt);
    // Filling the frame as the document window does; Window > Tile shows both.
    window->showMaximized();
    mdiArea_->setActiveSubWindow(window);
    elementsWindow->focusFilter();  // a designation typed at once is looked up
}

void MainWindow::showElementAt(const QString& path, qsizetype headerLine) {
    showDocument(path, [headerLine](DocumentWindow& document) {
        document.textView().showElementAt(headerLine);
    });
}

}  // namespace qor::gui
