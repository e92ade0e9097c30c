#include "gui/shell/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaObject>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <climits>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/options/settings_table.h"
#include "gui/base/background_work.h"
#include "gui/base/icons.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/options/options_dialog.h"
#include "gui/options/search_status_dialog.h"
#include "gui/scan/progress_window.h"
#include "gui/scan/scan_display.h"
#include "gui/shell/about_box.h"
#include "gui/shell/window_placement.h"

namespace qor::gui {
namespace {

// The location of the standard error message for this window's commands.
constexpr std::string_view kModule = "frmMain";

std::string title() {
    return std::string(kApplicationTitle);
}

}  // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName("frmMain");
    setAcceptDrops(true);
    setWindowIcon(applicationIcon());

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("mdiArea");
    mdiArea_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea_);

    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);
    progress_ = new ProgressWindow(this);
    display_ = std::make_unique<ScanDisplay>(context_.boxes, *statusBar_, *progress_);
    work_ = std::make_unique<BackgroundWork>(*display_);
    opener_ = new ExportOpener(this);
    connect(opener_, &ExportOpener::progress, this, &MainWindow::showOpenProgress);
    connect(opener_, &ExportOpener::finished, this, &MainWindow::exportOpened);

    createActions();
    createMenus();
    createToolBar();
    connectActions();
    recent_ = std::make_unique<RecentFilesMenu>(*actions_.recentMenu, actions_.recent);

    tmrSwitchText_ = new QTimer(this);
    tmrSwitchText_->setObjectName("tmrSwitchText");
    tmrSwitchText_->setInterval(7000);
    tmrSwitchText_->setSingleShot(true);
    connect(tmrSwitchText_, &QTimer::timeout, this, &MainWindow::switchStatusText);

    // The title bar offers no close button: the program is left through "Exit" (a close
    // request from the session still closes it properly).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);

    setDocumentCommandsEnabled(false);
    updateWindowCommands();
    recent_->load(context_.store);
    {
        const QSignalBlocker unchangedSetting(actions_.lineNumbers);
        actions_.lineNumbers->setChecked(
            options::settings::kShowLineNumbers.readBooleanFrom(context_.store).value_or(false));
        const QSignalBlocker unchangedFolderSetting(actions_.includeSubfolders);
        actions_.includeSubfolders->setChecked(
            options::settings::kIncludeSubfolders.readBooleanFrom(context_.store).value_or(false));
    }
    restorePlacement(*this, context_.store);
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
    tileHorizontally();
    context_.session.startDateStamp =
        formatDateStamp(context_.clock.now(), context_.session.months);
    clearNodeInformation();
}

MainWindow::~MainWindow() {
    // The document windows go first, while the actions they update on closing still exist.
    closing_ = true;
    delete mdiArea_;
}

void MainWindow::setDocumentCommandsEnabled(bool enabled) {
    // While the window is busy, the group keeps them disabled whatever is set here.
    actions_.scanFile->setEnabled(enabled);
    actions_.compare->setEnabled(enabled);
    actions_.goToLine->setEnabled(enabled);
    actions_.elements->setEnabled(enabled);
    actions_.checkExport->setEnabled(enabled);
}

void MainWindow::setBusy(bool busy) {
    // The session is the work's until it ends: nothing may start other work, change the file
    // or the options it reads, or read the folder it writes.
    busy_ = busy ? BusyState::Working : BusyState::Idle;
    if (busy) {
        opener_->cancel();  // the work reads the session, which an open would change
    }
    actions_.waitWhileBusy->setEnabled(!busy);
    actions_.cancelScan->setEnabled(busy);
}

void MainWindow::endWork() {
    const bool close = busy_ == BusyState::WorkingThenClose;
    setBusy(false);
    // A document made current meanwhile is the session's export from now on.
    if (current_ != nullptr) {
        adoptExport(*current_);
    }
    emit workFinished();
    if (close) {
        this->close();
    }
}

