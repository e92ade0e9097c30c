#include "gui/base/icons.h"

#include <QFile>
#include <array>

namespace qor::gui {
namespace {

// In the order of CommandIcon.
constexpr std::array<const char*, kCommandIconCount> kCommandIconFiles = {
    "open.svg",           "scan.svg",       "compare.svg", "recent.svg", "options.svg",
    "preview-status.svg", "statistics.svg", "preview.svg", "help.svg",   "web.svg",
};

}  // namespace

QString commandIconPath(CommandIcon icon) {
    return QStringLiteral(":/icons/") +
           QLatin1String(kCommandIconFiles[static_cast<std::size_t>(icon)]);
}

QIcon commandIcon(CommandIcon icon) {
    return QIcon(commandIconPath(icon));
}

QIcon applicationIcon() {
    return QIcon(QStringLiteral(":/icons/app.svg"));
}

std::string applicationIconSvg() {
    QFile file(QStringLiteral(":/icons/app.svg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

}  // namespace qor::gui
