#include "core/elements/element_loader.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "core/base/translation.h"
#include "core/base/worker_threads.h"
#include "core/elements/arena_fields.h"
#include "core/platform/file_system.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/element_parser.h"
#include "core/scan/export_encoding.h"
#include "core/scan/export_file_reader.h"
#include "core/scan/node_info.h"
#include "core/scan/parallel_pass.h"
#include "core/scan/text_rules.h"

namespace qor::elements {
namespace {

// The first slot of the parameter boxes in the rows the parser fills.
constexpr std::size_t kFirstBoxSlot = 2;
static_assert(kFirstBoxSlot == scan::kDesignationSlot + 1);

// Writes a finished element as its arena fields.
class ArenaFormatter : public scan::RowFormatter {
public:
    ArenaFormatter() = default;
    ArenaFormatter(std::size_t boxes, bool labelled) : boxes_(boxes), labelled_(labelled) {}
    void format(const scan::ElementRowView& row, std::string& out) const override {
        appendField(out, row[scan::kDesignationSlot]);
        for (std::size_t box = 0; box < boxes_; ++box) {
            appendField(out, row[kFirstBoxSlot + box]);
        }
        if (labelled_) {
            appendField(out, row[scan::kCabinetSlot]);
            appendField(out, row[scan::kModuleSlot]);
        }
    }
    std::size_t fields() const { return 1 + boxes_ + (labelled_ ? 2 : 0); }

private:
    std::size_t boxes_ = 0;
    bool labelled_ = false;
};

// Every type with every parameter box, header lines noted.
struct LoadPlan {
    explicit LoadPlan(bool labelled) {
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            const std::size_t t = scan::indexOf(info.type);
            formatters[t] = ArenaFormatter(info.parameters.size(), labelled && info.channel);
            scan::TypePlan typePlan{&info, {}, labelled && info.channel, &formatters[t]};
            typePlan.noteHeaderLines = true;
            typePlan.noteCutValues = true;
            for (std::size_t box = 0; box < info.parameters.size(); ++box) {
                typePlan.wanted.push_back(
                    {":" + std::string(info.parameters[box]), kFirstBoxSlot + box});
            }
            plan.push_back(std::move(typePlan));
        }
    }
    std::array<ArenaFormatter, scan::kElementTypeCount> formatters;
    std::vector<scan::TypePlan> plan;
};

// Progress of one file as a share of the whole load: bytes reached, passed on as they grow.
using BytesRead = std::function<void(std::uint64_t more)>;

// The elements of one pass over an export, and what its bytes told about their encoding.
struct ReadElements {
    std::string arena;
    std::vector<ElementRecord> records;
    EncodingEvidence evidence;       // of every chunk read
    bool parsedBeyondAscii = false;  // a chunk read for elements held more than ASCII
    std::uint64_t fileSize = 0;
};

std::uint64_t sizeOf(const std::string& path);

ElementTable loadOne(const std::string& path, const LoadSettings& settings, std::size_t threads,
                     const BytesRead& bytesRead, const std::atomic<bool>* cancel) {
    scan::checkExportFileReadable(path);
    const bool labelled = settings.cabinets != nullptr;
    const scan::CabinetIndex cabinets =
        labelled ? scan::CabinetIndex(*settings.cabinets) : scan::CabinetIndex();
    const LoadPlan plan(labelled);
    scan::PassSettings pass;
    pass.threads = std::max<std::size_t>(threads, 1);
    pass.chunkBytes = settings.chunkBytes;

    std::uint64_t reported = 0;
    const auto readElements = [&](TextEncoding encoding) {
        scan::ElementParser parser(plan.plan, cabinets, encoding);
        parser.skipChunksWithout(settings.requiredText);
        ReadElements read;
        std::int64_t linesBefore = 0;
        scan::ExportScan scan(path);
        scan::readExportOnce(
            scan, parser, pass,
            [&](scan::ChunkResult& chunk, std::uint64_t reached, std::uint64_t fileSize) {
                if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                    throw LoadCancelled();
                }
                read.evidence.merge(chunk.text);
                read.parsedBeyondAscii |= !chunk.skipped && chunk.text.beyondAscii();
                read.fileSize = fileSize;
                for (std::size_t t = 0; t < chunk.types.size(); ++t) {
                    const scan::TypeChunkResult& out = chunk.types[t];
                    const std::size_t fields = plan.formatters[t].fields();
                    const std::size_t base = read.arena.size();
                    std::size_t at = 0;
                    for (std::size_t e = 0; e < out.headerLines.size(); ++e) {
                        ElementRecord record;
                        record.offset = base + at;
                        record.line =
                            static_cast<std::uint64_t>(linesBefore + out.headerLines[e] + 1);
                        record.type = plan.plan[t].type->type;
                        // Slot 1 is the designation and the boxes follow: field f is slot f + 1.
                        record.cutFields = static_cast<std::uint16_t>(out.cutSlots[e] >> 1);
                        read.records.push_back(record);
                        for (std::size_t f = 0; f < fields; ++f) {
                            nextField(out.output, at);
                        }
                    }
                    read.arena.append(out.output);
                }
                linesBefore += chunk.lines;
                if (bytesRead && reached > reported) {
                    bytesRead(reached - reported);
                    reported = reached;
                }
            });
        // Uncut lines of an export no longer than the bytes its encoding is decided from: the
        // chunks' evidence is the decision's, learnt on the way.
        if (scan.cutLines() != 0 || read.fileSize > scan::kEncodingPrefixBytes) {
            read.evidence = scan::readEncodingEvidence(path);
        }
        return read;
    };

