#include "platform/user_environment.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qor::platform {

MonthNames systemMonthNames() {
    MonthNames names;
    const QLocale locale = QLocale::system();
    for (int month = 1; month <= 12; ++month) {
        const QString name = locale.monthName(month, QLocale::ShortFormat);
        if (!name.isEmpty()) {
            names.shortNames[static_cast<std::size_t>(month - 1)] = name.toUtf8().toStdString();
        }
    }
    return names;
}

std::string defaultResultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return QDir::toNativeSeparators(folder).toUtf8().toStdString();
}

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

}  // namespace qor::platform
