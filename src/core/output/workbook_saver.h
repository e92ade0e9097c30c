#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/output/element_workbook.h"
#include "core/scan/element_types.h"

namespace qor::output {

// Saves finished per-type workbooks on worker threads while the scan reads on: saving
// (compressing, above all) costs several times what reading does. A worker owns its workbook
// outright and never touches the user interface; its failures are reported on the scan's
// thread at the next save or when the scan waits for the last ones.
class WorkbookSaver {
public:
    WorkbookSaver() = default;
    ~WorkbookSaver();  // finishes the saves handed over
    WorkbookSaver(const WorkbookSaver&) = delete;
    WorkbookSaver& operator=(const WorkbookSaver&) = delete;

    // Hands over the workbook of `type` whose question has been asked. Waits while every worker
    // is busy, so that no more than a few filled workbooks are held at once. A save that failed
    // ends the scan here, with scan::ReadFailed naming the type whose workbook failed: the
    // cause, a full disk say, would fail every later one too.
    void save(std::unique_ptr<ElementWorkbook> workbook, scan::ElementType type);
    // Waits for every save; a failed one throws as save does.
    void drain();

private:
    static constexpr std::size_t kWorkers = 2;

    // Waits on the scan's thread until `ready` holds.
    template <typename Ready>
    void waitUntil(Ready ready);
    void throwFirstFailure();
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::unique_ptr<ElementWorkbook>, scan::ElementType>> queue_;
    std::size_t busy_ = 0;
    bool stopping_ = false;
    std::vector<std::pair<StandardError, scan::ElementType>> failures_;
    std::vector<std::thread> workers_;
};

}  // namespace qor::output
