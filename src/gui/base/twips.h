#pragma once

class QWidget;

namespace qor::gui {

// Window positions and sizes are stored in twips (1/1440 inch), as the placement keys have
// always held them; the screen's logical resolution converts them.
double twipsPerPixel(const QWidget* widget);
int twipsToPixels(double twips, double perPixel);
double pixelsToTwips(int pixels, double perPixel);

}  // namespace qor::gui
