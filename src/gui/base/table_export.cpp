#include "gui/base/table_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "core/base/standard_error.h"
#include "core/platform/user_environment.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {

std::optional<ExportTarget> chooseExportTarget(QWidget* owner, AppContext& context,
                                               std::string_view module, std::string_view procedure,
                                               const QString& name, const QString& title) {
    const std::string& resultFolder = context.session.options.scanResultFolderPath;
    std::string offered;
    runStep(context.boxes, module, procedure, [&] {
        platform::createMissingDocumentsFolder(resultFolder);
        offered = QDir(QFile::decodeName(QByteArray::fromStdString(resultFolder)))
                      .filePath(name + QStringLiteral(".csv"))
                      .toStdString();
    });
    if (offered.empty()) {
        return std::nullopt;
    }
    const std::string chosen = context.desktop.chooseFileToSave(
        owner,
        {{toStdString(QCoreApplication::translate("TableExport", "CSV Files (*.csv)")), "*.csv"},
         {toStdString(QCoreApplication::translate("TableExport", "Excel Workbooks (*.xlsx)")),
          "*.xlsx"}},
        toStdString(title), offered, "csv");
    if (chosen.empty()) {
        return std::nullopt;
    }
    return ExportTarget{chosen, QString::fromStdString(chosen).endsWith(QStringLiteral(".xlsx"),
                                                                        Qt::CaseInsensitive)};
}

QString exportOutcomeText(bool written, const std::string& path) {
    return (written ? QCoreApplication::translate("TableExport", "Written: %1")
                    : QCoreApplication::translate("TableExport", "Kept: %1"))
        .arg(QString::fromStdString(path));
}

}  // namespace qor::gui
