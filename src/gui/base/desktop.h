#pragma once

#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace qor::gui {

// One entry of an open-file dialog's type list, e.g. {"HTML Document (*.html;*.htm)",
// "*.html;*.htm"}.
struct FileFilter {
    std::string description;
    std::string patterns;  // separated by ";"
};

// What the windows ask of the desktop beyond their own widgets: file dialogs, starting other
// programs and running modal dialogs. The application uses QtDesktop; tests put a scripted
// fake in its place so that nothing waits on a person or starts a program.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The open-file dialog, centred on the screen, titled `title`, starting in `folder`. A
    // typed name without extension gets `defaultSuffix`; a typed name of a file that does not
    // exist is returned as it is. Empty when the user cancels.
    virtual std::string chooseFileToOpen(QWidget* owner, const std::vector<FileFilter>& filters,
                                         const std::string& title, const std::string& folder,
                                         const std::string& defaultSuffix) = 0;

    // The save-file dialog, titled `title`, offering `path` (its folder and name). A typed name
    // without extension gets `defaultSuffix`. It does not ask about replacing an existing file:
    // the caller writes safely and asks itself. Empty when the user cancels.
    virtual std::string chooseFileToSave(QWidget* owner, const std::vector<FileFilter>& filters,
                                         const std::string& title, const std::string& path,
                                         const std::string& defaultSuffix) = 0;

    // The platform's folder dialog (which can make a new folder), starting in `folder`. Empty
    // when the user cancels.
    virtual std::string chooseFolder(QWidget* owner, const std::string& title,
                                     const std::string& folder) = 0;

    // Opens the file with the desktop's default application for its type. False when nothing
    // could be started; callers do not report it.
    virtual bool openWithApplication(const std::string& path) = 0;

    // Opens a web address in the desktop's browser.
    virtual bool openUrl(const std::string& url) = 0;

    // Shows a dialog modally and returns its result code (QDialog::exec()); the window it
    // belongs to has the keyboard again afterwards.
    virtual int runModal(QDialog& dialog) = 0;
};

// QDialog::exec(), then returnFocus.
int execAndReturnFocus(QDialog& dialog);

// The keyboard back to the closed dialog's window, or to the tool window that window keeps in
// front of itself (the progress window of a scan the dialog started, so that Escape reaches
// it): some window managers leave the focus on the hidden dialog, and the next key (F2 after
// "OK") would go nowhere.
void returnFocus(const QDialog& dialog);

}  // namespace qor::gui