void MainWindow::cancelScan() {
    if (!busy() && opener_->cancel()) {
        return;
    }
    // Once the progress window has gone, the outputs are being saved and nothing stops any more.
    if (work_->cancel() && progress_->isVisible()) {
        display_->setStatus(toStdString(ProgressWindow::cancellingText()));
    }
}

void MainWindow::loadOptions() {
    OptionsDialog::loadRecord(context_.session, context_.store, context_.boxes);
    optionsLoaded_ = true;
}

OptionsDialog& MainWindow::optionsDialog() {
    if (options_.isNull()) {
        options_ = new OptionsDialog(context_.session, context_.store, context_.boxes,
                                     context_.desktop, this,
                                     optionsLoaded_ ? OptionsDialog::Record::KeepSession
                                                    : OptionsDialog::Record::LoadFromStore);
        optionsLoaded_ = true;
        options_->onPreviewStatus = [this] {
            searchStatusDialog().prepare(SearchStatusMode::PreviewFromOptions, options_.data());
            context_.desktop.runModal(searchStatusDialog());
        };
    }
    return *options_;
}

bool MainWindow::showOptions() {
    OptionsDialog& dialog = optionsDialog();
    const bool saved = context_.desktop.runModal(dialog) == QDialog::Accepted;
    // Closed through its title bar: the edits are dropped and the record, the columns and
    // the labels return to what the store holds before anything else reads them.
    if (dialog.discarded()) {
        delete options_.data();
        loadOptions();
    }
    // The text encoding may have been chosen anew: the open exports are read the new way.
    for (DocumentWindow* document : mdiArea_->findChildren<DocumentWindow*>()) {
        if (!document->path().isEmpty()) {
            document->textView().setTextEncoding(
                decideEncoding(context_.session.options.textEncoding, document->evidence()));
        }
    }
    showNodeInformation();
    return saved;
}

void MainWindow::showLineNumbers(bool shown) {
    options::settings::kShowLineNumbers.writeBooleanTo(context_.store, shown);
    for (DocumentWindow* document : mdiArea_->findChildren<DocumentWindow*>()) {
        document->textView().setLineNumbersShown(shown);
    }
}

void MainWindow::includeSubfolders(bool included) {
    options::settings::kIncludeSubfolders.writeBooleanTo(context_.store, included);
}

void MainWindow::goToLine() {
    DocumentWindow* document = activeDocument();
    if (document == nullptr || document->textView().lineCount() == 0) {
        return;
    }
    ExportTextView& view = document->textView();
    const int last = static_cast<int>(std::min<qsizetype>(view.lineCount(), INT_MAX));
    bool ok = false;
    const FocusReturn keyboard(this);
    const int line = QInputDialog::getInt(
        this, tr("Go to Line"), tr("Line (1 to %1):").arg(last),
        static_cast<int>(std::min<qsizetype>(view.cursorLine() + 1, last)), 1, last, 1, &ok);
    if (ok) {
        view.goToLine(line - 1);
        view.setFocus();
    }
}

void MainWindow::previewSearchStatus() {
    searchStatusDialog().prepare(SearchStatusMode::PreviewFromMainWindow);
    context_.desktop.runModal(searchStatusDialog());
}

void MainWindow::openStatisticsFile() {
    openChosenFile("mnuToolsStatistic_Click",
                   {{toStdString(tr("Statistic files (*.txt)")), "*.txt"}},
                   toStdString(tr("Open Statistics File...")), resultFolder());
}

void MainWindow::previewOutputFiles() {
    // The workbooks are written as .xlsx, so the Excel entry lists those too.
    std::vector<FileFilter> filters{
        {toStdString(tr("Microsoft Excel Files (*.xls)")), "*.xls;*.xlsx"},
        {toStdString(tr("Comma Delimited Files (*.csv)")), "*.csv"},
        {toStdString(tr("HTML Document (*.html;*.htm)")), "*.html;*.htm"}};
    // The dialog opens on the files the scans write now.
    switch (context_.session.options.outputMode) {
        case options::OutputMode::CsvFilesOnly:
            std::rotate(filters.begin(), filters.begin() + 1, filters.begin() + 2);
            break;
        case options::OutputMode::HtmlReport:
            std::rotate(filters.begin(), filters.begin() + 2, filters.end());
            break;
        case options::OutputMode::ExcelFilesOnly:
        case options::OutputMode::None:
            break;
    }
    filters.push_back({toStdString(tr("All Files (*)")), "*"});
    openChosenFile("mnuToolsShellExecute_Click", filters,
                   toStdString(tr("Open File(s) for Preview...")), resultFolder());
}