    ExportFile file;
    file.path = path;
    // The export is read once: a large one has its encoding decided from its first bytes before;
    // a smaller one is read as the decision most likely goes (the choice, or UTF-8, which plain
    // ASCII reads alike) and read again only when its bytes decide otherwise and the elements
    // read held text that the other encoding cuts differently.
    std::optional<ExportEncoding> decided;
    if (sizeOf(path) > scan::kEncodingPrefixBytes) {
        decided = decideEncoding(settings.encoding, scan::readEncodingEvidence(path));
    }
    const TextEncoding assumed =
        decided.value_or(decideEncoding(settings.encoding, EncodingEvidence{})).encoding;
    ReadElements read = readElements(assumed);
    file.encoding = decided.value_or(decideEncoding(settings.encoding, read.evidence));
    if (file.encoding.encoding != assumed && read.parsedBeyondAscii) {
        read = readElements(file.encoding.encoding);
    }
    file.nodeNumber = scan::readNodeNumber(path, file.encoding.encoding);
    file.nodeDescription = scan::readNodeDescription(path, file.encoding.encoding);
    if (file.nodeNumber.empty() && file.nodeDescription.empty() &&
        !scan::holdsElementHeader(path)) {
        throw NotAnExport(scan::notAnExportText(path, scan::RefusedWork::Elements));
    }

    // Types are delivered one after the other per chunk; the table shows the file's order.
    const auto fileOrder = [](const ElementRecord& a, const ElementRecord& b) {
        return a.line != b.line ? a.line < b.line : a.type < b.type;
    };
    if (!std::is_sorted(read.records.begin(), read.records.end(), fileOrder)) {
        std::stable_sort(read.records.begin(), read.records.end(), fileOrder);
    }
    read.arena.shrink_to_fit();
    ElementTable table;
    table.setCabinetColumns(labelled);
    table.addFile(std::move(file), std::move(read.arena));
    table.addRecords(read.records);
    return table;
}

std::uint64_t sizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(platform::toFsPath(path), error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

bool isExportName(const std::filesystem::path& path) {
    const std::string name = platform::fromFsPath(path.filename());
    return name.size() > 4 &&
           scan::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".qor");
}

std::string unreadableFolderText(const std::string& folder, const std::error_code& error) {
    return fillIn(translate("ElementLoader", "The folder '%1' cannot be read: %2."),
                  {folder, error.message()});
}

}  // namespace

LoadCancelled::LoadCancelled()
    : QorError(translate("ElementLoader", "The loading of the elements was cancelled.")) {}

