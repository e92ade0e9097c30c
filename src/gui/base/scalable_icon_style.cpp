#include "gui/base/scalable_icon_style.h"

#include <QIcon>

#include "gui/base/icons.h"

namespace qor::gui {

ScalableIconStyle::ScalableIconStyle(const QString& key) : QProxyStyle(key) {}

QIcon ScalableIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
    const auto themed = [](const char* theme, const char* drawing) {
        return QIcon::fromTheme(QLatin1String(theme),
                                drawingIcon(QStringLiteral(":/icons/") + QLatin1String(drawing)));
    };
    switch (icon) {
        case SP_MessageBoxInformation:
            return themed("dialog-information", "message-information.svg");
        case SP_MessageBoxWarning:
            return themed("dialog-warning", "message-warning.svg");
        case SP_MessageBoxCritical:
            return themed("dialog-error", "message-critical.svg");
        case SP_MessageBoxQuestion:
            return themed("dialog-question", "message-question.svg");
        default:
            return QProxyStyle::standardIcon(icon, option, widget);
    }
}

int ScalableIconStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace qor::gui
