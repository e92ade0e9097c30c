#include "core/output/batch_strand.h"

#include <utility>

namespace qor::output {

BatchStrand::BatchStrand(Apply apply) : apply_(std::move(apply)), thread_([this] { work(); }) {}

BatchStrand::~BatchStrand() {
    abandon();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void BatchStrand::abandon() noexcept {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
}

void BatchStrand::push(std::string_view batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueuedBatches || failure_ != nullptr; });
    rethrowFailure();
    std::string copy;
    if (!spare_.empty()) {
        copy = std::move(spare_.back());
        spare_.pop_back();
    }
    copy.assign(batch);
    queue_.push_back(std::move(copy));
    lock.unlock();
    changed_.notify_all();
}

void BatchStrand::drain() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || failure_ != nullptr; });
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    const std::lock_guard lock(mutex_);
    rethrowFailure();
}

void BatchStrand::rethrowFailure() {
    if (failure_ != nullptr) {
        std::rethrow_exception(failure_);
    }
}

void BatchStrand::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
        if (queue_.empty() || failure_ != nullptr) {
            return;
        }
        std::string batch = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        changed_.notify_all();  // room in the queue
        std::exception_ptr failure;
        try {
            apply_(batch);
        } catch (...) {
            // Not swallowed: the scan's thread rethrows it at its next push or drain.
            failure = std::current_exception();
        }
        lock.lock();
        busy_ = false;
        failure_ = failure;
        batch.clear();
        spare_.push_back(std::move(batch));
        changed_.notify_all();
    }
}

}  // namespace qor::output
