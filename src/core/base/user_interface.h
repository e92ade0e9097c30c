#pragma once

#include <string>
#include <string_view>

namespace qor {

enum class MessageIcon { None, Information, Exclamation };

// Where a question box goes; the overwrite questions sit over the main window, 100 px above centre.
enum class PromptPlacement { Default, OverMainWindow };

struct Prompt {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    PromptPlacement placement = PromptPlacement::Default;
};

struct Message {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
};

// The standard error message: a box titled with the application title whose text is
// the description, CR LF, "in QORReader.<module>.<procedure> " and "at line <line>",
// then the trailer if any.
struct StandardError {
    std::string description;
    std::string module;
    std::string procedure;
    long line = 0;
    std::string trailer{};  // follows "at line <line>" directly (EndExcel's "Numer bledu <n>")
};

// Everything the core needs from a person. The desktop app shows boxes and windows,
// qorscan writes to the terminal, tests script the answers.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual bool askYesNo(const Prompt& prompt) = 0;
    virtual void inform(const Message& message) = 0;
    virtual void reportError(const StandardError& error) = 0;

    // The progress window's status label.
    virtual void setStatus(std::string_view text) = 0;
    // Panel 1 of the main window's status bar.
    virtual void setStatusBarText(std::string_view text) { (void)text; }
    // The progress window is shown for the duration of a scan.
    virtual void showProgressWindow(bool visible) { (void)visible; }
    // The progress bar: shown while a type is read, its value the element headers seen so far.
    virtual void showProgressBar(bool visible) { (void)visible; }
    virtual void setProgress(long long value, long long maximum) = 0;
    // Lets the event loop breathe; called on a timer by long loops, never once per line.
    virtual void yield() = 0;
    // Whether the person asked to stop the scan; polled while it reads.
    virtual bool cancelRequested() { return false; }
};

}  // namespace qor
