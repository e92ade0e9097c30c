#include "gui/base/skipped_files_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

constexpr std::size_t kSkippedNamed = 5;

}  // namespace

SkippedFilesText skippedFilesText(const std::vector<elements::SkippedFile>& skipped) {
    if (skipped.empty()) {
        return {};
    }
    QStringList named;
    QStringList all;
    for (const elements::SkippedFile& file : skipped) {
        // The line names the file and says why in a few words; the tooltip has the whole reason.
        const QString reason = QString::fromStdString(file.reason);
        if (static_cast<std::size_t>(named.size()) < kSkippedNamed) {
            named << QCoreApplication::translate("SkippedFiles", "%1 (%2)")
                         .arg(QFileInfo(pathText(file.path)).fileName(),
                              file.notAnExport
                                  ? QCoreApplication::translate("SkippedFiles", "not a node export")
                                  : reason);
        }
        all << QCoreApplication::translate("SkippedFiles", "%1: %2")
                   .arg(pathText(file.path), reason);
    }
    const QString line =
        skipped.size() > kSkippedNamed
            ? QCoreApplication::translate("SkippedFiles", "Skipped %1 files: %2; and %3 more")
                  .arg(static_cast<qulonglong>(skipped.size()))
                  .arg(named.join(QStringLiteral("; ")))
                  .arg(static_cast<qulonglong>(skipped.size() - kSkippedNamed))
            : QCoreApplication::translate("SkippedFiles", "Skipped: %1")
                  .arg(named.join(QStringLiteral("; ")));
    return {line, all.join(QLatin1Char('\n'))};
}

}  // namespace qor::gui
