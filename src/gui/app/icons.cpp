#include "gui/app/icons.h"

#include <array>

#include <QFile>

namespace qor::gui {
namespace {

// Index = image list number of the main menu table; 0 and 7 have no picture.
constexpr std::array<const char*, 12> kMenuIconFiles = {
    nullptr,               // 0: not a number of the image list
    "open.svg",            // 1: "OpenFile"
    "scan.svg",            // 2: "ScanFile"
    "options.svg",         // 3: "Options"
    "preview-status.svg",  // 4: "PreviewStatus"
    "statistics.svg",      // 5: "DBStatistic"
    "help.svg",            // 6: "HelpContents"
    nullptr,               // 7: unused by the menu table
    "web.svg",             // 8: ".QOR Reader on the WEB..."
    "recent.svg",          // 9: "Recent Files"
    "preview.svg",         // 10: "Preview Output Files..."
    "compare.svg",         // 11: "Compare With..."
};

}  // namespace

QString menuIconPath(int imageNumber) {
    if (imageNumber < 0 || imageNumber >= static_cast<int>(kMenuIconFiles.size()) ||
        kMenuIconFiles[static_cast<std::size_t>(imageNumber)] == nullptr) {
        return {};
    }
    return QStringLiteral(":/icons/") +
           QLatin1String(kMenuIconFiles[static_cast<std::size_t>(imageNumber)]);
}

QIcon menuIcon(int imageNumber) {
    const QString path = menuIconPath(imageNumber);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/icons/app.svg"));
}

std::string applicationIconSvg() {
    QFile file(QStringLiteral(":/icons/app.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

}  // namespace qor::gui
