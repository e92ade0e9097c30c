#pragma once

#include <QMainWindow>
#include <QPointer>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/changes_page.h"
#include "core/compare/export_comparison.h"
#include "core/elements/element_loader.h"
#include "core/output/scan_run.h"
#include "gui/base/app_context.h"
#include "gui/shell/export_opening.h"
#include "gui/shell/main_actions.h"
#include "gui/shell/recent_files.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolBar;

namespace qor::gui {

class BackgroundWork;
struct CheckedExports;
struct LoadedElements;
class DocumentWindow;
class MainStatusBar;
class OptionsDialog;
class ProgressWindow;
class ScanDisplay;
class SearchStatusDialog;

// The application's frame: the document window and the windows of changes, the menu, the
// toolbar and the status bar, and the recent files. Every command of the program starts here,
// each a slot of its own reached through one action (commands()).
//
// A scan or a comparison runs off this window's thread (BackgroundWork) and ends in a slot;
// meanwhile the window is busy(): the commands that must wait are disabled as one, Escape
// cancels, and closing the window cancels the work and closes it when the work has ended.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The three ways of opening an export file, and a dropped file (like the dialog). Each
    // starts reading the file off this window's thread and returns; the window shows it when it
    // is read (openFinished). A newer open cancels one under way.
    void openWithDialog();
    void openRecentFile(int slot);
    void openByPath(const std::string& path);
    void openDropped(const QString& path);
    // A second launch handed over its file (empty: none): the window comes to the front and,
    // unless it is busy, opens it.
    void openFromAnotherLaunch(const QString& path);

    // Starts a scan of the open export, through the search status dialog when the settings ask
    // for it; returns while the scan runs.
    void scanFile();
    // Compares the open export, as the newer one, with an older export the user chooses, and
    // shows the changes in a window of their own; returns while the comparison runs.
    void compareWith();
    // Loads the elements of the open export into an Elements window; returns while they load.
    void showElements();
    // Asks for a folder and loads every export in it (and in its subfolders when Include
    // Subfolders is checked) into one Elements window; returns while they load.
    void openFolder();
    // Checks the open export, or every export of a folder the user chooses (and of its
    // subfolders when Include Subfolders is checked), and shows the findings in a Checks window;
    // returns while the exports load and the checks run.
    void checkExport();
    void checkFolder();
    // Stops the open under way, or the running scan or comparison at its next chunk; a scan's
    // statistics then say so.
    void cancelScan();
    // Creates and shows a document window captioned "Document <n>".
    QMdiSubWindow* newDocumentWindow();

    const MainActions& commands() const { return actions_; }
    QToolBar* toolbar() const { return toolbar_; }
    MainStatusBar& statusBarPanels() const { return *statusBar_; }
    ExportOpener& exportOpener() const { return *opener_; }
    // An export is being read for the document window.
    bool opening() const;
    RecentFilesMenu& recentFiles() const { return *recent_; }
    QTimer& tmrSwitchText() const { return *tmrSwitchText_; }
    QMdiArea& documents() const { return *mdiArea_; }
    ProgressWindow& progressWindow() const { return *progress_; }
    // The current document: the document window last made active, whose export the scan,
    // compare and Elements commands work on and whose node the status bar shows; null while
    // there is none. Several may be open; a jump from a window of changes or an Elements window
    // to another export opens that one beside it without making it current.
    DocumentWindow* activeDocument() const;
    SearchStatusDialog& searchStatusDialog();
    // The options dialog, created when first asked for: it shows the result folder, whose
    // looking up has no place in start-up.
    OptionsDialog& optionsDialog();
    // The stored options into the session, without the dialog (start-up).
    void loadOptions();
    // A scan or a comparison runs, or its results are still being shown.
    bool busy() const { return busy_ != BusyState::Idle; }

signals:
    // A scan or comparison has ended and the window is no longer busy.
    void workFinished();
    // An open has ended: the export shows, or what failed was said, or it was cancelled.
    void openFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class BusyState { Idle, Working, WorkingThenClose };

    void createActions();
    void createMenus();
    void createToolBar();
    void connectActions();
    // The commands on the open export: scan and compare.
    void setDocumentCommandsEnabled(bool enabled);
    void setBusy(bool busy);
    // Ends a scan's or comparison's busy state; closes the window when that was asked for.
    void endWork();

    // beside: for a jump, into a document window of its own beside the current one.
    void openFile(const QString& path, bool beside = false);
    void showOpenProgress(int perMille);
    void exportOpened(const OpenOutcome& outcome);
    // Puts an export read off this thread into the document window and the session.
    void showOpened(OpenedExport& opened);
    void clearRecentFiles();
    // The Window menu: its commands' state follows the open windows; the list of them is
    // made when the menu opens.
    void updateWindowCommands();
    void listWindows();
    // Every window that is not minimised as large as the area less a title bar's height per
    // window in front of it, never less than two thirds of it, the active one in front.
    void cascade();
    void tileHorizontally();
    void tileVertically();
    void tile(Qt::Orientation direction);
    void arrangeIcons();
    // What the active window is about in the status bar: the current document's node, or a
    // plant's folder and counts; nothing without either.
    void showNodeInformation();
    void clearNodeInformation();
    // A document window was activated: it becomes the current document, unless a jump holds it.
    void windowActivated(QMdiSubWindow* window);
    // Makes `document` the current one; the session takes its export unless work is running
    // (then when the work ends).
    void followDocument(DocumentWindow* document);
    void adoptExport(const DocumentWindow& document);
    // A closing current document hands over to the document window active before it.
    void documentClosed(DocumentWindow* document);
    // The document window that shows the export at `path`, or null.
    DocumentWindow* documentOf(const QString& path) const;
    // Puts an export read for a jump into a document window of its own beside the current one,
    // which stays current and keeps the session; `asking` keeps the keyboard.
    DocumentWindow& showOpenedBeside(OpenedExport& opened, QMdiSubWindow* asking);
    // The export into `document`: its text, title and what it keeps of the export.
    void fillDocument(DocumentWindow& document, OpenedExport& opened);
    // What reading the export reported, and that it is no export, said once it shows.
    void reportOpened(const OpenedExport& opened);
    // `document` visible beside the others while `asking` keeps the keyboard.
    void showBeside(DocumentWindow& document, QMdiSubWindow* asking);

