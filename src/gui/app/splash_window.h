#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QScreen;

namespace qor::gui {

// Where the splash window goes: centred horizontally on `screen`, its top 6000 twips below
// the vertically centred position, (screen height - window height) / 2 + 6000 twips, the
// twips converted at `dpi` logical dots per inch (pixels = twips * dpi / 1440, rounded). That
// offset pushes the window past the bottom of most screens, so the result is then
// clamped to keep the whole window inside `available` (the screen less its panels); a
// window larger than that area keeps its top-left corner inside it.
QPoint splashPosition(const QRect& screen, const QRect& available, const QSize& window, double dpi);

// The picture of the splash window, drawn here: the application icon large on a calm
// gradient with the title ".QOR Reader". `devicePixelRatio` sharpens it on high-DPI screens;
// its logical size stays the same.
QPixmap SplashPicture(qreal devicePixelRatio = 1.0);

// dlgSplash: a frameless window exactly as large as its picture, with the caption "Build:",
// the version text and a status text ("Finalizing settings..." in grey until start-up sets
// it). It places itself on the primary screen when created.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Changes the status text and repaints at once: start-up blocks the event loop.
    void setStatus(const QString& text);
    QString status() const;

    const QPixmap& picture() const { return picture_; }

    // Moves the window to splashPosition on `screen`.
    void placeOn(const QScreen& screen);

private:
    QPixmap picture_;
    QLabel* lblStatus_;
};

}  // namespace qor::gui
