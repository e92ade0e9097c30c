#pragma once

#include <functional>
#include <memory>

#include <QMessageBox>

#include "core/base/user_interface.h"

class QMessageBox;
class QWidget;

namespace qor::gui {

// The standard error message's box: titled ".QOR Reader", with the error icon, the description
// as its text, where it happened in its details, and OK.
std::unique_ptr<QMessageBox> standardErrorBox(const StandardError& error, QWidget* owner);

// The window a message box belongs to: the one the user is looking at. That is a modal dialog
// when one is up, else a visible tool window of the main window (the progress window, which
// would otherwise cover the box), else the active window, else the main window.
QWidget* messageOwner(QWidget* mainWindow);

// The desktop's message boxes: questions, information and the standard error message,
// owned by the main window once it exists. On a platform without a screen (offscreen,
// minimal) nobody could answer a box, so the text goes to standard error and a question is
// answered No.
class MessageBoxUi : public UserInterface {
public:
    // `owner` yields the window the boxes belong to (may yield null before the main window).
    explicit MessageBoxUi(std::function<QWidget*()> owner = {});

    bool askYesNo(const Prompt& prompt) override;
    Answer askYesNoForAll(const Prompt& prompt) override;
    void inform(const Message& message) override;
    void reportError(const StandardError& error) override;
    void setStatus(std::string_view) override {}
    void setProgress(long long, long long) override {}
    // Long work runs off this thread: nothing here waits for the event loop.

private:
    QWidget* owner() const;
    // Shows the question with `buttons` and returns the button pressed.
    int ask(const Prompt& prompt, QMessageBox::StandardButtons buttons);

    std::function<QWidget*()> owner_;
};

}  // namespace qor::gui
