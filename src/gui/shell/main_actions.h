#pragma once

#include <array>

#include "gui/shell/recent_files.h"

class QAction;
class QActionGroup;
class QMenu;

namespace qor::gui {

// One QAction per command of the main window, each shared by its menu item and, where it has
// one, its toolbar button, and connected once to the main window's slot of the same name
// (MainWindow::createActions). The actions belong to the main window.
struct MainActions {
    // File
    QAction* open = nullptr;
    QAction* scanFile = nullptr;  // with an open export only
    QAction* compare = nullptr;   // with an open export only
    QAction* openFolder = nullptr;
    QAction* includeSubfolders = nullptr;  // checkable, remembered in the settings
    QMenu* recentMenu = nullptr;           // hidden until a first file is listed
    std::array<QAction*, kRecentSlots> recent{};
    QAction* clearRecent = nullptr;
    QAction* exit = nullptr;
    // Tools
    QAction* options = nullptr;
    QAction* previewSearchStatus = nullptr;
    QAction* statistics = nullptr;
    QAction* previewOutputFiles = nullptr;
    QAction* openResultFolder = nullptr;
    // View
    QAction* toolbar = nullptr;
    QAction* lineNumbers = nullptr;  // checkable, remembered in the settings
    QAction* goToLine = nullptr;     // with an open export only
    QAction* elements = nullptr;     // with an open export only
    // Window: the commands, then a list of the open windows (checked: the active one), made
    // anew each time the menu opens.
    QMenu* windowMenu = nullptr;
    QAction* closeWindow = nullptr;
    QAction* closeAllWindows = nullptr;
    QAction* cascade = nullptr;
    QAction* tileHorizontally = nullptr;
    QAction* tileVertically = nullptr;
    QAction* arrangeIcons = nullptr;
    QAction* nextWindow = nullptr;
    QAction* previousWindow = nullptr;
    // Help
    QAction* helpContents = nullptr;
    QAction* userGuide = nullptr;
    QAction* about = nullptr;
    // Escape, in the main and the progress window: stops the open under way, or the running
    // scan, comparison or loading of elements.
    QAction* cancelScan = nullptr;
    // While a scan or comparison runs, the commands that would start another one, change the
    // file or the options it reads, or read the result folder it writes: disabled as one.
    QActionGroup* waitWhileBusy = nullptr;
};

}  // namespace qor::gui
