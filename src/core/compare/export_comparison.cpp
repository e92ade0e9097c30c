#include "core/compare/export_comparison.h"

#include <vector>

#include "core/compare/element_diff.h"
#include "core/compare/element_records.h"
#include "core/compare/old_elements.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/export_scan.h"

namespace qor::compare {
namespace {

using OldExport = std::array<OldElements, scan::kElementTypeCount>;

void addNodeChanges(const scan::NodeInfo& oldNode, const scan::NodeInfo& newNode,
                    ChangeList& changes) {
    const auto compareField = [&](std::string_view name, const std::string& oldValue,
                                  const std::string& newValue) {
        if (oldValue != newValue) {
            changes.add({std::nullopt, ChangeKind::Changed, {}, name, oldValue, newValue});
        }
    };
    compareField(kNodeFieldNames[0], oldNode.nodeNumber, newNode.nodeNumber);
    compareField(kNodeFieldNames[1], oldNode.nodeDescription, newNode.nodeDescription);
    compareField(kNodeFieldNames[2], oldNode.generationDate, newNode.generationDate);
}

std::uint64_t sizeOf(const scan::ExportScan& source) {
    return source.identity() ? source.identity()->size : 0;
}

// Both exports, read one after the other, each with a parser that cuts its text as its encoding
// asks; the monitor hears how far both have come and may stop the reading after any chunk.
class ExportPair {
public:
    ExportPair(const CompareRequest& request, const scan::ElementParser& oldParser,
               const scan::ElementParser& newParser, CompareMonitor& monitor)
        : request_(request),
          oldParser_(oldParser),
          newParser_(newParser),
          monitor_(monitor),
          oldScan_(request.oldExport.path),
          newScan_(request.newExport.path),
          total_(sizeOf(oldScan_) + sizeOf(newScan_)) {}

    template <typename Deliver>
    void readOld(const Deliver& deliver) {
        read(oldScan_, oldParser_, 0, deliver);
    }
    template <typename Deliver>
    void readNew(const Deliver& deliver) {
        read(newScan_, newParser_, sizeOf(oldScan_), deliver);
    }
    const scan::ExportScan& oldScan() const { return oldScan_; }
    const scan::ExportScan& newScan() const { return newScan_; }

private:
    template <typename Deliver>
    void read(scan::ExportScan& source, const scan::ElementParser& parser, std::uint64_t before,
              const Deliver& deliver) {
        scan::readExportOnce(source, parser, request_.pass,
                             [&](scan::ChunkResult& chunk, std::uint64_t reached, std::uint64_t) {
                                 deliver(chunk);
                                 monitor_.progress(before + reached, total_);
                                 if (monitor_.cancelRequested()) {
                                     throw CompareCancelled();
                                 }
                             });
    }

    const CompareRequest& request_;
    const scan::ElementParser& oldParser_;
    const scan::ElementParser& newParser_;
    CompareMonitor& monitor_;
    // Taken when the comparison begins: each reading checks its export against it.
    scan::ExportScan oldScan_;
    scan::ExportScan newScan_;
    std::uint64_t total_;
};

// A new element on its way through compareRecords.
struct NewElement {
    ElementRecord record;
    std::size_t hash = 0;
    std::size_t pair = OldElements::kNone;
};

// Pairs one chunk's elements of `type` in the new export with the old ones and notes the
// changes. The look-ups run a few elements ahead of the comparisons (both in file order), so that
// the memory each touches is on its way before it is needed.
void compareRecords(scan::ElementType type, const std::string& records,
                    const TypeSelection& selection, OldElements& oldElements, TypeCounts& counts,
                    ChangeList& changes, std::vector<NewElement>& elements) {
    const std::size_t boxes = scan::elementType(type).parameters.size();
    elements.clear();
    for (std::size_t at = 0; at < records.size();) {
        const ElementRecord record = readRecord(records, at, boxes);
        elements.push_back({record, OldElements::hashOf(record.designation)});
    }
    constexpr std::size_t kAhead = 8;
    const std::size_t count = elements.size();
    for (std::size_t i = 0; i < count + 2 * kAhead; ++i) {
        if (i < count) {
            oldElements.prefetchPair(elements[i].hash);
        }
        if (i >= kAhead && i - kAhead < count) {
            NewElement& element = elements[i - kAhead];
            element.pair = oldElements.pair(element.record.designation, element.hash);
            if (element.pair != OldElements::kNone) {
                oldElements.prefetchRecord(element.pair);
            }
        }
        if (i < 2 * kAhead || i - 2 * kAhead >= count) {
            continue;
        }
        const NewElement& element = elements[i - 2 * kAhead];
        if (element.pair == OldElements::kNone) {
            changes.add({type,
                         ChangeKind::Added,
                         element.record.designation,
                         {},
                         {},
                         nameOf(type, element.record)});
            ++counts.added;
        } else if (addElementChanges(type, selection, oldElements.record(element.pair),
                                     element.record, changes)) {
            ++counts.changed;
        } else {
            ++counts.unchanged;
        }
    }
}

// The old elements that no new one took, in the order of the old export.
void addRemoved(scan::ElementType type, const OldElements& oldElements, TypeCounts& counts,
                ChangeList& changes) {
    for (std::size_t element = 0; element < oldElements.size(); ++element) {
        if (!oldElements.paired(element)) {
            const ElementRecord record = oldElements.record(element);
            changes.add(
                {type, ChangeKind::Removed, record.designation, {}, nameOf(type, record), {}});
            ++counts.removed;
        }
    }
}

}  // namespace

Comparison compareExports(const CompareRequest& request, CompareMonitor& monitor) {
    Comparison result;
    result.changes = ChangeList(request.changeStorage);
    result.oldNode = request.oldExport.node;
    result.newNode = request.newExport.node;
    result.oldEncoding = request.oldExport.encoding;
    result.newEncoding = request.newExport.encoding;
    addNodeChanges(result.oldNode, result.newNode, result.changes);

    const RecordPlan plan(request.selection);
    const std::vector<scan::ElementType>& types = plan.types();
    OldExport old;
    for (const scan::ElementType type : types) {
        result.compared[scan::indexOf(type)] = true;
        old[scan::indexOf(type)] = OldElements(scan::elementType(type).parameters.size());
    }
    const scan::CabinetIndex noCabinets;
    const scan::ElementParser oldParser(plan.parserPlan(), noCabinets,
                                        request.oldExport.encoding.encoding);
    const scan::ElementParser newParser(plan.parserPlan(), noCabinets,
                                        request.newExport.encoding.encoding);
    ExportPair exports(request, oldParser, newParser, monitor);

    exports.readOld([&](const scan::ChunkResult& chunk) {
        for (std::size_t i = 0; i < types.size(); ++i) {
            old[scan::indexOf(types[i])].append(chunk.types[i].output);
        }
    });
    for (const scan::ElementType type : types) {
        old[scan::indexOf(type)].index();
    }
    std::vector<NewElement> elements;
    exports.readNew([&](const scan::ChunkResult& chunk) {
        for (std::size_t i = 0; i < types.size(); ++i) {
            const std::size_t index = scan::indexOf(types[i]);
            compareRecords(types[i], chunk.types[i].output, request.selection.types[index],
                           old[index], result.counts[index], result.changes, elements);
        }
    });
    for (const scan::ElementType type : types) {
        addRemoved(type, old[scan::indexOf(type)], result.counts[scan::indexOf(type)],
                   result.changes);
    }
    result.changes.finish();
    result.oldCutLines = exports.oldScan().cutLines();
    result.newCutLines = exports.newScan().cutLines();
    return result;
}

}  // namespace qor::compare
