#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/qor_error.h"
#include "core/platform/folder_handle.h"
#include "core/scan/element_parser.h"
#include "core/scan/element_types.h"

namespace qor::scan {

// What an output needs to know of the element type being read.
struct SinkContext {
    const ElementTypeInfo& type;
    const std::vector<std::string>&
        columns;  // the column list; entry 0 "ITEM NUMBER" for non-channel types
    const std::string& headerLine;
    int columnCount = 1;
    bool labelled = false;                // a channel type while cabinet-module labels are applied
    platform::FolderHandle outputFolder;  // where the type's file goes
    std::string baseName;  // element file base name: prefix + "Node" + node + "_" + date stamp
};

// An output of one element type: CSV file, HTML element page or worksheet. The scan calls
// begin before it reads anything, format for every finished element (on any thread), write
// with the formatted elements in file order, then complete and finish; when the type cannot be
// completed it calls abandon instead.
class ElementSink : public RowFormatter {
public:
    // Prepares the type's output (asking before an existing result is replaced). False when
    // the user keeps it: the type is then not read at all.
    virtual bool begin(const SinkContext& context) = 0;
    // Throws QorError when the elements cannot be written.
    virtual void write(std::string_view formatted) = 0;
    // Ends the output and makes it durable without naming it. The scan runs this for every
    // type at once, each on a thread of its own, so that slow syncs overlap. Throws QorError.
    virtual void complete() {}
    // Gives the completed output its name; called in reading order. Throws QorError.
    virtual void finish(long long writtenCount) = 0;
    // Makes sure nothing incomplete passes for a finished result. Returns a sentence for
    // the error message that says what was done with it (empty when nothing).
    virtual std::string abandon() noexcept = 0;
};

// Raised when the scan of a type stops part way; names the type and what became of its output.
class ReadFailed : public QorError {
public:
    ReadFailed(ElementType type, const std::string& description)
        : QorError(description), type_(type) {}
    ElementType type() const { return type_; }

private:
    ElementType type_;
};

}  // namespace qor::scan
