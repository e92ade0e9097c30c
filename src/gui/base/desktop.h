#pragma once

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

class QDialog;

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
    // could be started: the caller says so (notOpenedText). A start that fails only later (the
    // desktop's opener finds no program for the type) is said by the desktop itself.
    virtual bool openWithApplication(const std::string& path) = 0;

    // Opens a web address (a file:// one for the user guide) in the desktop's browser; false
    // and later failures as above.
    virtual bool openUrl(const std::string& url) = 0;

    // Shows a dialog modally and returns its result code (QDialog::exec()); the window it
    // belongs to has the keyboard again afterwards.
    virtual int runModal(QDialog& dialog) = 0;
};

// Gives the keyboard back, when it ends (a dialog closed for any reason, or an exception), to the
// window that had it when it began: some window managers leave no window active after a modal
// dialog, and the next key (Ctrl+E after Escape, F2 after "OK") would go nowhere until a click.
// With no window active at the start, `opener`'s window takes it. Every modal dialog and file
// dialog of the program runs inside one.
class FocusReturn {
public:
    explicit FocusReturn(const QWidget* opener = nullptr);
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

// "No program could be started to open" `target` (a path, or a web address), for the user to
// open by hand: the target on a line of its own.
std::string notOpenedText(const std::string& target);

// QDialog::exec() inside a FocusReturn whose opener is the dialog's parent.
int execAndReturnFocus(QDialog& dialog);

// The keyboard to `window`, or to the tool window it keeps in front of itself (the progress
// window of a scan a dialog started, so that Escape reaches it). Nothing while another modal
// dialog is up: that one keeps it.
void returnFocus(QWidget* window);

}  // namespace qor::gui
