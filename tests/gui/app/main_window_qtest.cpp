#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include "app_fixture.h"
#include "gui/app/document_window.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/app/twips.h"

using qor::gui::MainWindow;
using qor::testing::AppFixture;

namespace {

QString sample() {
    return QString(QOR_EXAMPLES_DIR) + "/sample.qor";
}

std::filesystem::path copyOf(const qor::testing::TempDir& folder, const std::string& name) {
    const auto target = folder.path() / name;
    std::filesystem::copy_file(sample().toStdString(), target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void menuAndToolbarAtLoad();
    void placementDefaultsAndSaveOnClose();
    void exitMarksTheFirstRunDone();
    void recentFilesKeepTheirOrder();
    void recentFilesLoadUpToTheFirstGap();
    void missingRecentFileIsReportedAndKept();
    void helpAndToolCommands();
};

void MainWindowTest::menuAndToolbarAtLoad() {
    AppFixture fixture;
    MainWindow window(fixture.context);

    QCOMPARE(window.windowTitle(), QString(".QOR Reader"));
    // No close button: the program is left through "Exit".
    QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    for (const qor::gui::MenuItemDefinition& row : qor::gui::mainMenuTable()) {
        if (row.key[0] == '\0') {
            continue;
        }
        QAction* item = window.menuItem(row.key);
        QVERIFY2(item != nullptr, row.key);
        if (row.kind != qor::gui::MenuKind::Separator) {
            QCOMPARE(item->text(), QString(row.caption));
        }
        QCOMPARE(item->shortcut(), QKeySequence(QString(row.shortcut)));
        QCOMPARE(item->icon().isNull(), row.image == 0);
    }
    QCOMPARE(window.menuItem("keyScanFile")->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(window.menuItem("keyExit")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Q));

    // Scan is there only with a file; the recent files and the two separators hide.
    QVERIFY(!window.menuItem("keyScanFile")->isEnabled());
    QVERIFY(!window.toolbarButton(1)->isEnabled());
    QVERIFY(window.menuItem("keyOpen")->isEnabled());
    for (const char* key :
         {"keySeparator1", "keySeparator2", "keyRecent", "keyRecent1", "keyRecent5"}) {
        QVERIFY2(!window.menuItem(key)->isVisible(), key);
    }
    QCOMPARE(window.menuItem("keyRecent1")->text(), QString("null"));
    QVERIFY(window.menuItem("keyToolbar")->isChecked());
    QCOMPARE(window.statusBarPanels().panelText(1), QString("For Help, press F1"));
    QCOMPARE(window.statusBarPanels().panelText(2), QString("Node Number:"));
    QCOMPARE(window.statusBarPanels().panelText(3), QString("Node Descr.:"));
    QVERIFY(!window.statusBarPanels().progressShown());
    QVERIFY(!window.tmrSwitchText().isActive());
    QCOMPARE(window.tmrSwitchText().interval(), 7000);
    QCOMPARE(fixture.session.scan.startDateStamp, std::string("04Dec2026"));

    const QStringList tips{"Open Data Base File...",
                           "Scan Opened File...",
                           "Options...",
                           "Preview Search Status...",
                           "Data Base Element Statistics...",
                           "Preview Output Files..."};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(window.toolbarButton(i)->toolTip(), tips[i]);
        QVERIFY(!window.toolbarButton(i)->icon().isNull());
    }

    // "Toolbar" flips the strip.
    window.show();
    window.menuItem("keyToolbar")->trigger();
    QVERIFY(!window.menuItem("keyToolbar")->isChecked());
    QVERIFY(window.toolbar()->isHidden());
    window.menuItem("keyToolbar")->trigger();
    QVERIFY(!window.toolbar()->isHidden());
}

void MainWindowTest::placementDefaultsAndSaveOnClose() {
    AppFixture fixture;
    {
        MainWindow window(fixture.context);
        const double perPixel = qor::gui::twipsPerPixel(&window);
        QCOMPARE(window.pos(), QPoint(qor::gui::twipsToPixels(1000, perPixel),
                                      qor::gui::twipsToPixels(1000, perPixel)));
        QCOMPARE(window.size(), QSize(qor::gui::twipsToPixels(6500, perPixel),
                                      qor::gui::twipsToPixels(6500, perPixel)));
        window.show();
        window.move(150, 120);
        window.resize(800, 600);
        window.close();
        QVERIFY(!fixture.store.contains("Settings", "FirstInstance"));
        const double width = std::stod(fixture.store.value("Settings", "MainWidth", ""));
        QVERIFY(std::abs(width - 800 * perPixel) < 1);
    }
    {
        // The stored placement comes back; a minimised window leaves it unchanged.
        MainWindow window(fixture.context);
        QCOMPARE(window.size(), QSize(800, 600));
        QCOMPARE(window.pos(), QPoint(150, 120));
        const std::string stored = fixture.store.value("Settings", "MainLeft", "");
        window.show();
        window.move(300, 300);
        window.showMinimized();
        if (!window.isMinimized()) {
            QSKIP("this platform cannot minimise windows");
        }
        window.close();
        QCOMPARE(fixture.store.value("Settings", "MainLeft", ""), stored);
    }
}

void MainWindowTest::exitMarksTheFirstRunDone() {
    AppFixture fixture;
    MainWindow window(fixture.context);
    window.show();
    window.menuItem("keyExit")->trigger();
    QCOMPARE(fixture.store.value("Settings", "FirstInstance", ""), std::string("1"));
    QVERIFY(fixture.store.contains("Settings", "MainTop"));
}

void MainWindowTest::recentFilesKeepTheirOrder() {
    AppFixture fixture;
    std::vector<QString> paths;
    for (int i = 1; i <= 6; ++i) {
        paths.push_back(QString::fromStdString(
            copyOf(fixture.folder, "node " + std::to_string(i) + " & co.qor").string()));
    }
    {
        MainWindow window(fixture.context);
        for (int i = 0; i < 3; ++i) {
            fixture.desktop.chosenFiles.push_back(paths[i].toStdString());
            window.openWithDialog();
        }
        QVERIFY(window.menuItem("keyRecent")->isVisible());
        QCOMPARE(window.recentFiles().count(), 3);
        QCOMPARE(*window.recentFiles().path(1), paths[0]);
        QCOMPARE(*window.recentFiles().path(3), paths[2]);
        // An "&" in a path is shown, not taken as a mnemonic.
        QCOMPARE(window.menuItem("keyRecent1")->text(), QString(paths[0]).replace("&", "&&"));
        window.close();
    }
    {
        MainWindow window(fixture.context);
        QCOMPARE(window.recentFiles().count(), 3);
        QCOMPARE(*window.recentFiles().path(2), paths[1]);
        for (int i = 3; i < 6; ++i) {
            fixture.desktop.chosenFiles.push_back(paths[i].toStdString());
            window.openWithDialog();
        }
        // The sixth file goes to the top; the oldest drops out.
        QCOMPARE(*window.recentFiles().path(1), paths[5]);
        QCOMPARE(*window.recentFiles().path(2), paths[0]);
        QCOMPARE(*window.recentFiles().path(5), paths[3]);
        // Reopening a listed file, also the one in slot 5, changes nothing.
        fixture.desktop.chosenFiles.push_back(paths[3].toStdString());
        window.openWithDialog();
        window.openRecentFile(5);
        QCOMPARE(*window.recentFiles().path(1), paths[5]);
        QCOMPARE(*window.recentFiles().path(5), paths[3]);
        QCOMPARE(window.activeDocument()->parentWidget()->windowTitle(), paths[3]);
    }
}

void MainWindowTest::recentFilesLoadUpToTheFirstGap() {
    AppFixture fixture;
    fixture.store.setValue("MRUFiles", "1", "  /data/a.qor ");
    fixture.store.setValue("MRUFiles", "2", "/data/b.qor");
    fixture.store.setValue("MRUFiles", "4", "/data/d.qor");
    MainWindow window(fixture.context);
    QCOMPARE(window.recentFiles().count(), 2);
    QCOMPARE(*window.recentFiles().path(1), QString("/data/a.qor"));
    window.close();
    // Key 4 stays unread and untouched; key 3 is not written for a free slot.
    QCOMPARE(fixture.store.value("MRUFiles", "1", ""), std::string("/data/a.qor"));
    QVERIFY(!fixture.store.contains("MRUFiles", "3"));
    QCOMPARE(fixture.store.value("MRUFiles", "4", ""), std::string("/data/d.qor"));
}

void MainWindowTest::missingRecentFileIsReportedAndKept() {
    AppFixture fixture;
    fixture.store.setValue("MRUFiles", "1", fixture.resultRoot() + "/gone.qor");
    MainWindow window(fixture.context);
    window.menuItem("keyRecent1")->trigger();
    QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});
    QCOMPARE(fixture.boxes.messages[0].text,
             std::string("File does not exist. Windows registry entry for MRU files was propably "
                         "modyfied manually.\r\nSelect 'File' menu and then 'Open File...'"));
    QCOMPARE(fixture.boxes.messages[0].icon, qor::MessageIcon::Exclamation);
    QCOMPARE(window.recentFiles().count(), 1);
    QVERIFY(window.activeDocument() == nullptr);
}

