#include "core/output/workbook_saver.h"

#include "core/scan/element_sink.h"

namespace qor::output {

WorkbookSaver::~WorkbookSaver() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();  // a worker finishes the saves handed to it before it stops
    }
}

void WorkbookSaver::save(std::unique_ptr<ElementWorkbook> workbook, scan::ElementType type) {
    waitUntil([this] { return queue_.empty() && busy_ < kWorkers; });
    throwFirstFailure();
    {
        const std::lock_guard lock(mutex_);
        queue_.emplace_back(std::move(workbook), type);
        if (workers_.size() < kWorkers) {
            workers_.emplace_back([this] { work(); });
        }
    }
    changed_.notify_all();
}

void WorkbookSaver::drain() {
    waitUntil([this] { return queue_.empty() && busy_ == 0; });
    throwFirstFailure();
}

template <typename Ready>
void WorkbookSaver::waitUntil(Ready ready) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, ready);
}

// One cause, one message: saves that failed after the first are not reported again.
void WorkbookSaver::throwFirstFailure() {
    std::vector<std::pair<StandardError, scan::ElementType>> failures;
    {
        const std::lock_guard lock(mutex_);
        failures.swap(failures_);
    }
    if (!failures.empty()) {
        throw scan::ReadFailed(failures.front().second, failures.front().first.description);
    }
}

void WorkbookSaver::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
        if (queue_.empty()) {
            return;
        }
        auto [workbook, type] = std::move(queue_.front());
        queue_.pop_front();
        ++busy_;
        lock.unlock();
        std::optional<StandardError> failure = workbook->save();
        workbook.reset();
        lock.lock();
        if (failure) {
            failures_.emplace_back(std::move(*failure), type);
        }
        --busy_;
        changed_.notify_all();
    }
}

}  // namespace qor::output
