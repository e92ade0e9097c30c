#include "output/workbook_output.h"

#include "core/qor_error.h"

namespace qor::output {

std::unique_ptr<ScanOutput> makeWorkbookOutput(Session&, UserInterface&) {
    throw QorError("The Excel workbook output is not available yet");
}

}  // namespace qor::output
