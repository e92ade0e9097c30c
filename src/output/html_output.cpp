#include "output/html_output.h"

#include "core/qor_error.h"

namespace qor::output {

std::unique_ptr<ScanOutput> makeHtmlOutput(Session&, UserInterface&) {
    throw QorError("The HTML report is not available yet");
}

}  // namespace qor::output
