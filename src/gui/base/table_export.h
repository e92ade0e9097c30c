#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "gui/base/app_context.h"

class QWidget;

namespace qor::gui {

// Where a table on screen is exported to, and as what.
struct ExportTarget {
    std::string path;
    bool workbook = false;  // an .xlsx workbook, else a CSV file
};

// Asks for the file a table on screen goes to: the save dialog offers `name`.csv in the result
// folder (made first when it is the default Documents folder), as a CSV file or a workbook.
// Nothing when the person cancels, or when the folder cannot be named (said as an error of
// `module`'s `procedure`).
std::optional<ExportTarget> chooseExportTarget(QWidget* owner, AppContext& context,
                                               std::string_view module, std::string_view procedure,
                                               const QString& name, const QString& title);

// "Written: <path>", or "Kept: <path>" when the person kept the file that was there.
QString exportOutcomeText(bool written, const std::string& path);

}  // namespace qor::gui
