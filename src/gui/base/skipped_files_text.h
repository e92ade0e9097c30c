#pragma once

#include <QString>
#include <vector>

#include "core/elements/element_loader.h"

namespace qor::gui {

// The files a load skipped, for the line under a table: the first few named with a short
// reason, the rest counted; the tooltip names every one with its whole reason.
struct SkippedFilesText {
    QString line;  // empty when nothing was skipped
    QString tip;
};
SkippedFilesText skippedFilesText(const std::vector<elements::SkippedFile>& skipped);

}  // namespace qor::gui
