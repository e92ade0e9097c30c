#include "core/platform/file_association.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace qor::platform {
namespace {

// The name the application menu shows.
constexpr std::string_view kMenuName = "QOR Reader";

// Tools that refresh the desktop's databases are given this long; a hanging tool must not
// hold up the start of the program.
constexpr int kToolTimeoutMs = 5000;

// A small document glyph, used for the program and for its documents.
constexpr std::string_view kIconSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <path d="M10 4h20l10 10v30H10z" fill="#f5f7fa" stroke="#34526f" stroke-width="2" stroke-linejoin="round"/>
  <path d="M30 4v10h10" fill="#d9e2eb" stroke="#34526f" stroke-width="2" stroke-linejoin="round"/>
  <path d="M16 22h18M16 28h18M16 34h12" stroke="#34526f" stroke-width="2" stroke-linecap="round"/>
</svg>
)";

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
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

std::string xmlText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string desktopEntry(const std::string& id, std::string_view programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" +
           desktopString(kMenuName) + "\nExec=" + desktopString(execArgument(programPath)) +
           " %f\nIcon=" + id + "\nMimeType=application/x-" + id +
           ";\nCategories=Utility;\nTerminal=false\n";
}

std::string mimePackage(const std::string& id, std::string_view extension,
                        std::string_view description) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-" +
           id + "\">\n    <comment>" + xmlText(description) +
           "</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <icon name=\"" +
           id + "\"/>\n    <glob pattern=\"*." + xmlText(extension) +
           "\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
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

}  // namespace

FileAssociationReport createFileAssociation(
    std::string_view programIdentifier, std::string_view extension, std::string_view description,
    std::string_view programPath, const std::string& dataFolder, RefreshDatabases refresh) {
    FileAssociationReport report;
    QString dataPath = QString::fromStdString(dataFolder);
    if (dataPath.isEmpty()) {
        dataPath = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    if (dataPath.isEmpty() || programIdentifier.empty() || programPath.empty()) {
        return report;
    }
    const QDir data(dataPath);
    const std::string id = lowerAscii(programIdentifier);
    const QString applications = data.filePath(QStringLiteral("applications"));
    const QString mime = data.filePath(QStringLiteral("mime"));

    writeFile(data.filePath(QStringLiteral("icons/hicolor/scalable/apps/%1.svg").arg(qs(id))),
              kIconSvg, report);
    const bool mimeWritten =
        writeFile(QDir(mime).filePath(QStringLiteral("packages/%1.xml").arg(qs(id))),
                  mimePackage(id, extension, description), report);
    const bool entryWritten =
        writeFile(QDir(applications).filePath(qs(id) + QStringLiteral(".desktop")),
                  desktopEntry(id, programPath), report);

    if (refresh == RefreshDatabases::Yes) {
        if (mimeWritten) {
            runTool("update-mime-database", mime, report);
        }
        if (entryWritten) {
            runTool("update-desktop-database", applications, report);
        }
    }
    return report;
}

FileAssociationReport registerFileAssociation(const std::string& dataFolder) {
    // Without an application object Qt cannot name the running program; nothing to register.
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    const QString program = QCoreApplication::applicationFilePath();
    return createFileAssociation(kProgramIdentifier, kDocumentExtension, kDocumentDescription,
                                 program.toStdString(), dataFolder);
}

}  // namespace qor::platform
