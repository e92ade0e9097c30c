// The main window's commands: one action each, in the menus and on the toolbar, connected once.
#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "gui/base/icons.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

// An action with its shortcut, which works wherever the application has the focus.
QAction* newAction(QObject* owner, const QString& text, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, owner);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    return action;
}

// A command on the toolbar too: its picture there, and a tooltip that says what it does.
QAction* withPicture(QAction* action, CommandIcon icon, const QString& toolTip = {}) {
    action->setIcon(commandIcon(icon));
    if (!toolTip.isEmpty()) {
        action->setToolTip(toolTip);
    }
    return action;
}

}  // namespace

void MainWindow::createActions() {
    MainActions& a = actions_;
    a.open = withPicture(newAction(this, tr("&Open File..."), QKeySequence(Qt::CTRL | Qt::Key_O)),
                         CommandIcon::Open, tr("Open Data Base File..."));
    a.scanFile = withPicture(newAction(this, tr("&Scan File..."), QKeySequence(Qt::Key_F2)),
                             CommandIcon::Scan, tr("Scan Opened File..."));
    a.compare = withPicture(newAction(this, tr("&Compare With...")), CommandIcon::Compare,
                            tr("Compare With an Older Data Base File..."));
    a.openFolder = withPicture(newAction(this, tr("Open Fol&der...")), CommandIcon::OpenFolder,
                               tr("Open the Exports of a Folder in the Elements Window..."));
    a.includeSubfolders = newAction(this, tr("Include Su&bfolders"));
    a.includeSubfolders->setCheckable(true);
    for (QAction*& slot : a.recent) {
        slot = newAction(this, QString());
    }
    a.clearRecent = newAction(this, tr("&Clear List"));
    // Ctrl+Q as on every desktop; Alt+Q as the program always had it.
    a.exit = newAction(this, tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    a.exit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_Q)});
    a.options = withPicture(newAction(this, tr("&Options..."), QKeySequence(Qt::Key_F3)),
                            CommandIcon::Options, tr("Options..."));
    a.previewSearchStatus =
        withPicture(newAction(this, tr("&Preview Search Status..."), QKeySequence(Qt::Key_F4)),
                    CommandIcon::PreviewSearchStatus, tr("Preview Search Status..."));
    a.statistics = withPicture(
        newAction(this, tr("&DataBase Element Statistics..."), QKeySequence(Qt::Key_F5)),
        CommandIcon::Statistics, tr("Data Base Element Statistics..."));
    a.previewOutputFiles =
        withPicture(newAction(this, tr("Preview O&utput Files..."), QKeySequence(Qt::Key_F6)),
                    CommandIcon::PreviewOutputFiles, tr("Preview Output Files..."));
    a.openResultFolder = newAction(this, tr("Open &Result Folder"));
    a.checkExport = newAction(this, tr("Chec&k Export"), QKeySequence(Qt::CTRL | Qt::Key_K));
    a.checkExport->setToolTip(tr("Check the opened file for mistakes"));
    a.checkFolder = newAction(this, tr("Check &Folder..."));
    a.checkFolder->setToolTip(tr("Check every export of a folder, as one plant, for mistakes"));
    a.toolbar = newAction(this, tr("&Toolbar"));
    a.toolbar->setCheckable(true);
    a.toolbar->setChecked(true);
    a.lineNumbers = newAction(this, tr("Line &Numbers"));
    a.lineNumbers->setCheckable(true);
    a.goToLine = newAction(this, tr("&Go to Line..."), QKeySequence(Qt::CTRL | Qt::Key_G));
    a.elements = withPicture(newAction(this, tr("&Elements"), QKeySequence(Qt::CTRL | Qt::Key_E)),
                             CommandIcon::Elements, tr("Elements of the Opened File"));
    a.closeWindow = newAction(this, tr("Cl&ose"));
    a.closeAllWindows = newAction(this, tr("Close A&ll"));
    a.cascade = newAction(this, tr("&Cascade"));
    a.tileHorizontally = newAction(this, tr("Tile &Horizontal"));
    a.tileVertically = newAction(this, tr("Tile &Vertical"));
    a.arrangeIcons = newAction(this, tr("&Arrange Icons"));
    a.nextWindow = newAction(this, tr("Ne&xt"), QKeySequence::NextChild);
    a.previousWindow = newAction(this, tr("&Previous"), QKeySequence::PreviousChild);
    // The menu shows the first shortcut: the keys a person presses, where Qt's own list starts
    // with the key Shift+Tab sends (Backtab). A shortcut on Tab also takes that key.
    QList<QKeySequence> previous{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)};
    previous += QKeySequence::keyBindings(QKeySequence::PreviousChild);
    a.previousWindow->setShortcuts(previous);
    a.helpContents = withPicture(newAction(this, tr("Help &Contents..."), QKeySequence(Qt::Key_F1)),
                                 CommandIcon::HelpContents);
    a.projectPage =
        withPicture(newAction(this, tr(".QOR Reader on the &WEB...")), CommandIcon::UserGuide);
    // A build that names no web page has nothing to show there: the guide is Help Contents.
    a.projectPage->setVisible(!context_.projectPage.isEmpty());
    a.about = newAction(this, tr("&About .QOR Reader..."));

    // Escape stops the work from the main window as well as from the progress window.
    a.cancelScan = new QAction(tr("Cancel Scan"), this);
    a.cancelScan->setShortcut(Qt::Key_Escape);
    a.cancelScan->setShortcutContext(Qt::WindowShortcut);
    a.cancelScan->setEnabled(false);
    addAction(a.cancelScan);
    progress_->addAction(a.cancelScan);

    // Those that read the session's result folder wait too: the scan is writing it.
    a.waitWhileBusy = new QActionGroup(this);
    a.waitWhileBusy->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* action :
         {a.open, a.scanFile, a.compare, a.openFolder, a.includeSubfolders, a.elements, a.exit,
          a.options, a.previewSearchStatus, a.statistics, a.previewOutputFiles, a.openResultFolder,
          a.checkExport, a.checkFolder}) {
        a.waitWhileBusy->addAction(action);
    }
    for (QAction* slot : a.recent) {
        a.waitWhileBusy->addAction(slot);
        slot->setVisible(false);  // until a file is listed there
    }
}

