// The splash window: where it goes on a screen, and that it is its picture.
#include <QtTest>

#include "gui/shell/splash_window.h"

using qor::gui::splashPosition;

class SplashWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Centred on the screen's free area; a window larger than it keeps its corner inside.
    void placement_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("screen") << QRect(0, 0, 1920, 1080) << QSize(460, 260) << QPoint(730, 410);
        QTest::newRow("second screen, panel on top")
            << QRect(1920, 24, 1280, 776) << QSize(460, 260) << QPoint(1920 + 410, 24 + 258);
        QTest::newRow("window larger than the screen")
            << QRect(0, 24, 400, 276) << QSize(460, 320) << QPoint(0, 24);
    }
    void placement() {
        QFETCH(QRect, available);
        QFETCH(QSize, window);
        QFETCH(QPoint, expected);
        QCOMPARE(splashPosition(available, window), expected);
    }

    void windowIsItsPictureAtItsPlace() {
        qor::gui::SplashWindow splash;
        QVERIFY(!splash.picture().isNull());
        QCOMPARE(splash.size(), splash.picture().deviceIndependentSize().toSize());
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(splash.pos(), splashPosition(screen->availableGeometry(), splash.size()));
    }
};

QTEST_MAIN(SplashWindowTest)
#include "splash_window_qtest.moc"
