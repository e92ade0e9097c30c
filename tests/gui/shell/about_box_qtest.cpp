// The about box (its version text and the system information command) and the icon set of
// the menus.
#include <QImage>
#include <QtTest>

#include "gui/base/icons.h"
#include "gui/shell/about_box.h"
#include "support/fake_desktop.h"
#include "support/scripted_ui.h"
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
    void versionText() {
        for (const auto& [version, shown] : {std::pair{"02.002.0.0011", "2.2.11"},
                                             {"2.2.0", "2.2.0"},
                                             {"7", "7.0.0"},
                                             {"", "0.0.0"},
                                             {"1.2.3.4.5", "1.2.4"}}) {
            QCOMPARE(QString::fromStdString(gui::versionText(version)), QString(shown));
        }
    }

    // Tools "installed" in the fake desktop, whether starting works, and what happens; the box
    // stays open until OK.
    void systemInfo_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started");  // empty: nothing started
        QTest::addColumn<bool>("unavailable");
        QTest::newRow("first of the list wins")
            << QStringList{"gnome-system-monitor", "kinfocenter"} << true << "/usr/bin/kinfocenter"
            << false;
        QTest::newRow("hardinfo before all")
            << QStringList{"kinfocenter", "hardinfo"} << true << "/usr/bin/hardinfo" << false;
        QTest::newRow("none installed") << QStringList{} << true << "" << true;
        QTest::newRow("start fails")
            << QStringList{"hardinfo2"} << false << "/usr/bin/hardinfo2" << true;
    }
    void systemInfo() {
        QFETCH(QStringList, installed);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        QFETCH(bool, unavailable);
        testing::ScriptedUi ui;
        testing::FakeDesktop desktop;
        for (const QString& name : installed) {
            desktop.installedPrograms.push_back(name.toStdString());
        }
        desktop.startSucceeds = startWorks;
        AboutBox box(ui, desktop);
        box.show();
        button(box, "cmdSysInfo")->click();
        std::vector<std::vector<std::string>> expected;
        if (!started.isEmpty()) {
            expected.push_back({started.toStdString()});
        }
        QCOMPARE(desktop.started, expected);
        QCOMPARE(ui.messages.size(), std::size_t(unavailable ? 1 : 0));
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
