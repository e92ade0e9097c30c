#pragma once

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

class QWidget;

namespace qor::gui {

// The colour of the mandatory NAME captions.
inline QColor darkRed() {
    return QColor(128, 0, 0);
}

// Paints the widget's caption in `color` (labels and check boxes alike).
void setCaptionColor(QWidget& widget, const QColor& color);

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

// A caption from the string table.
QString stringTableText(int id);

// Moves a top-level window to the middle of its screen.
void centreOnScreen(QWidget& window);

// Moves a top-level window to the middle of its screen and then `twips` higher, but never
// above the top of the screen, so that its title bar stays within reach.
void centreAboveMiddle(QWidget& window, double twips);

}  // namespace qor::gui
