#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/qor_error.h"
#include "core/base/user_interface.h"
#include "core/scan/cabinet_labels.h"
#include "core/scan/column_data.h"
#include "core/scan/element_sink.h"
#include "core/scan/element_types.h"
#include "core/scan/export_scan.h"
#include "core/scan/type_options.h"

namespace qor::scan {

// What one reader call reads from the scan's shared state.
struct ReaderInput {
    ExportScan& source;
    std::string nodeNumber;  // as read from the file
    std::string outputFolder;
    std::string startDateStamp;  // "ddMMMyyyy"
    const scan::TypeOptions& selection;
    bool applyCabinetLabels = false;
    const CabinetIndex& cabinets;
    // The type's element count when the scan has counted it already; counted here otherwise.
    std::optional<long long> knownElementCount = std::nullopt;
};

// The slot of a parameter in the element row: the first entry from 1 on that equals the
// name (ASCII case ignored) decides; with labels applied the result is that index - 1 and
// the leading-column offset 2, otherwise index + 1 and offset 0. Non-channel types add the
// offset, because their list never holds the cabinet columns.
struct ColumnIndex {
    int slot = 0;
    int leadingColumnOffset = 0;
};
ColumnIndex columnSlotOf(const std::vector<std::string>& columns, std::string_view name,
                         bool applyCabinetLabels);

// The element file base name: prefix + "Node" + node number (made safe for a file name)
// + "_" + start date stamp.
std::string elementFileBaseName(const ElementTypeInfo& type, std::string_view nodeNumber,
                                std::string_view startDateStamp);

// Raised when a reader stops part way; names the type and what became of its output.
class ReadFailed : public QorError {
public:
    ReadFailed(ElementType type, const std::string& description)
        : QorError(description), type_(type) {}
    ElementType type() const { return type_; }

private:
    ElementType type_;
};

// Reads every element of one type from the export file and hands each finished element to
// `sink`. Returns the number written, or nothing when the user kept an existing result
// (the type is then skipped). Throws ReadFailed when the read cannot go on; the export
// file is closed and the sink has abandoned its incomplete output by then.
std::optional<long long> readElements(ElementType type, const ReaderInput& input,
                                      scan::ColumnData& columns, ElementSink& sink,
                                      UserInterface& ui);

}  // namespace qor::scan
