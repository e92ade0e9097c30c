#include "gui/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include "core/base/standard_error.h"
#include "core/options/settings_table.h"
#include "gui/app/about_box.h"
#include "gui/app/document_window.h"
#include "gui/app/export_text_encoding.h"
#include "gui/app/icons.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/twips.h"
#include "gui/app/window_placement.h"
#include "gui/options/options_dialog.h"
#include "gui/options/search_status_dialog.h"
#include "gui/output/progress_window.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmMain";

std::string title() {
    return std::string(kApplicationTitle);
}

// Commands that would start another scan, change the file it reads or the options it uses.
// Those that read the session's result folder wait too: the scan is writing it.
constexpr std::array<const char*, 13> kScanExclusiveKeys{"keyOpenResultFolder",
                                                         "keyDBStatistic",
                                                         "keyOpen",
                                                         "keyScanFile",
                                                         "keyRecent1",
                                                         "keyRecent2",
                                                         "keyRecent3",
                                                         "keyRecent4",
                                                         "keyRecent5",
                                                         "keyOptions",
                                                         "keyPreviewSearchStatus",
                                                         "keyShellExecute",
                                                         "keyExit"};

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

    menu_ = std::make_unique<MainMenu>(*menuBar());
    std::array<QAction*, kRecentSlots> recentSlots{};
    for (int i = 0; i < kRecentSlots; ++i) {
        recentSlots[i] = menu_->item(QString("keyRecent%1").arg(i + 1));
    }
    recent_ = std::make_unique<RecentFilesMenu>(*menu_->item("keyRecent"), recentSlots);
    menu_->item("keyToolbar")->setChecked(true);
    buildToolbar();
    connectCommands();

    statusBar_ = new MainStatusBar(this);
    setStatusBar(statusBar_);

    tmrSwitchText_ = new QTimer(this);
    tmrSwitchText_->setObjectName("tmrSwitchText");
    tmrSwitchText_->setInterval(7000);
    tmrSwitchText_->setSingleShot(true);
    connect(tmrSwitchText_, &QTimer::timeout, this, [this] { switchStatusText(); });

    progress_ = new ProgressWindow(this);
    // Escape stops a scan from the main window as well as from the progress window.
    cancelAction_ = new QAction("Cancel Scan", this);
    cancelAction_->setObjectName("actCancelScan");
    cancelAction_->setShortcut(Qt::Key_Escape);
    cancelAction_->setShortcutContext(Qt::WindowShortcut);
    cancelAction_->setEnabled(false);
    addAction(cancelAction_);
    progress_->addAction(cancelAction_);
    connect(cancelAction_, &QAction::triggered, this, &MainWindow::cancelScan);
    connect(progress_, &ProgressWindow::cancelRequested, this, &MainWindow::cancelScan);

    // The title bar offers no close button: the program is left through "Exit" (a close
    // request from the session still closes it properly).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);

    setDocumentCommandsEnabled(false);
    menu_->item("keyOpen")->setEnabled(true);
    recent_->load(context_.store);
    loadPlacement();
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()));
    tileHorizontally();
    context_.session.scan.startDateStamp =
        formatDateStamp(context_.clock.now(), context_.session.months);
    statusBar_->setPanelText(1, "For Help, press F1");
}

MainWindow::~MainWindow() {
    // The document windows go first, while the menu they update on closing still exists.
    closing_ = true;
    delete mdiArea_;
}

