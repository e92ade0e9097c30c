#pragma once

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace qor::testing {

// Waits until `ready` holds for the folder tree below `root`, woken by each change below it
// (an entry made, moved in or out, removed or written) to look again: no clock decides. False
// when a minute passes without any change, so that a run that hangs fails the test.
inline bool waitForTree(const std::filesystem::path& root, const std::function<bool()>& ready) {
    const int watcher = inotify_init1(IN_CLOEXEC);
    if (watcher < 0) {
        return false;
    }
    std::set<std::string> watched;
    const auto watchAll = [&] {
        std::error_code ec;
        std::vector<std::filesystem::path> folders{root};
        for (auto entry = std::filesystem::recursive_directory_iterator(root, ec);
             !ec && entry != std::filesystem::recursive_directory_iterator(); entry.increment(ec)) {
            if (entry->is_directory(ec) && !entry->is_symlink(ec)) {
                folders.push_back(entry->path());
            }
        }
        for (const std::filesystem::path& folder : folders) {
            if (watched.insert(folder.string()).second) {
                inotify_add_watch(
                    watcher, folder.c_str(),
                    IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CLOSE_WRITE);
            }
        }
    };
    watchAll();
    bool held = ready();
    while (!held) {
        pollfd event{watcher, POLLIN, 0};
        if (poll(&event, 1, 60'000) != 1) {
            break;
        }
        char events[4096];
        [[maybe_unused]] const ssize_t got = read(watcher, events, sizeof events);
        watchAll();
        held = ready();
    }
    close(watcher);
    return held;
}

}  // namespace qor::testing
