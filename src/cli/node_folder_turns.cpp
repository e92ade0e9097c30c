#include "cli/node_folder_turns.h"

namespace qor::cli {

void NodeFolderTurns::waitForTurn(std::size_t index, const std::string& folder) {
    std::unique_lock lock(mutex_);
    folders_[index] = folder;
    changed_.notify_all();
    changed_.wait(lock, [&] {
        for (std::size_t earlier = 0; earlier < index; ++earlier) {
            if (!done_[earlier] && (!folders_[earlier] || *folders_[earlier] == folder)) {
                return false;
            }
        }
        return true;
    });
}

void NodeFolderTurns::done(std::size_t index) {
    {
        const std::lock_guard lock(mutex_);
        done_[index] = true;
    }
    changed_.notify_all();
}

}  // namespace qor::cli
