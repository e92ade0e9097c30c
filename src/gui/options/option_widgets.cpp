#include "gui/options/option_widgets.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "core/base/strings.h"

namespace qor::gui {
namespace {

const QScreen* screenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

void setCaptionColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget.setPalette(palette);
}

QString stringTableText(int id) {
    return toQString(loadString(id));
}

void centreOnScreen(QWidget& window) {
    centreAboveMiddle(window, 0.0);
}

void centreAboveMiddle(QWidget& window, double twips) {
    const QScreen* screen = screenOf(window);
    if (screen == nullptr) {
        return;
    }
    const double dpi = screen->logicalDotsPerInchY();
    const int lift = static_cast<int>(std::lround(twips * (dpi > 0 ? dpi : 96.0) / 1440.0));
    const QRect area = screen->geometry();
    const QSize size = window.frameGeometry().size();
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height()) / 2 - lift;
    window.move(left, std::max(top, area.top()));
}

}  // namespace qor::gui
