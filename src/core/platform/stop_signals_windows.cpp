#include <windows.h>

#include <atomic>
#include <csignal>

#include "core/platform/stop_signals.h"

// The Windows half of the stop signals: Ctrl-C, Ctrl-Break and the console window being closed
// reach the program through the console control handler, on a thread of the system's own.
namespace qor::platform {
namespace {

// A control handler can reach nothing but state of static duration: the one place that is so.
// The number of the matching signal, and the thread waiting for a line of input, whose read
// the handler cancels.
std::atomic<int> receivedSignal{0};
std::atomic<HANDLE> waitingReader{nullptr};

BOOL WINAPI askToStop(DWORD event) {
    const int signal = event == CTRL_C_EVENT       ? SIGINT
                       : event == CTRL_BREAK_EVENT ? SIGBREAK
                                                   : SIGTERM;
    int none = 0;
    if (!receivedSignal.compare_exchange_strong(none, signal)) {
        return FALSE;  // asked twice: the system's own handler ends the program now
    }
    if (const HANDLE reader = waitingReader.load(); reader != nullptr) {
        CancelSynchronousIo(reader);
    }
    // Closing the console ends the program when the handler returns: the run is given the
    // time Windows allows (five seconds) to stop the way Cancel stops it.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        Sleep(5000);
    }
    return TRUE;
}

}  // namespace

struct StopSignals::Previous {
    bool installed = false;
};

StopSignals::StopSignals() : previous_(std::make_unique<Previous>()) {
    previous_->installed = SetConsoleCtrlHandler(askToStop, TRUE) != 0;
}

StopSignals::~StopSignals() {
    if (previous_->installed) {
        SetConsoleCtrlHandler(askToStop, FALSE);
    }
}

int StopSignals::received() noexcept {
    return receivedSignal.load();
}

std::optional<std::string> StopSignals::readStandardInputLine(std::size_t maxBytes) {
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    waitingReader = self;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::optional<std::string> result;
    std::string line;
    for (;;) {
        if (received() != 0) {
            break;
        }
        char c = 0;
        DWORD got = 0;
        const bool read = ReadFile(input, &c, 1, &got, nullptr) != 0;
        if (received() != 0) {
            break;
        }
        if (!read || got == 0) {
            if (!line.empty()) {
                result = std::move(line);
            }
            break;
        }
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();  // a console line ends with CR LF
            }
            result = std::move(line);
            break;
        }
        if (line.size() == maxBytes) {
            break;
        }
        line += c;
    }
    waitingReader = nullptr;
    if (self != nullptr) {
        CloseHandle(self);
    }
    return result;
}

}  // namespace qor::platform
