#include "core/scan/parallel_pass.h"

#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "core/scan/export_chunks.h"

namespace qor::scan {
namespace {

EncodingEvidence evidenceOf(std::string_view bytes) {
    EncodingEvidence evidence;
    evidence.add(bytes);
    return evidence;
}

// One pass on the calling thread: read, parse, deliver, chunk after chunk.
void readOnOneThread(ExportChunks& chunks, const ElementParser& parser,
                     const ChunkDelivery& deliver) {
    ExportChunk chunk;
    ChunkResult result;
    OpenElements carried;
    bool carrying = false;
    while (chunks.next(chunk)) {
        const bool keepOpen = !chunk.endsFile && !chunk.endsClean;
        parser.parse(chunk.bytes, carrying ? &carried : nullptr, keepOpen, result);
        result.text = evidenceOf(chunk.bytes);
        carrying = keepOpen;
        if (carrying) {
            carried = std::move(result.openAtEnd);
        }
        deliver(result, chunk.fileOffset, chunks.fileSize());
    }
}

// Chunks are read in order by the calling thread, parsed by the workers in any order (a chunk
// that does not start clean waits for the elements its predecessor left open) and delivered in
// order by the calling thread again. A ring of slots bounds what is held at once.
class Pipeline {
public:
    Pipeline(ExportChunks& chunks, const ElementParser& parser, std::size_t threads)
        : chunks_(chunks), parser_(parser), slots_(2 * threads + 2) {
        workers_.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i) {
            workers_.emplace_back([this] { work(); });
        }
    }
    ~Pipeline() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
    }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    void run(const ChunkDelivery& deliver) {
        std::size_t read = 0;
        std::size_t delivered = 0;
        bool allRead = false;
        for (;;) {
            // Read ahead while a slot is free.
            while (!allRead && read - delivered < slots_.size()) {
                Slot& slot = slotOf(read);
                if (!chunks_.next(slot.chunk)) {
                    allRead = true;
                    break;
                }
                {
                    const std::lock_guard lock(mutex_);
                    slot.state = State::Read;
                }
                changed_.notify_all();
                ++read;
            }
            if (delivered == read) {
                return;  // everything read has been delivered
            }
            Slot& next = slotOf(delivered);
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return next.state == State::Parsed || failure_; });
                if (failure_) {
                    std::rethrow_exception(failure_);
                }
            }
            deliver(next.result, next.chunk.fileOffset, chunks_.fileSize());
            {
                const std::lock_guard lock(mutex_);
                next.state = State::Free;
            }
            ++delivered;
        }
    }

private:
    enum class State { Free, Read, Parsing, Parsed };
    struct Slot {
        ExportChunk chunk;
        ChunkResult result;
        State state = State::Free;
    };

    Slot& slotOf(std::size_t index) { return slots_[index % slots_.size()]; }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            // Chunks are taken in order; one that does not start clean waits for its carry.
            changed_.wait(lock, [&] {
                if (stopping_ || failure_) {
                    return true;
                }
                const Slot& slot = slotOf(nextToParse_);
                return slot.state == State::Read && slot.chunk.index == nextToParse_ &&
                       (slot.chunk.startsClean || carried_.count(nextToParse_) != 0);
            });
            if (stopping_ || failure_) {
                return;
            }
            const std::size_t index = nextToParse_++;
            Slot& slot = slotOf(index);
            slot.state = State::Parsing;
            const auto carried = carried_.find(index);
            const OpenElements* before = carried != carried_.end() ? &carried->second : nullptr;
            const bool keepOpen = !slot.chunk.endsFile && !slot.chunk.endsClean;
            lock.unlock();
            try {
                parser_.parse(slot.chunk.bytes, before, keepOpen, slot.result);
                slot.result.text = evidenceOf(slot.chunk.bytes);
            } catch (...) {
                // Out of memory, say: the calling thread rethrows it.
                lock.lock();
                failure_ = std::current_exception();
                changed_.notify_all();
                return;
            }
            lock.lock();
            if (carried != carried_.end()) {
                carried_.erase(carried);
            }
            if (keepOpen) {
                carried_[index + 1] = std::move(slot.result.openAtEnd);
            }
            slot.state = State::Parsed;
            changed_.notify_all();
        }
    }

    ExportChunks& chunks_;
    const ElementParser& parser_;
    std::vector<Slot> slots_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextToParse_ = 0;
    std::map<std::size_t, OpenElements> carried_;
    std::exception_ptr failure_;
    bool stopping_ = false;
};

}  // namespace

std::size_t defaultScanThreads() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors == 0 ? 1 : processors;
}

void readExportOnce(ExportScan& scan, const ElementParser& parser, const PassSettings& settings,
                    const ChunkDelivery& deliver) {
    ExportChunks chunks(scan, settings.chunkBytes);
    if (settings.threads <= 1) {
        readOnOneThread(chunks, parser, deliver);
        return;
    }
    Pipeline pipeline(chunks, parser, settings.threads);
    pipeline.run(deliver);
}

}  // namespace qor::scan