void MainWindowTest::helpAndToolCommands() {
    AppFixture fixture;
    MainWindow window(fixture.context);

    window.menuItem("keyHelpContents")->trigger();
    QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});
    QCOMPARE(fixture.boxes.messages[0].title, std::string(".QOR Reader"));
    QCOMPARE(fixture.boxes.messages[0].text,
             std::string("Unable to display Help Contents. There is no *.chm help file in this "
                         "location."));
    // With the file in Help beside the program's folder, the desktop's viewer opens it.
    const auto help = fixture.folder.path() / "Help" / "QORReader.chm";
    std::filesystem::create_directories(help.parent_path());
    std::ofstream(help) << "help";
    window.menuItem("keyHelpContents")->trigger();
    QCOMPARE(fixture.desktop.executed.size(), std::size_t{1});
    QCOMPARE(std::filesystem::path(fixture.desktop.executed[0]), help);

    window.menuItem("keyApplOnTheWEB")->trigger();
    QCOMPARE(fixture.desktop.urls.size(), std::size_t{1});

    fixture.desktop.chosenFiles.push_back("/results/Node12.txt");
    window.toolbarButton(4)->trigger();
    QCOMPARE(fixture.desktop.dialogCalls.back().title, std::string("Open Statistics File..."));
    QCOMPARE(fixture.desktop.dialogCalls.back().filters[0].description,
             std::string("Statistic files (*.txt)"));
    QCOMPARE(fixture.desktop.executed.back(), std::string("/results/Node12.txt"));

    // Cancelling the preview dialog starts nothing.
    window.menuItem("keyShellExecute")->trigger();
    QCOMPARE(fixture.desktop.dialogCalls.back().title, std::string("Open File(s) for Preview..."));
    QCOMPARE(fixture.desktop.dialogCalls.back().filters.size(), std::size_t{3});
    QCOMPARE(fixture.desktop.dialogCalls.back().filters[2].patterns, std::string("*.html;*.htm"));
    QCOMPARE(fixture.desktop.executed.size(), std::size_t{2});

    window.menuItem("keyAbout")->trigger();
    QCOMPARE(fixture.desktop.modalTitles.back(), std::string("About .QOR Reader"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_qtest.moc"
