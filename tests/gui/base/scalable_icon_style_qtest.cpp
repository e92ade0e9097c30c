// Message boxes show icons drawn for the screen's scale: a bitmap icon gives no pixmap larger
// than itself, so a box at double scale would show it stretched.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include "gui/base/scalable_icon_style.h"

class ScalableIconStyleTest : public QObject {
    Q_OBJECT

private slots:
    void messageIconsScaleAndOtherIconsAreTheStyles() {
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
};

QTEST_MAIN(ScalableIconStyleTest)
#include "scalable_icon_style_qtest.moc"
