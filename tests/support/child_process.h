#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace qor::testing {

// Where a child's standard output goes: nowhere, or into a pipe that nobody reads, so that
// every write to it fails (and raises SIGPIPE, set to its default in the child).
enum class ChildOutput { Discarded, ClosedPipe };

// A program whose standard input and error the test holds: for talking to it while
// it runs, and for its own peak memory once it ends.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 ChildOutput output = ChildOutput::Discarded) {
        // The input is a socket so that writing to a program that has ended raises no SIGPIPE.
        int in[2];
        int err[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0 ||
            pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        int out[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        if (output == ChildOutput::ClosedPipe && pipe2(out, O_CLOEXEC) == 0) {
            close(out[0]);
            posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        }
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        std::vector<std::string> texts{program};
        texts.insert(texts.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& text : texts) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        if (out[1] >= 0) {
            close(out[1]);
        }
        close(in[0]);
        close(err[1]);
        in_ = in[1];
        errFd_ = err[0];
    }
    ~ChildProcess() { finish(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads the error stream until it holds `text`; false when the stream ends first.
    bool waitForError(std::string_view text) {
        while (errText_.find(text) == std::string::npos) {
            if (!readError()) {
                return false;
            }
        }
        return true;
    }
    void write(std::string_view text) {
        if (send(in_, text.data(), text.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(text.size())) {
            close(in_);  // the program is gone: finish() tells how it ended
            in_ = -1;
        }
    }
    // Ends the input, reads the rest of the error stream and waits: the exit code, or -1.
    int finish() {
        if (in_ >= 0) {
            close(in_);
            in_ = -1;
        }
        if (errFd_ >= 0) {
            while (readError()) {
            }
            close(errFd_);
            errFd_ = -1;
        }
        if (pid_ > 0) {
            int status = 0;
            rusage usage{};
            if (wait4(pid_, &status, 0, &usage) == pid_) {
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                peakKiB_ = usage.ru_maxrss;
            }
            pid_ = -1;
        }
        return exitCode_;
    }
    void kill(int signal) {
        if (pid_ > 0) {
            ::kill(pid_, signal);
        }
    }
    const std::string& err() const { return errText_; }
    pid_t pid() const { return pid_; }         // until finish()
    long peakKiB() const { return peakKiB_; }  // after finish()

private:
    // A program that says nothing for a minute is taken to hang: it is killed, not waited for.
    bool readError() {
        pollfd ready{errFd_, POLLIN, 0};
        if (errFd_ < 0 || poll(&ready, 1, 60'000) != 1) {
            if (pid_ > 0) {
                ::kill(pid_, SIGKILL);
            }
            return false;
        }
        char chunk[4096];
        const ssize_t got = read(errFd_, chunk, sizeof chunk);
        if (got > 0) {
            errText_.append(chunk, static_cast<std::size_t>(got));
        }
        return got > 0;
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int errFd_ = -1;
    std::string errText_;
    int exitCode_ = -1;
    long peakKiB_ = 0;
};

}  // namespace qor::testing
