#include "core/platform/stop_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace qor::platform {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing but state of static duration: the one place that is so.
// The signal's number, and a pipe that becomes readable with it (so that a wait for input can
// watch for it without a gap between looking at the number and starting to wait).
std::atomic<int> receivedSignal{0};
std::atomic<int> wakeRead{-1};
std::atomic<int> wakeWrite{-1};
static_assert(std::atomic<int>::is_always_lock_free, "safe to touch in a signal handler");

extern "C" void askToStop(int signal) {
    int none = 0;
    if (!receivedSignal.compare_exchange_strong(none, signal)) {
        // Asked twice: the person wants it over now.
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    const int saved = errno;
    if (const int wake = wakeWrite.load(); wake >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(wake, "!", 1);
    }
    errno = saved;
}

}  // namespace

struct StopSignals::Previous {
    struct sigaction actions[std::size(kStopSignals)];
    bool installed[std::size(kStopSignals)] = {};
};

StopSignals::StopSignals() : previous_(std::make_unique<Previous>()) {
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead = wake[0];
        wakeWrite = wake[1];
    }
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction action {};
        action.sa_handler = askToStop;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(kStopSignals[i], nullptr, &previous_->actions[i]) == 0 &&
            previous_->actions[i].sa_handler != SIG_IGN) {
            previous_->installed[i] = ::sigaction(kStopSignals[i], &action, nullptr) == 0;
        }
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (previous_->installed[i]) {
            ::sigaction(kStopSignals[i], &previous_->actions[i], nullptr);
        }
    }
    for (std::atomic<int>* end : {&wakeWrite, &wakeRead}) {
        if (const int descriptor = end->exchange(-1); descriptor >= 0) {
            ::close(descriptor);
        }
    }
}

int StopSignals::received() noexcept {
    return receivedSignal.load();
}

std::optional<std::string> StopSignals::readStandardInputLine(std::size_t maxBytes) {
    pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeRead.load(), POLLIN, 0}};
    std::string line;
    for (;;) {
        if (received() != 0) {
            return std::nullopt;
        }
        const int ready = ::poll(watched, watched[1].fd >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (received() != 0) {
            return std::nullopt;
        }
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            return line.empty() ? std::nullopt : std::optional<std::string>(std::move(line));
        }
        if (c == '\n') {
            return line;
        }
        if (line.size() == maxBytes) {
            return std::nullopt;
        }
        line += c;
    }
}

}  // namespace qor::platform
