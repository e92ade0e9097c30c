// Pictures drawn for the screen's scale (a bitmap icon gives no pixmap larger than itself, so a
// box at double scale would show it stretched) and in the palette's colours.
#include <QAbstractButton>
#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include "gui/base/icons.h"
#include "gui/base/scalable_icon_style.h"

// Without Qt's SVG reader (the Windows build) the drawings go along as fixed PNG pictures: no
// larger than 64 pixels, outlined in the Windows palette's text colour.
bool drawingsScale() {
    return QImageReader::supportedImageFormats().contains("svg");
}

class IconsTest : public QObject {
    Q_OBJECT

private slots:
    void messageIconsScaleAndOtherIconsAreTheStyles() {
        if (!drawingsScale()) {
            QSKIP("no SVG reader: the message icons are PNG pictures of at most 64 pixels");
        }
        QApplication::setStyle(new qor::gui::ScalableIconStyle(QStringLiteral("Fusion")));
        for (const QStyle::StandardPixmap icon :
             {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
              QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion}) {
            const QPixmap large = QApplication::style()->standardIcon(icon).pixmap(QSize(96, 96));
            QCOMPARE(large.size(), QSize(96, 96));
        }
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_DirIcon).isNull());

        // A box keeps its kind (and with it the sound and what screen readers say).
        QMessageBox box(QMessageBox::Critical, "t", "text", QMessageBox::Ok);
        QCOMPARE(box.icon(), QMessageBox::Critical);
        const QLabel* picture = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        QVERIFY(picture != nullptr);
        QVERIFY(!picture->pixmap().isNull());
        const auto* ok = qobject_cast<QAbstractButton*>(box.button(QMessageBox::Ok));
        QVERIFY(ok != nullptr && ok->icon().isNull());
    }

    // The outline of a toolbar picture takes the text colour: a dark palette shows it light.
    void commandPicturesFollowThePalette() {
        if (!drawingsScale()) {
            QSKIP("no SVG reader: the pictures are PNG, outlined in one colour");
        }
        const QPalette original = QApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(0x2a, 0x2a, 0x2a));
        dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
        const QIcon options = qor::gui::commandIcon(qor::gui::CommandIcon::Options);
        const auto outline = [&] {
            const QImage picture = options.pixmap(QSize(48, 48)).toImage();
            if (picture.size() != QSize(48, 48)) {
                return -1;
            }
            return QColor(picture.pixel(30, 12)).lightness();  // on the first slider's line
        };
        QApplication::setPalette(original);
        const int light = outline();
        QApplication::setPalette(dark);
        const int onDark = outline();
        QApplication::setPalette(original);
        QVERIFY2(light >= 0 && light < 90, qPrintable(QString::number(light)));
        QVERIFY2(onDark > 180, qPrintable(QString::number(onDark)));
        QCOMPARE(options.pixmap(QSize(96, 96)).size(), QSize(96, 96));
    }
};

QTEST_MAIN(IconsTest)
#include "icons_qtest.moc"
