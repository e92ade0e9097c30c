#pragma once

#include <string>
#include <string_view>

namespace qor {

enum class MessageIcon { None, Information, Exclamation };

// What a question is about; a shell may show the questions about replacing an existing result
// file where the person is watching the run.
enum class PromptSubject { General, ExistingFile };

struct Prompt {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    PromptSubject subject = PromptSubject::General;
};

struct Message {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
};

// The standard error message: the description, and where it happened: "in
// QORReader.<module>.<procedure> at line <line>", then the trailer if any. A box shows the
// description as its text and the location in its details; a terminal both on one line.
struct StandardError {
    std::string description;
    std::string module;
    std::string procedure;
    long line = 0;
    std::string trailer{};  // follows "at line <line>" directly (EndExcel's "Numer bledu <n>")
};

// An answer that may stand for the questions of the same kind after it.
enum class Answer { Yes, No, YesToAll, NoToAll };

// Everything the core needs from a person. The desktop app shows boxes and windows,
// qorscan writes to the terminal, tests script the answers.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual bool askYesNo(const Prompt& prompt) = 0;
    // A yes/no question that also offers "Yes to All" and "No to All".
    virtual Answer askYesNoForAll(const Prompt& prompt) {
        return askYesNo(prompt) ? Answer::Yes : Answer::No;
    }
    virtual void inform(const Message& message) = 0;
    virtual void reportError(const StandardError& error) = 0;

    // What the run is doing now; each text replaces the one before.
    virtual void setStatus(std::string_view text) = 0;
    // A status that outlasts the run: the output being written, then that the run completed.
    virtual void setLastingStatus(std::string_view text) { (void)text; }
    // A scan or comparison starts (true) or ends (false); its progress shows in between.
    virtual void setRunning(bool running) { (void)running; }
    // Whether setProgress has something to count: from the start of reading to the scan's end.
    virtual void setCounting(bool counting) { (void)counting; }
    virtual void setProgress(long long value, long long maximum) = 0;
    // Whether the person asked to stop the scan; polled while it reads.
    virtual bool cancelRequested() { return false; }
};

}  // namespace qor