ElementTable loadExport(const std::string& path, const LoadSettings& settings,
                        const LoadControl& control) {
    const std::uint64_t total = sizeOf(path);
    std::uint64_t done = 0;
    const BytesRead bytesRead = [&](std::uint64_t more) {
        done += more;
        if (control.progress) {
            control.progress(done, std::max(total, done));
        }
    };
    return loadOne(path, settings, scan::defaultScanThreads(), bytesRead, control.cancel);
}

PlantLoad loadExports(std::vector<std::string> paths, const LoadSettings& settings,
                      const LoadControl& control) {
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::uint64_t total = 0;
    for (const std::string& path : paths) {
        total += sizeOf(path);
    }
    const std::size_t jobs = std::min<std::size_t>(
        settings.jobs == 0 ? scan::defaultScanThreads() : settings.jobs, paths.size());
    // One export alone gets every thread for its chunks; several share the threads as whole files.
    const std::size_t threadsPerFile = jobs <= 1 ? scan::defaultScanThreads() : 1;

    std::mutex progressMutex;
    std::uint64_t done = 0;
    const BytesRead bytesRead = [&](std::uint64_t more) {
        const std::lock_guard lock(progressMutex);
        done += more;
        if (control.progress) {
            control.progress(done, std::max(total, done));
        }
    };

    std::vector<std::optional<ElementTable>> tables(paths.size());
    std::vector<std::optional<SkippedFile>> skipped(paths.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> cancelled{false};
    const auto work = [&] {
        for (std::size_t i = next++; i < paths.size() && !cancelled; i = next++) {
            try {
                tables[i] = loadOne(paths[i], settings, threadsPerFile, bytesRead, control.cancel);
            } catch (const LoadCancelled&) {
                cancelled = true;
            } catch (const NotAnExport& error) {
                skipped[i] = SkippedFile{paths[i], error.what(), true};
            } catch (const QorError& error) {
                skipped[i] = SkippedFile{paths[i], error.what(), false};
            } catch (...) {
                // Not a fault of the file (memory, a programming error): the other threads
                // stop, and the caller sees it.
                cancelled = true;
                throw;
            }
        }
    };
    runOnThreads(jobs, work);
    PlantLoad load;
    if (cancelled || (control.cancel != nullptr && control.cancel->load())) {
        load.cancelled = true;
        return load;
    }
    load.table.setCabinetColumns(settings.cabinets != nullptr);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (tables[i]) {
            load.table.append(std::move(*tables[i]));
            tables[i].reset();
        } else if (skipped[i]) {
            load.skipped.push_back(std::move(*skipped[i]));
        }
    }
    return load;
}

FolderListing exportsInFolder(const std::string& folder, bool subfolders) {
    namespace fs = std::filesystem;
    FolderListing listing;
    std::error_code error;
    fs::directory_iterator top(platform::toFsPath(folder), error);
    if (error) {
        throw QorError(unreadableFolderText(folder, error));
    }
    std::vector<fs::path> pending{platform::toFsPath(folder)};
    bool first = true;
    while (!pending.empty()) {
        const fs::path current = std::move(pending.back());
        pending.pop_back();
        fs::directory_iterator entries;
        if (first) {
            entries = std::move(top);
            first = false;
        } else {
            entries = fs::directory_iterator(current, error);
            if (error) {
                listing.skipped.push_back(
                    {platform::fromFsPath(current),
                     unreadableFolderText(platform::fromFsPath(current), error)});
                continue;
            }
        }
        for (; entries != fs::directory_iterator(); entries.increment(error)) {
            const fs::directory_entry& entry = *entries;
            std::error_code kindError;
            if (entry.is_symlink(kindError) || !entry.is_directory(kindError)) {
                if (isExportName(entry.path()) && !entry.is_directory(kindError)) {
                    listing.exports.push_back(platform::fromFsPath(entry.path()));
                }
            } else if (subfolders) {
                pending.push_back(entry.path());
            }
        }
        if (error) {
            listing.skipped.push_back({platform::fromFsPath(current),
                                       unreadableFolderText(platform::fromFsPath(current), error)});
            error.clear();
        }
    }
    std::sort(listing.exports.begin(), listing.exports.end());
    std::sort(listing.skipped.begin(), listing.skipped.end(),
              [](const SkippedFile& a, const SkippedFile& b) { return a.path < b.path; });
    return listing;
}

}  // namespace qor::elements
