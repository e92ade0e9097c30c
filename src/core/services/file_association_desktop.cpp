#include "core/services/file_association.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include "core/base/html_escape.h"
#include "core/platform/install_layout.h"

namespace qor::services {
namespace {

// The name the application menu shows, and the line beside it.
constexpr std::string_view kMenuName = "QOR Reader";
constexpr std::string_view kMenuComment =
    "Show node database exports and scan them into CSV files, workbooks or an HTML report";

// Tools that refresh the desktop's databases are given this long; a hanging tool must not
// hold up the start of the program.
constexpr int kToolTimeoutMs = 5000;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A value of type string in a desktop entry: backslash and control characters escaped.
std::string desktopString(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// One argument of an Exec line, before the string escaping of the whole value: "%" doubled
// so it is no field code, and the argument double-quoted when it holds a reserved character
// (a program folder with spaces would otherwise split into several arguments).
std::string execArgument(std::string_view argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string escaped;
    bool quote = argument.empty();
    for (const char c : argument) {
        if (c == '%') {
            escaped += "%%";
            continue;
        }
        if (kReserved.find(c) != std::string_view::npos) {
            quote = true;
        }
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            escaped += '\\';
        }
        escaped += c;
    }
    return quote ? '"' + escaped + '"' : escaped;
}

// TryExec hides the entry once the program is gone (a build folder deleted); the window
// class is the one Qt gives the program's windows on X11.
std::string desktopEntry(const DocumentType& type, std::string_view programPath) {
    const std::string lines[] = {
        "[Desktop Entry]",
        "Type=Application",
        "Version=1.0",
        "Name=" + desktopString(kMenuName),
        "Comment=" + desktopString(kMenuComment),
        "Exec=" + desktopString(execArgument(programPath)) + " %f",
        "TryExec=" + desktopString(programPath),
        "Icon=" + desktopString(type.applicationId),
        "MimeType=" + desktopString(type.mimeType) + ";",
        "Categories=Utility;",
        "Keywords=qor;export;node;scan;",
        "StartupWMClass=qorreader",
        "Terminal=false",
    };
    std::string entry;
    for (const std::string& line : lines) {
        entry += line + '\n';
    }
    return entry;
}

std::string mimePackage(const DocumentType& type) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           escapeHtml(type.mimeType) + "\">\n    <comment>" + escapeHtml(type.description) +
           "</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <icon name=\"" +
           escapeHtml(type.applicationId) + "\"/>\n    <glob pattern=\"*." +
           escapeHtml(type.extension) +
           "\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

// The files of an association under `data`, by the application id.
QString entryPath(const QDir& data, const DocumentType& type) {
    return data.filePath(QStringLiteral("applications/%1.desktop").arg(qs(type.applicationId)));
}

QString mimePackagePath(const QDir& data, const DocumentType& type) {
    return data.filePath(QStringLiteral("mime/packages/%1.xml").arg(qs(type.applicationId)));
}

// Replaces the file as a whole or not at all, so an interrupted start never leaves a
// half-written entry for the desktop to read.
bool writeFile(const QString& path, std::string_view content, FileAssociationReport& report) {
    bool ok = QDir().mkpath(QFileInfo(path).absolutePath());
    if (ok) {
        QSaveFile file(path);
        ok = file.open(QIODevice::WriteOnly) &&
             file.write(content.data(), qint64(content.size())) == qint64(content.size()) &&
             file.commit();
    }
    (ok ? report.written : report.failed).push_back(path.toStdString());
    return ok;
}

void runTool(const char* name, const QString& folder, FileAssociationReport& report) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(name));
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, QStringList{folder});
    if (!process.waitForStarted(kToolTimeoutMs)) {
        return;
    }
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return;
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
        report.refreshed.push_back(name);
    }
}

// Whether the program in `programFolder` was installed with its own entry and MIME package.
bool isInstalledWithAssociation(const DocumentType& type, std::string_view programFolder) {
    if (programFolder.empty()) {
        return false;
    }
    const QDir data(QString::fromStdString(platform::installedDataFolder(programFolder)));
    return QFileInfo::exists(entryPath(data, type)) &&
           QFileInfo::exists(mimePackagePath(data, type));
}

}  // namespace

FileAssociationReport createFileAssociation(const DocumentType& type, std::string_view programPath,
                                            std::string_view iconSvg, const std::string& dataFolder,
                                            RefreshDatabases refresh) {
    FileAssociationReport report;
    QString dataPath = QString::fromStdString(dataFolder);
    if (dataPath.isEmpty()) {
        dataPath = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    if (dataPath.isEmpty() || type.applicationId.empty() || programPath.empty()) {
        return report;
    }
    const QDir data(dataPath);
    const QString id = qs(type.applicationId);

    writeFile(data.filePath(QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(id)), iconSvg,
              report);
    const bool mimeWritten = writeFile(mimePackagePath(data, type), mimePackage(type), report);
    const bool entryWritten =
        writeFile(entryPath(data, type), desktopEntry(type, programPath), report);

    if (refresh == RefreshDatabases::Yes) {
        if (mimeWritten) {
            runTool("update-mime-database", data.filePath(QStringLiteral("mime")), report);
        }
        if (entryWritten) {
            runTool("update-desktop-database", data.filePath(QStringLiteral("applications")),
                    report);
        }
    }
    return report;
}

FileAssociationReport registerFileAssociation(std::string_view programPath,
                                              std::string_view iconSvg,
                                              const std::string& dataFolder) {
    const QString folder = QFileInfo(qs(programPath)).absolutePath();
    if (isInstalledWithAssociation(kQorDocuments, folder.toStdString())) {
        return {};
    }
    return createFileAssociation(kQorDocuments, programPath, iconSvg, dataFolder);
}

}  // namespace qor::services
