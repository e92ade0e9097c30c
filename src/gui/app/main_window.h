#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/changes_page.h"
#include "core/compare/export_comparison.h"
#include "gui/app/app_context.h"
#include "gui/app/main_menu.h"
#include "gui/app/recent_files.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolBar;

namespace qor::gui {
class OptionsDialog;
class SearchStatusDialog;
}  // namespace qor::gui
namespace qor::gui {
class ProgressWindow;
}

namespace qor::gui {

class DocumentWindow;
class MainStatusBar;

// `frmMain`: the frame of the document window, with the menu, the toolbar, the status bar
// and the recent files. Every command of the program starts here.
class MainWindow : public QMainWindow {
public:
    // The toolbar buttons by index; on the bar, "Compare With..." stands after "Scan File...".
    inline static constexpr std::array<const char*, 7> kToolbarKeys{
        "keyOpen",        "keyScanFile",     "keyOptions", "keyPreviewSearchStatus",
        "keyDBStatistic", "keyShellExecute", "keyCompare"};

    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The three ways of opening an export file, and a dropped file (like the dialog).
    void openWithDialog();
    void openRecentFile(int slot);
    void openByPath(const std::string& path);
    void openDropped(const QString& path);
    // A second launch handed over its file (empty: none): the window comes to the front and,
    // unless a scan is running, opens it.
    void openFromAnotherLaunch(const QString& path);

    void scanFile();
    // Compares the open export, as the newer one, with an older export the user chooses, and
    // shows the changes in a window of their own.
    void compareWith();
    // Stops the running scan or comparison at its next chunk; a scan's statistics then say so.
    void cancelScan();
    // Creates, shows and repaints a document window captioned "Document <n>".
    QMdiSubWindow* newDocumentWindow();

    QAction* menuItem(const QString& key) const { return menu_->item(key); }
    QAction* toolbarButton(int index) const { return toolbarButtons_[index]; }
    QToolBar* toolbar() const { return toolbar_; }
    MainStatusBar& statusBarPanels() const { return *statusBar_; }
    RecentFilesMenu& recentFiles() const { return *recent_; }
    QTimer& tmrSwitchText() const { return *tmrSwitchText_; }
    QMdiArea& documents() const { return *mdiArea_; }
    ProgressWindow& progressWindow() const { return *progress_; }
    // The document window, or null while there is none.
    DocumentWindow* activeDocument() const;
    SearchStatusDialog& searchStatusDialog();
    OptionsDialog& optionsDialog();
    // A scan or a comparison.
    bool scanRunning() const { return scanning_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class OpenFlow { Dialog, RecentFile, CommandLine };

    void buildToolbar();
    void connectCommands();
    void loadPlacement();
    void savePlacement();
    // The commands on the open export: scan and compare.
    void setDocumentCommandsEnabled(bool enabled);
    void setScanning(bool running);

    void openFile(OpenFlow flow, const QString& path);
    void tileHorizontally();
    void tileVertically();
    void tile(Qt::Orientation direction);
    void arrangeIcons();
    void showNodeInformation();

    void startScan();
    // Runs the comparison off this thread; null when it was cancelled or failed (reported).
    std::unique_ptr<const compare::Comparison> runComparison(
        const compare::CompareRequest& request);
    void showComparison(std::unique_ptr<const compare::Comparison> comparison,
                        compare::ChangesPageHeading heading);
    void showOptions();
    void previewSearchStatus();
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
    void showHelp();
    void showDocumentationPage();
    void showAbout();
    void exitProgram();
    void toggleToolbar();
    void switchStatusText();

    AppContext& context_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<RecentFilesMenu> recent_;
    std::array<QAction*, kToolbarKeys.size()> toolbarButtons_{};
    QToolBar* toolbar_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QTimer* tmrSwitchText_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    QPointer<OptionsDialog> options_;
    QPointer<SearchStatusDialog> searchStatus_;
    int documentCounter_ = 0;
    bool scanning_ = false;
    std::atomic<bool> cancel_{false};
    QAction* cancelAction_ = nullptr;
    bool closeAfterScan_ = false;
    bool closing_ = false;
};

}  // namespace qor::gui
