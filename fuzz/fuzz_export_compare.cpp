// Fuzz target: two exports compared. The input holds OLD, a 0xFF byte, then NEW (all of it is
// NEW when there is no 0xFF). The comparison must give the same changes on one thread in one
// chunk and on two threads in chunks of a few bytes, every change kept in the scratch file;
// compared the other way round, added and removed trade places and the changed elements stay;
// an export compared with itself has no change; and no value put on the changes page can leave
// its text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/changes_csv.h"
#include "core/compare/export_comparison.h"
#include "core/compare/html_text.h"
#include "fuzz_support.h"

namespace qor::fuzz {
namespace {

class NoMonitor : public compare::CompareMonitor {
public:
    void progress(std::uint64_t, std::uint64_t) override {}
    bool cancelRequested() override { return false; }
};

// Every row as the CSV file gives it, and the counts.
struct Outcome {
    std::vector<std::string> rows;
    std::vector<long long> counts;
    bool operator==(const Outcome&) const = default;
};

// Page text may hold markup only in the marks the escaping adds itself.
void requireEscaped(std::string_view value) {
    std::string page;
    compare::appendExportText(page, value, {});
    constexpr std::string_view kMarkOpen = R"(<span class="esc">)";
    constexpr std::string_view kMarkClose = "</span>";
    std::string rest;
    for (std::size_t at = 0; at < page.size();) {
        if (page.compare(at, kMarkOpen.size(), kMarkOpen) == 0) {
            at += kMarkOpen.size();
        } else if (page.compare(at, kMarkClose.size(), kMarkClose) == 0) {
            at += kMarkClose.size();
        } else {
            rest += page[at++];
        }
    }
    require(rest.find_first_of("<>\"'") == std::string::npos, "a value's markup is escaped");
}

class CompareHarness {
public:
    CompareHarness() {
        const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        const std::string stem = "qor_fuzz_compare_" + std::to_string(::getpid());
        folder_ = folder.string();
        oldPath_ = (folder / (stem + "_old.qor")).string();
        newPath_ = (folder / (stem + "_new.qor")).string();
    }
    ~CompareHarness() {
        std::remove(oldPath_.c_str());
        std::remove(newPath_.c_str());
    }
    CompareHarness(const CompareHarness&) = delete;
    CompareHarness& operator=(const CompareHarness&) = delete;

    void run(std::string_view input) {
        const std::size_t split = input.find('\xFF');
        write(oldPath_,
              split == std::string_view::npos ? std::string_view{} : input.substr(0, split));
        write(newPath_, split == std::string_view::npos ? input : input.substr(split + 1));

        const Outcome forward = compareOnce(oldPath_, newPath_, {1, 1 << 20});
        require(compareOnce(oldPath_, newPath_, {2, 3}, {folder_, 0, 1}) == forward,
                "chunks and threads change nothing");
        const Outcome backward = compareOnce(newPath_, oldPath_, {1, 1 << 20});
        for (std::size_t type = 0; type < scan::kElementTypeCount; ++type) {
            const long long* there = &forward.counts[4 * type];
            const long long* back = &backward.counts[4 * type];
            require(there[0] == back[1] && there[1] == back[0] && there[2] == back[2] &&
                        there[3] == back[3],
                    "the other way round, added and removed trade places");
        }
        const Outcome same = compareOnce(newPath_, newPath_, {2, 5});
        require(same.rows.empty(), "an export is the same as itself");
    }

private:
    static void write(const std::string& path, std::string_view bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        require(file != nullptr, "the input can be written");
        require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(),
                "the input is written");
        std::fclose(file);
    }

    static Outcome compareOnce(const std::string& from, const std::string& to,
                               scan::PassSettings pass, compare::ChangeStorage storage = {}) {
        NoMonitor monitor;
        const compare::Comparison comparison =
            compare::compareExports({{from, {}, {}}, {to, {}, {}}, {}, pass, storage}, monitor);
        Outcome outcome;
        comparison.changes.read([&](std::size_t, const compare::ChangeView& change) {
            requireEscaped(change.oldValue);
            requireEscaped(change.newValue);
            std::string row;
            compare::appendChangeRow(row, change);
            outcome.rows.push_back(row);
        });
        for (const compare::TypeCounts& counts : comparison.counts) {
            outcome.counts.insert(outcome.counts.end(),
                                  {counts.added, counts.removed, counts.changed, counts.unchanged});
        }
        return outcome;
    }

    std::string folder_;
    std::string oldPath_;
    std::string newPath_;
};

}  // namespace
}  // namespace qor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static qor::fuzz::CompareHarness harness;
    harness.run(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
