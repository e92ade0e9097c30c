#pragma once

#include <string>
#include <vector>

#include "core/scan/element_row.h"
#include "core/scan/element_types.h"

namespace qor::scan {

// What an output needs to know of the element type being read.
struct SinkContext {
    const ElementTypeInfo& type;
    const std::vector<std::string>&
        columns;  // the column list; entry 0 "ITEM NUMBER" for non-channel types
    const std::string& headerLine;
    int columnCount = 1;
    bool labelled = false;  // a channel type while cabinet-module labels are applied
    std::string outputFolder;
    std::string baseName;  // element file base name: prefix + "Node" + node + "_" + date stamp
};

// An output of the element reader: CSV file, HTML element page or worksheet. The reader
// calls begin once, write once per finished element in file order, then finish; when the
// read fails part way it calls abandon instead of finish.
class ElementSink {
public:
    virtual ~ElementSink() = default;

    // Prepares the type's output. False when an existing result is kept at the user's word:
    // the reader then skips the type entirely.
    virtual bool begin(const SinkContext& context) = 0;
    // Throws QorError when the element cannot be written; that ends the read.
    virtual void write(const ElementRow& row) = 0;
    virtual void finish(long long writtenCount) = 0;
    // Makes sure nothing incomplete passes for a finished result. Returns a sentence for
    // the error message that says what was done with it (empty when nothing).
    virtual std::string abandon() noexcept = 0;
};

}  // namespace qor::scan