void MainWindow::createMenus() {
    MainActions& a = actions_;
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addActions({a.open, a.scanFile, a.compare});
    file->addSeparator();
    file->addActions({a.openFolder, a.includeSubfolders});
    file->addSeparator();
    a.recentMenu = file->addMenu(commandIcon(CommandIcon::RecentFiles), tr("Recent &Files"));
    a.recentMenu->menuAction()->setVisible(false);
    for (QAction* slot : a.recent) {
        a.recentMenu->addAction(slot);
    }
    a.recentMenu->addSeparator();
    a.recentMenu->addAction(a.clearRecent);
    file->addAction(a.exit);

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->addActions(
        {a.options, a.previewSearchStatus, a.statistics, a.previewOutputFiles, a.openResultFolder});
    tools->addSeparator();
    tools->addActions({a.checkExport, a.checkFolder});
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(a.toolbar);
    view->addSeparator();
    view->addActions({a.lineNumbers, a.goToLine});
    view->addSeparator();
    view->addAction(a.elements);
    a.windowMenu = menuBar()->addMenu(tr("&Window"));
    a.windowMenu->addActions({a.closeWindow, a.closeAllWindows});
    a.windowMenu->addSeparator();
    a.windowMenu->addActions({a.cascade, a.tileHorizontally, a.tileVertically, a.arrangeIcons});
    a.windowMenu->addSeparator();
    a.windowMenu->addActions({a.nextWindow, a.previousWindow});

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(a.helpContents);
    help->addSeparator();
    help->addAction(a.projectPage);
    help->addSeparator();
    help->addAction(a.about);
}

