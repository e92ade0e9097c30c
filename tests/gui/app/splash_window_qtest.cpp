// The splash window: where it goes on a screen, and that it is its picture.
#include <QtTest>

#include "gui/app/splash_window.h"

using qor::gui::splashPosition;

class SplashWindowTest : public QObject {
    Q_OBJECT

private slots:
    void placement_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QPoint>("expected");
        // 6000 twips are 400 px at 96 dpi and 600 px at 144 dpi.
        QTest::newRow("tall screen") << QRect(0, 0, 1920, 2160) << QRect(0, 0, 1920, 2160)
                                     << QSize(460, 260) << 96.0 << QPoint(730, 950 + 400);
        QTest::newRow("144 dpi") << QRect(0, 0, 2000, 2400) << QRect(0, 0, 2000, 2400)
                                 << QSize(400, 200) << 144.0 << QPoint(800, 1100 + 600);
        QTest::newRow("second screen keeps its offset")
            << QRect(1920, 0, 1920, 2160) << QRect(1920, 0, 1920, 2160) << QSize(460, 260) << 96.0
            << QPoint(1920 + 730, 1350);
        QTest::newRow("clamped above a bottom panel")
            << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1040) << QSize(460, 260) << 96.0
            << QPoint(730, 1040 - 260);
        QTest::newRow("window larger than the screen keeps its corner inside")
            << QRect(0, 0, 400, 300) << QRect(0, 24, 400, 276) << QSize(460, 320) << 96.0
            << QPoint(0, 24);
    }
    void placement() {
        QFETCH(QRect, screen);
        QFETCH(QRect, available);
        QFETCH(QSize, window);
        QFETCH(double, dpi);
        QFETCH(QPoint, expected);
        const QPoint position = splashPosition(screen, available, window, dpi);
        QCOMPARE(position, expected);
        if (window.width() <= available.width() && window.height() <= available.height()) {
            QVERIFY(available.contains(QRect(position, window)));
        }
    }

    void windowIsItsPictureAtItsPlace() {
        qor::gui::SplashWindow splash;
        QVERIFY(!splash.picture().isNull());
        QCOMPARE(splash.size(), splash.picture().deviceIndependentSize().toSize());
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(splash.pos(), splashPosition(screen->geometry(), screen->availableGeometry(),
                                              splash.size(), screen->logicalDotsPerInchY()));
    }
};

QTEST_MAIN(SplashWindowTest)
#include "splash_window_qtest.moc"
