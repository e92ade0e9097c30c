#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qor::cli {

// The order in which the exports of one run write their node folders when several are scanned
// at once: exports of the same node folder take their turns in the order they were given, so
// that the last one's results stay, as when they are scanned one after the other. Exports of
// different folders do not wait for each other.
class NodeFolderTurns {
public:
    explicit NodeFolderTurns(std::size_t files) : folders_(files), done_(files, false) {}

    // File `index` is about to write `folder`: waits until every file given before it that
    // writes the same folder is done. Files are begun in their order, so each one before it
    // names its folder or ends soon.
    void waitForTurn(std::size_t index, const std::string& folder);
    // File `index` is done, whether it got to write or not.
    void done(std::size_t index);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<std::string>> folders_;  // known once each file names it
    std::vector<bool> done_;
};

}  // namespace qor::cli
