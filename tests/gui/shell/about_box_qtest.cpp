// The about box (its version text and the system information it shows) and the icon set of
// the menus.
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSysInfo>
#include <QThread>
#include <QtTest>

#include "core/base/build_info.h"
#include "gui/base/icons.h"
#include "gui/shell/about_box.h"
#include "support/fake_desktop.h"
#include "support/widget_lookup.h"

using namespace qor;
using qor::gui::AboutBox;
using qor::testing::button;

namespace {

// A pixmap with at least one pixel that is not fully transparent.
bool paintsSomething(const QIcon& icon) {
    QImage blank(32, 32, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    const QPixmap pixmap = icon.pixmap(QSize(32, 32));
    return !pixmap.isNull() && pixmap.toImage().convertToFormat(blank.format()) != blank;
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    // The version reads as --version prints it, every component of it.
    void versionIsTheBuildsOwn() {
        testing::FakeDesktop desktop;
        gui::AboutBox box(desktop);
        QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(),
                 QString::fromUtf8(build::kVersion.data(), qsizetype(build::kVersion.size())));
    }

    // "System Info..." shows what the system really is, and "Copy" puts it on the clipboard;
    // the about box stays open until OK.
    void systemInformationIsShownAndCopied() {
        testing::FakeDesktop desktop;
        QString shown;
        desktop.onModal = [&shown](QDialog& dialog) {
            shown =
                qobject_cast<QPlainTextEdit*>(dialog.findChild<QWidget*>("txtSystemInformation"))
                    ->toPlainText();
            button(dialog, "cmdCopy")->click();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        };
        AboutBox box(desktop);
        box.show();
        button(box, "cmdSysInfo")->click();
        QCOMPARE(desktop.modalTitles, std::vector<std::string>{"System Information"});
        for (const QString& fact :
             {QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), QString(qVersion()),
              QString("Processor cores: %1").arg(QThread::idealThreadCount()),
              QString("libxlsxwriter "), QString(" MiB installed")}) {
            QVERIFY2(shown.contains(fact), qPrintable(fact + " in\n" + shown));
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), shown);
        QVERIFY(box.isVisible());
        button(box, "cmdOK")->click();
        QVERIFY(!box.isVisible());
    }

    void everyCommandIconAndTheApplicationIconPaint() {
        for (int i = 0; i < gui::kCommandIconCount; ++i) {
            const auto icon = static_cast<gui::CommandIcon>(i);
            QVERIFY2(paintsSomething(gui::commandIcon(icon)),
                     qPrintable(gui::commandIconPath(icon)));
        }
        QVERIFY(paintsSomething(gui::applicationIcon()));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_qtest.moc"