    // A file that is no node export is not scanned: one message naming it; true then.
    bool refuseNonExport();
    void startScan();
    // lock: how the node folder's lock is taken (another computer's only when the person agreed).
    void startScan(platform::LockRules lock);
    void scanFinished(std::optional<output::ScanReport> report, std::exception_ptr error);
    void comparisonFinished(std::unique_ptr<const compare::Comparison> comparison,
                            const compare::CompareRequest& request, const DateTime& started,
                            std::exception_ptr error);
    void showComparison(std::unique_ptr<const compare::Comparison> comparison,
                        compare::ChangesPageHeading heading);
    // Shows the document window of the export at `path` and hands it to `then`: at once when
    // one shows that export, else once it is opened. The current document comes to the front
    // with the keyboard; another export stands beside it, opened in a window of its own, while
    // the asking window keeps the keyboard. Nothing while busy, or when it could not be opened.
    void showDocument(const QString& path, std::function<void(DocumentWindow&)> then);
    // Shows the export at `path` (opened unless it is the open one) at the element's first line.
    void showElement(const QString& path, const QByteArray& designation);
    // Shows the export at `path` (opened unless it is the open one) with the lines of the
    // element whose header is line `headerLine` (from 0) selected.
    void showElementAt(const QString& path, qsizetype headerLine);
    void includeSubfolders(bool included);
    // Loading elements holds the window as a scan does: `load` runs off this thread, then an
    // Elements window shows what it loaded from `source` (an export or a folder); what fails
    // is reported with the standard error message of `procedure`.
    using ElementsLoad = std::function<void(const elements::LoadSettings& settings,
                                            elements::LoadControl control, LoadedElements& loaded)>;
    void loadElements(const QString& source, std::string_view procedure, ElementsLoad load);
    void showElementsWindow(const QString& source, LoadedElements& loaded);
    // The Checks commands' work: `load` fills the table off this thread, the checks run on it,
    // then a Checks window shows what they found in `source`.
    using ChecksLoad = std::function<void(const elements::LoadSettings& settings,
                                          elements::LoadControl control, CheckedExports& checked)>;
    void runChecks(const QString& source, std::string_view procedure, ChecksLoad load);
    // Shows the options dialog; true when it was left with "OK" (the edits saved).
    bool showOptions();
    void previewSearchStatus();
    // Every document window shows line numbers or none, as the settings remember.
    void showLineNumbers(bool shown);
    // Asks for a line number and selects that line of the shown export.
    void goToLine();
    void openStatisticsFile();
    void previewOutputFiles();
    // Lets the user choose a file and opens it with the desktop's application for its type.
    void openChosenFile(std::string_view procedure, const std::vector<FileFilter>& filters,
                        const std::string& title, const std::string& folder);
    // Where the results are: the last scan's node folder, else the scan result folder.
    std::string resultFolder() const;
    void openResultFolder();
    // Every failure to start another program is said, never passed over.
    void reportIfNotOpened(bool opened, const std::string& what);
    // Help Contents: the user guide that comes with the program.
    void showUserGuide();
    // ".QOR Reader on the WEB...": the project's web page.
    void showProjectPage();
    void exitProgram();
    void toggleToolbar();
    void switchStatusText();
    void showAbout();

    AppContext& context_;
    MainActions actions_;
    std::unique_ptr<RecentFilesMenu> recent_;
    QToolBar* toolbar_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QTimer* tmrSwitchText_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    QPointer<OptionsDialog> options_;
    // The options were last left with "OK": Search Status then comes back, ready to scan.
    bool optionsSaved_ = false;
    bool optionsLoaded_ = false;  // the session holds the stored options
    QPointer<SearchStatusDialog> searchStatus_;
    std::unique_ptr<ScanDisplay> display_;
    // After the display it shows the work on: goes first.
    std::unique_ptr<BackgroundWork> work_;
    QPointer<DocumentWindow> current_;
    bool holdCurrent_ = false;
    QPointer<QMdiSubWindow> lastActive_;  // a jump opens another export without making it current
    ExportOpener* opener_ = nullptr;
    // What showDocument does once the export it opens is shown, and whether that export goes
    // into a window of its own beside the current document while `askingWindow_` keeps the
    // keyboard.
    QString showAfterOpen_;
    std::function<void(DocumentWindow&)> afterOpen_;
    bool openBeside_ = false;
    QPointer<QMdiSubWindow> askingWindow_;
    int documentCounter_ = 0;
    BusyState busy_ = BusyState::Idle;
    bool closing_ = false;
};

}  // namespace qor::gui
