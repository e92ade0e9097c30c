#include "core/platform/path_names.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>

namespace qor::platform {
namespace {

#ifdef _WIN32
PathRules chosenRules = kWindowsPaths;
#else
PathRules chosenRules = kPosixPaths;
#endif

QString comparable(std::string_view path, const PathRules& rules) {
    QString text = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    if (rules.separator == '\\') {
        text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    const QFileInfo file(text);
    const QString canonical = file.canonicalFilePath();
    if (!canonical.isEmpty()) {
        return canonical;
    }
    // A file that is not there (or not by this name's case) still lies in a folder that is:
    // its two spellings then compare alike, links in the folder's path resolved as for a file.
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(file.absoluteFilePath())
                            : folder + QLatin1Char('/') + file.fileName();
}

}  // namespace

PathRules shownPathRules() {
    return chosenRules;
}

void chooseShownPathRules(const PathRules& rules) {
    chosenRules = rules;
}

std::string shownPath(std::string_view path, const PathRules& rules) {
    std::string shown(path);
    if (rules.separator == '\\') {
        std::replace(shown.begin(), shown.end(), '/', '\\');
    }
    return shown;
}

bool samePath(std::string_view a, std::string_view b, const PathRules& rules) {
    return comparable(a, rules).compare(
               comparable(b, rules), rules.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) ==
           0;
}

std::string safeFileNamePart(std::string_view text) {
    std::string safe(text);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return safe;
}

}  // namespace qor::platform
