#include <windows.h>

#include <shlobj.h>

#include <QDir>
#include <QSettings>
#include <QString>

#include "core/services/file_association.h"

// The Windows half of the file association: the extension and a program id under
// Software\Classes in the registry, per user (HKEY_CURRENT_USER) on a first run, for all users
// by the installer (HKEY_LOCAL_MACHINE). The SVG icon has no place there: the program's own
// icon resource serves.
namespace qor::services {
namespace {

constexpr const char* kUserClasses = "HKEY_CURRENT_USER\\Software\\Classes";
constexpr const char* kMachineClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";
// The default value of a registry key, as QSettings names it.
constexpr const char* kDefault = "/.";

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString programId(const DocumentType& type) {
    return QStringLiteral("QORReader.%1").arg(qs(type.extension));
}

}  // namespace

FileAssociationReport createFileAssociation(const DocumentType& type, std::string_view programPath,
                                            std::string_view /*iconSvg*/,
                                            const std::string& dataFolder,
                                            RefreshDatabases refresh) {
    FileAssociationReport report;
    if (type.extension.empty() || programPath.empty()) {
        return report;
    }
    const QString root = dataFolder.empty() ? QString::fromLatin1(kUserClasses) : qs(dataFolder);
    QSettings classes(root, QSettings::NativeFormat);
    const QString program = QDir::toNativeSeparators(qs(programPath));
    const QString id = programId(type);
    const QString extensionKey = QLatin1Char('.') + qs(type.extension);
    classes.setValue(extensionKey + QLatin1String(kDefault), id);
    classes.setValue(id + QLatin1String(kDefault), qs(type.description));
    classes.setValue(id + QStringLiteral("/DefaultIcon") + QLatin1String(kDefault),
                     QStringLiteral("\"%1\",0").arg(program));
    classes.setValue(id + QStringLiteral("/shell/open/command") + QLatin1String(kDefault),
                     QStringLiteral("\"%1\" \"%2\"").arg(program, QStringLiteral("%1")));
    classes.sync();
    const QString written = root + QLatin1Char('\\');
    if (classes.status() == QSettings::NoError) {
        report.written = {(written + extensionKey).toStdString(), (written + id).toStdString()};
    } else {
        report.failed = {(written + extensionKey).toStdString(), (written + id).toStdString()};
    }
    if (refresh == RefreshDatabases::Yes && report.failed.empty()) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        report.refreshed.emplace_back("SHChangeNotify");
    }
    return report;
}

FileAssociationReport registerFileAssociation(std::string_view programPath,
                                              std::string_view iconSvg,
                                              const std::string& dataFolder) {
    // The installer registered the type for everyone: a per-user copy would only hide it.
    const QSettings machine(QString::fromLatin1(kMachineClasses), QSettings::NativeFormat);
    const QString extensionKey = QLatin1Char('.') + qs(kQorDocuments.extension);
    if (dataFolder.empty() && machine.value(extensionKey + QLatin1String(kDefault)).toString() ==
                                  programId(kQorDocuments)) {
        return {};
    }
    return createFileAssociation(kQorDocuments, programPath, iconSvg, dataFolder);
}

}  // namespace qor::services
