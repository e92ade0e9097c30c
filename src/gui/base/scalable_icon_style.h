#pragma once

#include <QProxyStyle>

namespace qor::gui {

// The style named `key` (the application's), with the message icons of the icon theme, or our
// own drawings where there is none: the styles' own are small bitmaps that blur when the screen
// is scaled. For the same reason dialog buttons carry no pictures (their words say enough).
class ScalableIconStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit ScalableIconStyle(const QString& key);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace qor::gui
