#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QScreen;

namespace qor::gui {

// The picture of the splash window, drawn here: the application icon large on a calm
// gradient with the title ".QOR Reader". `devicePixelRatio` sharpens it on high-DPI screens;
// its logical size stays the same.
QPixmap splashPicture(qreal devicePixelRatio = 1.0);

// The window start-up shows while it works: frameless, exactly as large as its picture, with the
// caption "Build:", the version text and a status text ("Finalizing settings..." in grey until
// start-up sets it). It places itself on the primary screen when created.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Changes the status text and paints it at once, once the window is on screen: start-up
    // runs its next step before the event loop would paint it.
    void setStatus(const QString& text);
    QString status() const;

    const QPixmap& picture() const { return picture_; }

    // Centres the window on the screen's free area (its top-left corner stays inside).
    void placeOn(const QScreen& screen);

private:
    QPixmap picture_;
    QLabel* lblStatus_;
};

}  // namespace qor::gui