void MainWindow::createToolBar() {
    const MainActions& a = actions_;
    toolbar_ = addToolBar(tr("Toolbar"));
    toolbar_->setObjectName("Toolbar");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    // The commands on the open file first, then the tools.
    toolbar_->addActions({a.open, a.scanFile, a.compare, a.elements});
    toolbar_->addSeparator();
    toolbar_->addAction(a.openFolder);
    toolbar_->addSeparator();
    toolbar_->addActions({a.options, a.previewSearchStatus, a.statistics, a.previewOutputFiles});
}

// One slot per command, connected by type. A slot reports what fails with the standard error
// message itself.
void MainWindow::connectActions() {
    const MainActions& a = actions_;
    connect(a.open, &QAction::triggered, this, &MainWindow::openWithDialog);
    connect(a.scanFile, &QAction::triggered, this, &MainWindow::scanFile);
    connect(a.compare, &QAction::triggered, this, &MainWindow::compareWith);
    connect(a.openFolder, &QAction::triggered, this, &MainWindow::openFolder);
    connect(a.includeSubfolders, &QAction::toggled, this, &MainWindow::includeSubfolders);
    connect(a.elements, &QAction::triggered, this, &MainWindow::showElements);
    for (int slot = 1; slot <= kRecentSlots; ++slot) {
        connect(a.recent[static_cast<std::size_t>(slot - 1)], &QAction::triggered, this,
                [this, slot] { openRecentFile(slot); });
    }
    connect(a.clearRecent, &QAction::triggered, this, &MainWindow::clearRecentFiles);
    connect(a.exit, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(a.options, &QAction::triggered, this, &MainWindow::showOptions);
    connect(a.previewSearchStatus, &QAction::triggered, this, &MainWindow::previewSearchStatus);
    connect(a.statistics, &QAction::triggered, this, &MainWindow::openStatisticsFile);
    connect(a.previewOutputFiles, &QAction::triggered, this, &MainWindow::previewOutputFiles);
    connect(a.openResultFolder, &QAction::triggered, this, &MainWindow::openResultFolder);
    connect(a.checkExport, &QAction::triggered, this, &MainWindow::checkExport);
    connect(a.checkFolder, &QAction::triggered, this, &MainWindow::checkFolder);
    connect(a.toolbar, &QAction::triggered, this, &MainWindow::toggleToolbar);
    connect(a.lineNumbers, &QAction::toggled, this, &MainWindow::showLineNumbers);
    connect(a.goToLine, &QAction::triggered, this, &MainWindow::goToLine);
    connect(a.closeWindow, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
    connect(a.closeAllWindows, &QAction::triggered, mdiArea_, &QMdiArea::closeAllSubWindows);
    connect(a.cascade, &QAction::triggered, this, &MainWindow::cascade);
    connect(a.tileHorizontally, &QAction::triggered, this, &MainWindow::tileHorizontally);
    connect(a.tileVertically, &QAction::triggered, this, &MainWindow::tileVertically);
    connect(a.arrangeIcons, &QAction::triggered, this, &MainWindow::arrangeIcons);
    connect(a.nextWindow, &QAction::triggered, mdiArea_, &QMdiArea::activateNextSubWindow);
    connect(a.previousWindow, &QAction::triggered, mdiArea_, &QMdiArea::activatePreviousSubWindow);
    connect(a.windowMenu, &QMenu::aboutToShow, this, &MainWindow::listWindows);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::updateWindowCommands);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::windowActivated);
    connect(a.helpContents, &QAction::triggered, this, &MainWindow::showUserGuide);
    connect(a.projectPage, &QAction::triggered, this, &MainWindow::showProjectPage);
    connect(a.about, &QAction::triggered, this, &MainWindow::showAbout);
    connect(a.cancelScan, &QAction::triggered, this, &MainWindow::cancelScan);
    connect(progress_, &ProgressWindow::cancelRequested, this, &MainWindow::cancelScan);
}

}  // namespace qor::gui
