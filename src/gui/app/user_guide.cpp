#include "gui/app/user_guide.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace qor::gui {

QString userGuidePage(const QString& programFolder) {
    QStringList candidates{programFolder + "/../share/doc/qorreader/index.html"};
    // A program run from its build folder (build/<type>/src/gui) finds the tree's docs.
    QDir up(programFolder);
    for (int level = 0; level < 5 && up.cdUp(); ++level) {
        candidates << up.filePath("docs/index.html");
    }
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()).toString();
        }
    }
    return {};
}

}  // namespace qor::gui
