#pragma once

class QWidget;

namespace qor::gui {

// Window positions and sizes are stored in twips (1/1440 inch), a length that does not depend on
// the screen; the screen's logical resolution converts them.
double twipsPerPixel(const QWidget* widget);
int twipsToPixels(double twips, double perPixel);
double pixelsToTwips(int pixels, double perPixel);

}  // namespace qor::gui