std::string MainWindow::resultFolder() const {
    // The node folder of the last scan; before any, the folder the scans write into.
    const std::string& last = context_.session.lastScan.resultFolder;
    if (!last.empty() && QFileInfo(QString::fromStdString(last)).isDir()) {
        return last;
    }
    return context_.session.options.scanResultFolderPath;
}

void MainWindow::openChosenFile(std::string_view procedure, const std::vector<FileFilter>& filters,
                                const std::string& title, const std::string& folder) {
    runStep(context_.boxes, kModule, procedure, [&] {
        const std::string path =
            context_.desktop.chooseFileToOpen(this, filters, title, folder, "qor");
        if (path.empty()) {
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool opened = context_.desktop.openWithApplication(path);
        QApplication::restoreOverrideCursor();
        reportIfNotOpened(opened, path);
    });
}

void MainWindow::openResultFolder() {
    const std::string folder = resultFolder();
    if (!QFileInfo(QString::fromStdString(folder)).isDir()) {
        context_.boxes.inform(Message{
            title(), fillIn(toStdString(tr("The result folder %1 does not exist yet.")), {folder}),
            MessageIcon::Exclamation});
        return;
    }
    reportIfNotOpened(context_.desktop.openWithApplication(folder), folder);
}

void MainWindow::reportIfNotOpened(bool opened, const std::string& what) {
    if (!opened) {
        context_.boxes.inform(Message{title(), notOpenedText(what), MessageIcon::Exclamation});
    }
}

void MainWindow::showUserGuide() {
    if (context_.documentationPage.isEmpty()) {
        context_.boxes.inform(
            Message{title(), toStdString(tr("The user guide is not installed with the program.")),
                    MessageIcon::Exclamation});
        return;
    }
    const std::string page = context_.documentationPage.toStdString();
    // Said as the file to open by hand.
    const QUrl address(context_.documentationPage);
    reportIfNotOpened(context_.desktop.openUrl(page),
                      address.isLocalFile() ? address.toLocalFile().toStdString() : page);
}

void MainWindow::showProjectPage() {
    const std::string page = context_.projectPage.toStdString();
    reportIfNotOpened(context_.desktop.openUrl(page), page);
}

void MainWindow::showAbout() {
    runStep(context_.boxes, kModule, "mnuHelpAbout_Click", [&] {
        AboutBox about(context_.desktop, this);
        context_.desktop.runModal(about);
    });
}

void MainWindow::toggleToolbar() {
    // The document windows keep their places: the frame only grows or shrinks by the bar.
    toolbar_->setVisible(actions_.toolbar->isChecked());
}

void MainWindow::switchStatusText() {
    showNodeInformation();
    tmrSwitchText_->stop();
}

void MainWindow::exitProgram() {
    options::settings::kFirstInstance.writeIntegerTo(context_.store, 1);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (busy()) {
        // The work stops, and its end closes the window (endWork).
        busy_ = BusyState::WorkingThenClose;
        cancelScan();
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        savePlacement(*this, context_.store);
        recent_->save(context_.store);
    }
    event->accept();
    progress_->hide();
    QCoreApplication::quit();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!busy() && urls.size() == 1 && urls.first().isLocalFile() &&
        urls.first().toLocalFile().endsWith(".qor", Qt::CaseInsensitive)) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty()) {
        event->acceptProposedAction();
        // Opened once the drop has returned: the program the file came from waits for the
        // drop to end, and must not wait for a message box here or for a large file.
        QMetaObject::invokeMethod(
            this, [this, path = urls.first().toLocalFile()] { openDropped(path); },
            Qt::QueuedConnection);
    }
}

}  // namespace qor::gui
