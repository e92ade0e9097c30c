#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/base/date_time.h"
#include "core/output/element_workbook.h"
#include "core/output/scan_output.h"
#include "core/scan/node_info.h"

namespace qor::output {

// Excel workbooks: one per element type, or one with a sheet per type.
// The workbooks carry `clock`'s time of the scan as their creation time.
std::unique_ptr<ScanOutput> makeWorkbookOutput(const Session& session,
                                               const platform::FolderHandle& folder,
                                               UserInterface& ui, const Clock& clock);

// The status text while the type's rows go into a workbook of its own, or into the scan's one
// workbook, in the running language. The progress window measures it.
std::string workbookWritingStatusText(const scan::ElementTypeInfo& type, bool oneWorkbook);

// A file name part the workbook writer accepts: the file-name rule, and also no "[" or "]".
std::string workbookFileNamePart(std::string_view text);

// Row 1 of every sheet: "System status at:  " + generation date + " ( date of generating
// *.ba file, Node" + node number + " )".
std::string systemStatusText(const scan::NodeInfo& node);

}  // namespace qor::output
