#pragma once

#include <string>
#include <vector>

#include "core/base/text_encoding.h"
#include "core/base/user_interface.h"
#include "core/scan/element_types.h"
#include "core/scan/export_scan.h"

namespace qor::scan {

struct NodeInfo {
    std::string nodeNumber;
    std::string nodeDescription;
    std::string generationDate;
    // Neither a node number, a node description nor any element header: some other file (a
    // picture, random bytes), which no scan takes. Decided once, when the file is opened.
    bool notAnExport = false;
};

// The three passes over the export file. Each returns empty text without opening anything
// when the path is empty. readNodeNumber and readNodeDescription throw QorError when the
// file cannot be read; readGenerationDate swallows its errors and returns empty text.
// Values are cut at whole characters of `encoding`.
std::string readNodeNumber(const std::string& path, TextEncoding encoding = kDefaultCodePage);
std::string readNodeDescription(const std::string& path, TextEncoding encoding = kDefaultCodePage);
std::string readGenerationDate(const std::string& path);

// The node information of the file at `path`, one pass per field. A pass that fails is
// reported with the standard error message and its field keeps the value of `previous`.
// Without a node number or description it also tells whether the file holds any element
// (holdsElementHeader); the generation date does not count, as any line's "ONB" gives one.
NodeInfo readNodeInfo(const std::string& path, NodeInfo previous, UserInterface& ui,
                      TextEncoding encoding = kDefaultCodePage);

// Whether any line of the file at `path` is an element header of one of the fourteen types and
// text (no control character but tab): random bytes pass the header rule now and then, never
// as text. Stops at the first one, so an export costs only the bytes before its first element; only
// a file that holds none is read to its end. Throws QorError when the file cannot be read.
bool holdsElementHeader(const std::string& path);

// What a file that is not a node export is refused for.
enum class RefusedWork { Scan, Comparison, Elements };

// The one message that refuses to scan, compare or list the elements of a file that is not a
// node export.
std::string notAnExportText(const std::string& path, RefusedWork work = RefusedWork::Scan);

// Number of lines of the whole file that match the header rule of each of `types`, in one pass
// over the file: the counts in the order of `types`. Throws QorError when the file cannot be
// read or changed since the scan began.
std::vector<long long> countElementsOfTypes(ExportScan& source,
                                            const std::vector<ElementType>& types);

}  // namespace qor::scan
