#pragma once

#include <string>
#include <string_view>

namespace qor::cli {

// How result lines are written.
enum class ResultLines {
    Shown,  // fit for a terminal line (terminalText), wherever they go
    Data,   // bytes, when standard output is no terminal: a file or a pipe; on a terminal,
            // escaped so that every escape can be undone (backslashes doubled)
};

// Results go to standard output, or to a buffer for a file scanned alongside others; a failed
// write to standard output is an error of the run.
class ResultPrinter {
public:
    explicit ResultPrinter(std::string* buffer = nullptr, ResultLines lines = ResultLines::Shown);

    // One line, written as the printer's ResultLines say.
    void line(std::string_view text);
    // Empty when everything printed reached its destination.
    static std::string failure();

private:
    std::string* buffer_;
    bool raw_;
    bool doubleBackslashes_;
};

class TerminalUi;

// The exit statuses of a command that prints what it finds.
struct SearchStatuses {
    int found;
    int nothingFound;
    int error;
};

// How such a command ends: a failed write of its results is said; then a stop signal, an error
// said on the way, or whether it found something decides the exit status.
int searchExitStatus(TerminalUi& ui, bool found, const SearchStatuses& statuses);

}  // namespace qor::cli