void MainWindow::buildToolbar() {
    toolbar_ = addToolBar("Toolbar");
    toolbar_->setObjectName("Toolbar");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    const std::array<const char*, kToolbarKeys.size()> tips{
        "Open Data Base File...",
        "Scan Opened File...",
        "Options...",
        "Preview Search Status...",
        "Data Base Element Statistics...",
        "Preview Output Files...",
        "Compare With an Older Data Base File..."};
    const std::array<int, kToolbarKeys.size()> images{1, 2, 3, 4, 5, 10, 11};
    // The commands on the open file first, then the tools.
    for (const int i : {0, 1, 6, -1, 2, 3, 4, 5}) {
        if (i < 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* button = toolbar_->addAction(menuIcon(images[i]), QString::fromLatin1(tips[i]));
        button->setObjectName(QString("Toolbar_%1").arg(i));
        button->setToolTip(QString::fromLatin1(tips[i]));
        toolbarButtons_[i] = button;
    }
}

// One slot per command, connected by type: the menu item and its toolbar button reach the
// same slot. A slot reports what fails with the standard error message itself.
void MainWindow::connectCommands() {
    const auto item = [this](const char* key) { return menu_->item(QString::fromLatin1(key)); };
    connect(item("keyOpen"), &QAction::triggered, this, &MainWindow::openWithDialog);
    connect(item("keyScanFile"), &QAction::triggered, this, &MainWindow::scanFile);
    connect(item("keyCompare"), &QAction::triggered, this, &MainWindow::compareWith);
    connect(item("keyExit"), &QAction::triggered, this, &MainWindow::exitProgram);
    for (int slot = 1; slot <= kRecentSlots; ++slot) {
        connect(menu_->item(QString("keyRecent%1").arg(slot)), &QAction::triggered, this,
                [this, slot] { openRecentFile(slot); });
    }
    connect(item("keyOptions"), &QAction::triggered, this, &MainWindow::showOptions);
    connect(item("keyPreviewSearchStatus"), &QAction::triggered, this,
            &MainWindow::previewSearchStatus);
    connect(item("keyDBStatistic"), &QAction::triggered, this, &MainWindow::openStatisticsFile);
    connect(item("keyShellExecute"), &QAction::triggered, this, &MainWindow::previewOutputFiles);
    connect(item("keyOpenResultFolder"), &QAction::triggered, this, &MainWindow::openResultFolder);
    connect(item("keyToolbar"), &QAction::triggered, this, &MainWindow::toggleToolbar);
    connect(item("keyCascade"), &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
    connect(item("keyHorizontal"), &QAction::triggered, this, &MainWindow::tileHorizontally);
    connect(item("keyVertical"), &QAction::triggered, this, &MainWindow::tileVertically);
    connect(item("keyArangeIcons"), &QAction::triggered, this, &MainWindow::arrangeIcons);
    connect(item("keyHelpContents"), &QAction::triggered, this, &MainWindow::showHelp);
    connect(item("keyApplOnTheWEB"), &QAction::triggered, this, &MainWindow::showDocumentationPage);
    connect(item("keyAbout"), &QAction::triggered, this, &MainWindow::showAbout);

    connect(toolbarButtons_[0], &QAction::triggered, this, &MainWindow::openWithDialog);
    connect(toolbarButtons_[1], &QAction::triggered, this, &MainWindow::scanFile);
    connect(toolbarButtons_[2], &QAction::triggered, this, &MainWindow::showOptions);
    connect(toolbarButtons_[3], &QAction::triggered, this, &MainWindow::previewSearchStatus);
    connect(toolbarButtons_[4], &QAction::triggered, this, &MainWindow::openStatisticsFile);
    connect(toolbarButtons_[5], &QAction::triggered, this, &MainWindow::previewOutputFiles);
    connect(toolbarButtons_[6], &QAction::triggered, this, &MainWindow::compareWith);
}

void MainWindow::setDocumentCommandsEnabled(bool enabled) {
    for (const char* key : {"keyScanFile", "keyCompare"}) {
        menu_->item(QString::fromLatin1(key))->setEnabled(enabled && !scanning_);
    }
    toolbarButtons_[1]->setEnabled(enabled && !scanning_);
    toolbarButtons_[6]->setEnabled(enabled && !scanning_);
}

void MainWindow::setScanning(bool running) {
    // The scan state is shared and not re-entrant: while a scan yields to the event loop,
    // nothing may start another one or change what it reads.
    scanning_ = running;
    for (const char* key : kScanExclusiveKeys) {
        menu_->item(QString::fromLatin1(key))->setEnabled(!running);
    }
    for (int i : {0, 2, 3, 4, 5}) {
        toolbarButtons_[i]->setEnabled(!running);
    }
    cancelAction_->setEnabled(running);
    // The scan and compare commands are there exactly while a document window is.
    setDocumentCommandsEnabled(activeDocument() != nullptr);
}

OptionsDialog& MainWindow::optionsDialog() {
    if (options_.isNull()) {
        options_ = new OptionsDialog(context_.session, context_.store, context_.boxes,
                                     context_.desktop, context_.excel, this);
        options_->onPreviewStatus = [this] {
            searchStatusDialog().prepare(SearchStatusMode::PreviewFromOptions, options_.data());
            context_.desktop.runModal(searchStatusDialog());
        };
    }
    return *options_;
}

void MainWindow::showOptions() {
    OptionsDialog& dialog = optionsDialog();
    context_.desktop.runModal(dialog);
    // Closed through its title bar: the edits are dropped and the record, the columns and
    // the labels return to what the store holds before anything else reads them.
    if (dialog.discarded()) {
        delete options_.data();
        optionsDialog();
    }
}

void MainWindow::previewSearchStatus() {
    searchStatusDialog().prepare(SearchStatusMode::PreviewFromMainWindow);
    context_.desktop.runModal(searchStatusDialog());
}

void MainWindow::openStatisticsFile() {
    openChosenFile("mnuToolsStatistic_Click", {{"Statistic files (*.txt)", "*.txt"}},
                   "Open Statistics File...", resultFolder());
}

void MainWindow::previewOutputFiles() {
    // The workbooks are written as .xlsx, so the Excel entry lists those too.
    openChosenFile("mnuToolsShellExecute_Click",
                   {{"Microsoft Excel Files (*.xls)", "*.xls;*.xlsx"},
                    {"Comma Delimited Files (*.csv)", "*.csv"},
                    {"HTML Document (*.html;*.htm)", "*.html;*.htm"}},
                   "Open File(s) for Preview...", resultFolder());
}

std::string MainWindow::resultFolder() const {
    // The node folder of the last scan; before any, the folder the scans write into.
    const std::string& last = context_.session.scan.resultFolder;
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
        context_.boxes.inform(Message{title(),
                                      "The result folder " + folder + " does not exist yet.",
                                      MessageIcon::Exclamation});
        return;
    }
    reportIfNotOpened(context_.desktop.openWithApplication(folder), folder);
}

void MainWindow::reportIfNotOpened(bool opened, const std::string& what) {
    if (!opened) {
        context_.boxes.inform(Message{title(),
                                      "No application could be started to open " + what + ".",
                                      MessageIcon::Exclamation});
    }
}

void MainWindow::showHelp() {
    // The help file lives in "Help" beside the program's folder.
    const QString helpFile = QDir::cleanPath(context_.programFolder + "/../Help/QORReader.chm");
    if (QFileInfo::exists(helpFile)) {
        reportIfNotOpened(context_.desktop.openWithApplication(helpFile.toStdString()),
                          helpFile.toStdString());
        return;
    }
    // Without the compiled help the user guide that comes with the program stands in.
    if (!context_.documentationPage.isEmpty()) {
        showDocumentationPage();
        return;
    }
    context_.boxes.inform(Message{windowTitle().toStdString(),
                                  "Unable to display Help Contents. There is no *.chm help file "
                                  "in this location.",
                                  MessageIcon::Information});
}

void MainWindow::showDocumentationPage() {
    if (context_.documentationPage.isEmpty()) {
        context_.boxes.inform(Message{title(), "The user guide is not installed with the program.",
                                      MessageIcon::Exclamation});
        return;
    }
    const std::string page = context_.documentationPage.toStdString();
    reportIfNotOpened(context_.desktop.openUrl(page), page);
}

void MainWindow::showAbout() {
    runStep(context_.boxes, kModule, "mnuHelpAbout_Click", [&] {
        AboutBox about(context_.boxes, context_.desktop, this);
        context_.desktop.runModal(about);
    });
}

void MainWindow::toggleToolbar() {
    toolbar_->setVisible(menu_->item("keyToolbar")->isChecked());
    tileHorizontally();
}

void MainWindow::switchStatusText() {
    QCoreApplication::processEvents();
    statusBar_->setPanelText(1, "Data Base file (*.BA) generated with Online Builder on: " +
                                    exportText(context_.session.nodeInfo.generationDate));
    tmrSwitchText_->stop();
}

void MainWindow::tileHorizontally() {
    tile(Qt::Vertical);
}

void MainWindow::tileVertically() {
    tile(Qt::Horizontal);
}

void MainWindow::tile(Qt::Orientation direction) {
    // Tiled horizontally, the windows stand one above the other, each the full width;
    // tiled vertically, side by side, each the full height. Minimised windows stay put.
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (!window->isMinimized()) {
            open << window;
        }
    }
    if (open.isEmpty()) {
        return;
    }
    const QRect area = mdiArea_->viewport()->rect();
    const int count = static_cast<int>(open.size());
    const bool stacked = direction == Qt::Vertical;
    const int step = (stacked ? area.height() : area.width()) / count;
    for (int i = 0; i < count; ++i) {
        open[i]->showNormal();
        open[i]->setGeometry(stacked ? QRect(0, i * step, area.width(), step)
                                     : QRect(i * step, 0, step, area.height()));
    }
}

