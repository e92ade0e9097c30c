// The about box, its version text and the icon set of the menus.
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/app/about_box.h"
#include "gui/app/icons.h"
#include "support/fake_desktop.h"
#include "support/scripted_ui.h"

using namespace qor;
using qor::gui::AboutBox;

namespace {

QString labelText(const QWidget& box, const char* name) {
    const auto* found = box.findChild<QLabel*>(QLatin1String(name));
    return found != nullptr ? found->text()
                            : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

QPushButton* button(const QWidget& box, const char* name) {
    return box.findChild<QPushButton*>(QLatin1String(name));
}

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
    void showsCaptionTitleAndVersion() {
        testing::ScriptedUi ui;
        testing::FakeDesktop desktop;
        AboutBox box(ui, desktop);
        QCOMPARE(box.windowTitle(), QStringLiteral("About .QOR Reader"));
        QCOMPARE(labelText(box, "lblTitle"), QStringLiteral(".QOR Reader"));
        QCOMPARE(labelText(box, "lblVersion"),
                 QString::fromStdString(gui::versionText(QOR_VERSION_TEXT)));
        QCOMPARE(labelText(box, "lblVersionCaption"), QStringLiteral("Version:"));
        QCOMPARE(labelText(box, "lblBuildCaption"), QStringLiteral("Build:"));
        QVERIFY(!box.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
        QCOMPARE(button(box, "cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(button(box, "cmdSysInfo")->text(), QStringLiteral("System Info..."));
    }

    void versionTextCases_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four parts") << "2.2.0.11"
                                    << "2.2.11";
        QTest::newRow("build macro") << "2.2.0"
                                     << "2.2.0";
        QTest::newRow("leading zeros") << "02.002.0.0011"
                                       << "2.2.11";
        QTest::newRow("two parts") << "3.1"
                                   << "3.1.0";
        QTest::newRow("one part") << "7"
                                  << "7.0.0";
        QTest::newRow("empty") << ""
                               << "0.0.0";
        QTest::newRow("fifth part ignored") << "1.2.3.4.5"
                                            << "1.2.4";
    }
    void versionTextCases() {
        QFETCH(QString, version);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(gui::versionText(version.toStdString())), expected);
    }

    void okCloses() {
        testing::ScriptedUi ui;
        testing::FakeDesktop desktop;
        AboutBox box(ui, desktop);
        desktop.onModal = [](QDialog& shown) { button(shown, "cmdOK")->click(); };
        QCOMPARE(desktop.runModal(box), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }

    // Tools "installed" in the fake desktop, whether starting works, and what happens.
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
        QCOMPARE(desktop.started.size(), std::size_t(started.isEmpty() ? 0 : 1));
        if (!started.isEmpty()) {
            QCOMPARE(desktop.started[0], std::vector<std::string>{started.toStdString()});
        }
        QCOMPARE(ui.messages.size(), std::size_t(unavailable ? 1 : 0));
        if (unavailable) {
            QCOMPARE(ui.messages[0].text,
                     std::string("System Information Is Unavailable At This Time"));
            QCOMPARE(ui.messages[0].title, std::string(".QOR Reader"));
        }
        QVERIFY(box.isVisible());  // the box stays open
    }

    void everyMenuIconAndTheApplicationIconLoad() {
        for (const int number : {1, 2, 3, 4, 5, 6, 8, 9, 10}) {
            const QIcon icon = gui::menuIcon(number);
            QVERIFY2(!icon.isNull(), qPrintable(gui::menuIconPath(number)));
            QVERIFY2(paintsSomething(icon), qPrintable(gui::menuIconPath(number)));
        }
        QVERIFY(!gui::applicationIcon().isNull());
        QVERIFY(paintsSomething(gui::applicationIcon()));
        for (const int unused : {0, 7, 11, -1}) {
            QVERIFY(gui::menuIcon(unused).isNull());
        }
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_qtest.moc"
