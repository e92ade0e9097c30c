#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qor::output {

// Applies batches of bytes, in the order they are pushed, on a thread of its own: an output
// whose rows cost much more to write than to read (a workbook's cells) writes them beside the
// other types' outputs instead of queueing behind them on the scan's thread. At most a few
// batches wait, so memory stays bounded whatever the size of the export.
class BatchStrand {
public:
    using Apply = std::function<void(std::string_view)>;

    explicit BatchStrand(Apply apply);
    // Stops at once: batches still waiting are dropped (abandon), then the one being applied
    // is waited for.
    ~BatchStrand();
    BatchStrand(const BatchStrand&) = delete;
    BatchStrand& operator=(const BatchStrand&) = delete;

    // Copies the batch in; waits while the queue is full. Rethrows what an earlier batch threw,
    // after which nothing more is applied.
    void push(std::string_view batch);
    // Waits until every batch is applied and stops the thread; rethrows a failure.
    void drain();
    // Drops the batches still waiting and applies nothing more; the one being applied goes
    // on to its end. Does not wait.
    void abandon() noexcept;

private:
    static constexpr std::size_t kQueuedBatches = 4;

    void work();
    void rethrowFailure();

    Apply apply_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    std::vector<std::string> spare_;  // emptied batches kept for their capacity
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: starts when everything it uses is there
};

}  // namespace qor::output
