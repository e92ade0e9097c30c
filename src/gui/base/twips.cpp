#include "gui/base/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace qor::gui {

double twipsPerPixel(const QWidget* widget) {
    const QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int twipsToPixels(double twips, double perPixel) {
    return static_cast<int>(std::lround(twips / perPixel));
}

double pixelsToTwips(int pixels, double perPixel) {
    return pixels * perPixel;
}

}  // namespace qor::gui