void MainWindow::arrangeIcons() {
    // Minimised windows line up along the bottom edge, left to right.
    const QRect area = mdiArea_->viewport()->rect();
    int left = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(left, area.height() - size.height());
            left += size.width();
        }
    }
}

void MainWindow::loadPlacement() {
    const WindowPlacement placement = WindowPlacement::readFrom(context_.store);
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect available = shown != nullptr ? shown->availableGeometry() : QRect(0, 0, 800, 600);
    QRect wanted = defaultPlacement(available);
    if (placement.stored) {
        const double perPixel = twipsPerPixel(this);
        wanted = placeOnScreen(
            QRect(twipsToPixels(placement.left, perPixel), twipsToPixels(placement.top, perPixel),
                  twipsToPixels(placement.width, perPixel),
                  twipsToPixels(placement.height, perPixel)),
            available);
    }
    move(wanted.topLeft());
    resize(wanted.size());
    if (placement.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void MainWindow::savePlacement() {
    // A minimised window keeps the placement it had; a maximised one stores its full size.
    if (isMinimized()) {
        return;
    }
    const double perPixel = twipsPerPixel(this);
    WindowPlacement{pixelsToTwips(pos().x(), perPixel),
                    pixelsToTwips(pos().y(), perPixel),
                    pixelsToTwips(width(), perPixel),
                    pixelsToTwips(height(), perPixel),
                    isMaximized(),
                    true}
        .writeTo(context_.store);
}

void MainWindow::exitProgram() {
    options::settings::kFirstInstance.writeTo(context_.store, "1");
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (scanning_) {
        // The scan is on the stack below this event: it stops, and the program ends after it.
        closeAfterScan_ = true;
        cancelScan();
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        savePlacement();
        recent_->save(context_.store);
    }
    event->accept();
    progress_->hide();
    QCoreApplication::quit();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!scanning_ && urls.size() == 1 && urls.first().isLocalFile() &&
        urls.first().toLocalFile().endsWith(".qor", Qt::CaseInsensitive)) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty()) {
        event->acceptProposedAction();
        openDropped(urls.first().toLocalFile());
    }
}

}  // namespace qor::gui
