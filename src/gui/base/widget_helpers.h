#pragma once

#include <QColor>
#include <QFile>
#include <QPalette>
#include <QScrollArea>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

#include "core/platform/path_names.h"

class QBoxLayout;
class QProgressBar;
class QWidget;

namespace qor::gui {

// The colours of "Enabled" (dark blue) and of "Disabled", "Search Disabled" and the mandatory
// NAME (dark red). On a dark palette they would be unreadable, so there the same hues are
// lightened until they stand out from the window's background by at least 4.5 to 1.
QColor enabledColor(const QPalette& palette);
QColor disabledColor(const QPalette& palette);
// The contrast ratio of two colours, from 1 (none) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// Paints the widget's caption in `color` (labels and check boxes alike).
void setCaptionColor(QWidget& widget, const QColor& color);

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toStdString(const QString& text) {
    return text.toUtf8().toStdString();
}
// A path the core holds (UTF-8, or the file system's bytes) as Qt names files.
inline QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
// A path as a person reads it: with the system's separators (platform::shownPath).
inline QString shownPath(const QString& path) {
    return toQString(platform::shownPath(toStdString(path)));
}
inline QString shownPath(std::string_view path) {
    return toQString(platform::shownPath(path));
}

// How wide a window must be for the title bar to show its whole caption beside the window
// manager's icon and buttons.
int captionWidth(const QWidget& window);
// Widens a window laid out by `layout` to captionWidth(): a short dialog's caption is not cut.
void keepCaptionWhole(QWidget& window, QBoxLayout& layout);

// Moves a top-level window to the middle of its screen, its title bar on the screen.
void centreOnScreen(QWidget& window);

// What a window's frame and title bar add to its size: as the frame of the window it belongs
// to (the main window, shown), else a generous guess, since a frame is known only once shown.
QSize frameRoom(const QWidget& window);
// The size a window may take on its screen, leaving room for its frame and title bar.
QSize screenRoom(const QWidget& window);
// A dialog laid out at a fixed size whose `scroll` area holds `content` (a list of rows): the
// area takes the content's natural size, at most `width` wide, and only the height the screen
// leaves the dialog (a large scale, a small screen), never less than three lines; a vertical
// scroll bar shows the rest.
void fitScrolledContent(QWidget& dialog, QScrollArea& scroll, const QWidget& content, int width);

// Shows `value` of `maximum` on a bar that counts in int: large counts are scaled down together.
void showScaledProgress(QProgressBar& bar, long long value, long long maximum);

}  // namespace qor::gui
