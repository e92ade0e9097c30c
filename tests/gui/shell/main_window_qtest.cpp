// The main window on its own: what it offers at load, its placement, the recent files and the
// help and tool commands.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <fstream>

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include "gui/base/main_status_bar.h"
#include "gui/base/message_box_ui.h"
#include "gui/base/twips.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/options/cabinet_module_dialog.h"
#include "gui/options/options_dialog.h"
#include "gui/options/search_status_dialog.h"
#include "gui/scan/progress_window.h"
#include "gui/scan/statistics_window.h"
#include "gui/shell/about_box.h"
#include "gui/shell/main_window.h"
#include "gui/shell/system_information.h"
#include "gui/shell/window_placement.h"
#include "support/app_fixture.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;
using qor::testing::AppFixture;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void commandsAtLoadAndTheToolbarSwitch() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        const qor::gui::MainActions& commands = window.commands();
        // No close button: the program is left through "Exit".
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        // Scan and compare need a file; the recent files wait for a first file.
        QVERIFY(!commands.scanFile->isEnabled() && !commands.compare->isEnabled());
        QVERIFY(!commands.recentMenu->menuAction()->isVisible());
        QVERIFY(!commands.recent[0]->isVisible());
        QVERIFY(commands.open->isEnabled() && !commands.cancelScan->isEnabled());
        QVERIFY(commands.exit->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)) &&
                commands.exit->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Q)));
        // Every toolbar button is the action of a menu item.
        QList<QAction*> inMenus;
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            inMenus << menu->actions();
        }
        for (QAction* button : window.toolbar()->actions()) {
            QVERIFY2(button->isSeparator() || inMenus.contains(button), qPrintable(button->text()));
        }
        QVERIFY(!window.statusBarPanels().progressShown());
        QVERIFY(!window.tmrSwitchText().isActive());
        QCOMPARE(fixture.session.startDateStamp, std::string("04Dec2026"));

        window.show();
        for (const bool shown : {false, true}) {
            commands.toolbar->trigger();
            QCOMPARE(commands.toolbar->isChecked(), shown);
            QCOMPARE(window.toolbar()->isHidden(), !shown);
        }
    }

    // A stored placement comes back moved and shrunk onto the screen where it must be.
    void placementStaysOnTheScreen_data() {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("placed");
        const QRect screen(0, 0, 1280, 800);
        QTest::newRow("inside") << QRect(100, 50, 800, 600) << QRect(100, 50, 800, 600);
        QTest::newRow("other monitor") << QRect(1500, 900, 800, 600) << QRect(480, 200, 800, 600);
        QTest::newRow("above and left") << QRect(-300, -40, 800, 600) << QRect(0, 0, 800, 600);
        QTest::newRow("stored at 2x") << QRect(20, 10, 2400, 1500) << screen;
    }
    void placementStaysOnTheScreen() {
        QFETCH(QRect, wanted);
        QFETCH(QRect, placed);
        QCOMPARE(qor::gui::placeOnScreen(wanted, QRect(0, 0, 1280, 800)), placed);
    }

    void placementIsStoredOnCloseAndExitEndsTheFirstRun() {
        AppFixture fixture;
        const auto stored = [&fixture] {
            return fixture.store.value("Settings", "MainGeometry", "");
        };
        {
            // A first run takes two thirds of the screen, in its middle.
            MainWindow window(fixture.context);
            const QRect available = window.screen()->availableGeometry();
            QCOMPARE(window.geometry(), qor::gui::defaultPlacement(available));
            window.show();
            window.setGeometry(150, 120, 600, 400);
            window.close();
            QVERIFY(!fixture.store.contains("Settings", "FirstInstance"));
            QVERIFY(!stored().empty());
        }
        {
            MainWindow window(fixture.context);
            QCOMPARE(window.geometry(), QRect(150, 120, 600, 400));
            window.show();
            window.move(200, 120);
            window.commands().exit->trigger();
            QCOMPARE(fixture.store.value("Settings", "FirstInstance", ""), std::string("1"));
            // Only Qt's geometry is stored.
            QVERIFY(!fixture.store.contains("Settings", "MainLeft"));
        }
        {
            // Left maximised, the window comes back maximised.
            MainWindow window(fixture.context);
            window.showMaximized();
            window.close();
            MainWindow again(fixture.context);
            QVERIFY(again.windowState() & Qt::WindowMaximized);
        }
        {
            // A minimised window leaves the stored placement as it was.
            MainWindow window(fixture.context);
            const std::string before = stored();
            window.show();
            window.move(300, 300);
            window.showMinimized();
            if (!window.isMinimized()) {
                QSKIP("this platform cannot minimise windows");
            }
            window.close();
            QCOMPARE(stored(), before);
        }
    }

    // An earlier version's placement in twips is read until the window stores its own
    // geometry: wholly on the screen, the title bar within reach.
    void olderPlacementIsReadOnce_data() {
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<bool>("onScreen");  // as stored, frame and all
        // Larger than the window's least size on any platform.
        QTest::newRow("inside") << QRect(1500, 1500, 9000, 6000) << true;
        QTest::newRow("above the screen") << QRect(0, -2000, 9000, 6000) << false;
        QTest::newRow("larger than the screen") << QRect(0, 0, 60000, 40000) << false;
    }
    void olderPlacementIsReadOnce() {
        QFETCH(QRect, twips);
        QFETCH(bool, onScreen);
        AppFixture fixture;
        for (const auto& [key, value] : {std::pair{"MainLeft", twips.left()},
                                         {"MainTop", twips.top()},
                                         {"MainWidth", twips.width()},
                                         {"MainHeight", twips.height()}}) {
            fixture.store.setValue("Settings", key, std::to_string(value));
        }
        QRect placed;
        {
            MainWindow window(fixture.context);
            const double perPixel = qor::gui::twipsPerPixel(&window);
            const QRect wanted(qRound(twips.left() / perPixel), qRound(twips.top() / perPixel),
                               qRound(twips.width() / perPixel), qRound(twips.height() / perPixel));
            placed = window.geometry();
            const QRect available = window.screen()->availableGeometry();
            QVERIFY(available.contains(placed.adjusted(0, -20, 0, 0)));
            QCOMPARE(placed == wanted, onScreen);
            window.show();
            window.close();
        }
        fixture.store.setValue("Settings", "MainLeft", "100");
        MainWindow window(fixture.context);
        QCOMPARE(window.geometry(), placed);
    }

    // The newest file first; a reopened one moves to the top; long paths are elided in the
    // middle; "Clear List" empties the list and its stored keys.
    void recentFilesNewestFirst() {
        AppFixture fixture;
        std::vector<QString> paths;
        for (int i = 1; i <= 6; ++i) {
            const auto path = fixture.folder.path() / ("node " + std::to_string(i) + " & co.qor");
            std::filesystem::copy_file(fixture.samplePath(), path);
            paths.push_back(QString::fromStdString(path.string()));
        }
        const auto open = [&fixture](MainWindow& window, const QString& path) {
            fixture.desktop.chosenFiles.push_back(path.toStdString());
            window.openWithDialog();
            QVERIFY(qor::testing::openEnded(window));
        };
        const auto listed = [](const MainWindow& window) {
            std::vector<QString> files;
            for (int slot = 1; slot <= window.recentFiles().count(); ++slot) {
                files.push_back(*window.recentFiles().path(slot));
            }
            return files;
        };
        {
            MainWindow window(fixture.context);
            for (int i = 0; i < 3; ++i) {
                open(window, paths[i]);
            }
            QVERIFY(window.commands().recentMenu->menuAction()->isVisible());
            QCOMPARE(listed(window), (std::vector{paths[2], paths[1], paths[0]}));
            // An "&" in a path is shown, not taken as a mnemonic.
            QCOMPARE(window.commands().recent[0]->text(),
                     "&1 " + QString(paths[2]).replace("&", "&&"));
            window.close();
        }
        MainWindow window(fixture.context);
        QCOMPARE(listed(window), (std::vector{paths[2], paths[1], paths[0]}));
        for (int i = 3; i < 6; ++i) {
            open(window, paths[i]);
        }
        // The sixth file goes to the top; the oldest drops out.
        QCOMPARE(listed(window), (std::vector{paths[5], paths[4], paths[3], paths[2], paths[1]}));
        open(window, paths[3]);
        window.openRecentFile(5);
        QVERIFY(qor::testing::openEnded(window));
        QCOMPARE(listed(window), (std::vector{paths[1], paths[3], paths[5], paths[4], paths[2]}));
        QCOMPARE(window.activeDocument()->parentWidget()->windowTitle(), paths[1]);

        const auto deep = fixture.folder.path() / std::string(200, 'd') / "deep.qor";
        std::filesystem::create_directories(deep.parent_path());
        std::filesystem::copy_file(fixture.samplePath(), deep);
        open(window, QString::fromStdString(deep.string()));
        const QAction& top = *window.commands().recent[0];
        QVERIFY2((top.text().contains(QChar(0x2026)) || top.text().contains("...")) &&
                     top.text().endsWith("deep.qor"),
                 qPrintable(top.text()));
        QCOMPARE(top.toolTip(), qor::gui::shownPath(deep.string()));
        const int menuWidth = window.commands().recentMenu->sizeHint().width();
        const int screenWidth = window.screen()->availableGeometry().width();
        QVERIFY2(menuWidth < screenWidth * 2 / 3,
                 qPrintable(QString("menu %1 px, screen %2 px").arg(menuWidth).arg(screenWidth)));

        window.commands().clearRecent->trigger();
        QCOMPARE(window.recentFiles().count(), 0);
        QVERIFY(!window.commands().recentMenu->menuAction()->isVisible());
        window.close();
        for (const char* key : {"1", "5"}) {
            QCOMPARE(fixture.store.value("MRUFiles", key, "?"), std::string());
        }
    }

    void recentFilesLoadUpToTheFirstGap() {
        AppFixture fixture;
        fixture.store.setValue("MRUFiles", "1", "  " + fixture.resultRoot() + "/gone.qor ");
        fixture.store.setValue("MRUFiles", "2", "/data/b.qor");
        fixture.store.setValue("MRUFiles", "4", "/data/d.qor");
        MainWindow window(fixture.context);
        QCOMPARE(window.recentFiles().count(), 2);
        QCOMPARE(*window.recentFiles().path(1),
                 QString::fromStdString(fixture.resultRoot() + "/gone.qor"));
        // A file that has gone is reported; it stays listed unless the user takes it out.
        fixture.boxes.answers = {false, true};
        window.commands().recent[0]->trigger();
        QCOMPARE(window.recentFiles().count(), 2);
        window.commands().recent[0]->trigger();
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{2});
        QVERIFY(fixture.boxes.prompts[0].text.find("gone.qor") != std::string::npos);
        QCOMPARE(window.recentFiles().count(), 1);
        QCOMPARE(*window.recentFiles().path(1), QString("/data/b.qor"));
        QCOMPARE(window.commands().recent[0]->text(),
                 "&1 " + qor::gui::shownPath(QString("/data/b.qor")));
        QVERIFY(window.activeDocument() == nullptr);
        window.close();
        // Key 4 stays unread and untouched; key 3 is not written for a free slot; the key of
        // the entry taken out is emptied.
        QCOMPARE(fixture.store.value("MRUFiles", "1", ""), std::string("/data/b.qor"));
        QCOMPARE(fixture.store.value("MRUFiles", "2", "?"), std::string());
        QVERIFY(!fixture.store.contains("MRUFiles", "3"));
        QCOMPARE(fixture.store.value("MRUFiles", "4", ""), std::string("/data/d.qor"));
    }

    // The Window menu lists the open windows, the active one checked, and moves between them;
    // cascading and tiling leave a single window at least two thirds of the area, and several
    // inside it.
    void windowMenuListsAndArrangesTheWindows() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const qor::gui::MainActions& commands = window.commands();
        QVERIFY(!commands.cascade->isEnabled() && !commands.closeWindow->isEnabled());
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        const QRect area = window.documents().viewport()->rect();
        const auto check = [&](QAction* command, const char* what, int count) {
            command->trigger();
            const QList<QMdiSubWindow*> windows = window.documents().subWindowList();
            QCOMPARE(windows.size(), count);
            for (const QMdiSubWindow* shown : windows) {
                QVERIFY2(area.contains(shown->geometry()), what);
                QVERIFY2(3 * shown->width() >= 2 * area.width() || count > 1, what);
                QVERIFY2(3 * shown->height() >= 2 * area.height() || count > 1, what);
            }
            if (count == 3 && command != commands.cascade) {  // tiles do not overlap
                QVERIFY2(!windows[0]->geometry().intersects(windows[1]->geometry()), what);
            }
        };
        for (const int count : {1, 3}) {
            while (window.documents().subWindowList().size() < count) {
                window.documents().addSubWindow(new QWidget)->setWindowTitle("Changes");
            }
            check(commands.cascade, "cascade", count);
            check(commands.tileHorizontally, "tile horizontally", count);
            check(commands.tileVertically, "tile vertically", count);
        }
        commands.cascade->trigger();
        // In a cascade each window shows its title bar beside the one before.
        const QList<QMdiSubWindow*> windows = window.documents().subWindowList();
        QVERIFY(windows[0]->pos() != windows[1]->pos() && windows[1]->pos() != windows[2]->pos());

        const auto listed = [&commands] {
            emit commands.windowMenu->aboutToShow();
            QStringList items;
            const QList<QAction*> actions = commands.windowMenu->actions();
            for (auto i = actions.indexOf(commands.previousWindow) + 1; i < actions.size(); ++i) {
                if (!actions[i]->isSeparator()) {
                    items << (actions[i]->isChecked() ? "*" : "") + actions[i]->text();
                }
            }
            return items;
        };
        const QString document = "&1 " + qor::gui::shownPath(fixture.samplePath());
        window.documents().setActiveSubWindow(windows[0]);
        QCOMPARE(listed(), (QStringList{"*" + document, "&2 Changes", "&3 Changes"}));
        commands.nextWindow->trigger();
        QCOMPARE(window.documents().activeSubWindow(), windows[1]);
        // The menu shows the keys a person presses for Previous, and they work.
        QCOMPARE(commands.previousWindow->shortcut().toString(QKeySequence::NativeText),
                 QString("Ctrl+Shift+Tab"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.documents().activeSubWindow(), windows[0]);
        listed();
        commands.windowMenu->actions().last()->trigger();
        QCOMPARE(window.documents().activeSubWindow(), windows[2]);
        commands.closeWindow->trigger();
        QTRY_COMPARE(listed(), (QStringList{"*" + document, "&2 Changes"}));
        commands.closeAllWindows->trigger();
        QTRY_COMPARE(listed(), QStringList{});
        QVERIFY(!commands.cascade->isEnabled() && !commands.nextWindow->isEnabled());
    }

    // Every menu item and every dialog button can be reached from the keyboard, each with a
    // letter of its own within its menu or window; every dialog leaves room for its caption and
    // closes with Escape.
    void everyCommandHasItsOwnMnemonic() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        const auto check = [](const QList<QString>& texts, const QString& where) {
            QSet<QString> keys;
            for (const QString& text : texts) {
                const QString key = QKeySequence::mnemonic(text).toString();
                QVERIFY2(!key.isEmpty(), qPrintable(where + ": " + text));
                QVERIFY2(!keys.contains(key), qPrintable(where + ": " + text));
                keys.insert(key);
            }
        };
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            QList<QString> texts;
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && menu != window.commands().recentMenu) {
                    texts << action->text();
                }
            }
            check(texts, menu->title());
        }
        qor::options::CabinetModuleTable table;
        qor::gui::CabinetModuleDialog cabinet(table, fixture.boxes);
        qor::gui::AboutBox about(fixture.desktop);
        qor::gui::SystemInformationDialog information;
        qor::gui::StatisticsWindow statistics(fixture.session, fixture.clock, fixture.boxes);
        statistics.offerResults(fixture.desktop, false);
        window.progressWindow().setScanning(true);
        for (QWidget* dialog : std::initializer_list<QWidget*>{
                 &window.optionsDialog(), &window.searchStatusDialog(), &cabinet, &about,
                 &information, &statistics, &window.progressWindow()}) {
            // A tab's buttons share their letters with the dialog's own, not with other tabs'.
            auto* options = qobject_cast<qor::gui::OptionsDialog*>(dialog);
            for (int tab = 0; tab < (options != nullptr ? options->tabs().count() : 1); ++tab) {
                if (options != nullptr) {
                    options->tabs().setCurrentIndex(tab);
                }
                QList<QString> texts;
                for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                    if (options == nullptr || button->isVisibleTo(dialog)) {
                        texts << button->text();
                    }
                }
                check(texts, dialog->objectName());
            }
            dialog->show();
            QVERIFY2(dialog->width() >= qor::gui::captionWidth(*dialog),
                     qPrintable(dialog->windowTitle()));
            if (qobject_cast<QDialog*>(dialog) != nullptr) {
                dialog->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus != nullptr ? focus : dialog, Qt::Key_Escape);
                QVERIFY2(!dialog->isVisible(), qPrintable(dialog->windowTitle()));
            }
            dialog->hide();
        }
    }

    // A message box goes to the window in front: a modal dialog, else the progress window
    // that would hide it, else the main window.
    void messagesBelongToTheWindowInFront() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QCOMPARE(qor::gui::messageOwner(&window), &window);
        window.progressWindow().show();
        QCOMPARE(qor::gui::messageOwner(&window), &window.progressWindow());
        QWidget* inFront = nullptr;
        fixture.desktop.onModal = [&](QDialog& dialog) {
            inFront = qor::gui::messageOwner(&window);
            QCOMPARE(inFront, &dialog);
        };
        window.commands().about->trigger();
        QVERIFY(inFront != nullptr);
    }

    // The standard error message: its text as the description says it, where it happened in
    // the details, the error icon.
    void standardErrorKeepsItsLocationInTheDetails() {
        const qor::StandardError error{"Cannot open 'x.qor': it is a folder", "modMain",
                                       "GetNodeInfo", 42, "Numer bledu 1004"};
        const auto box = qor::gui::standardErrorBox(error, nullptr);
        QCOMPARE(box->windowTitle(), QString(".QOR Reader"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->text(), QString("Cannot open 'x.qor': it is a folder"));
        QCOMPARE(box->detailedText(),
                 QString("in QORReader.modMain.GetNodeInfo at line 42Numer bledu 1004"));
    }

    // Help Contents opens the user guide, "on the WEB..." the project's page, shown only where
    // the build names one; a viewer that does not start, or a guide that is not installed, is
    // said.
    void helpOpensTheGuideAndTheProjectPage() {
        AppFixture fixture;
        QVERIFY(!MainWindow(fixture.context).commands().projectPage->isVisible());
        fixture.context.projectPage = "https://example.org/qorreader";
        MainWindow window(fixture.context);
        QVERIFY(window.commands().projectPage->isVisible());
        const std::string guide = fixture.context.documentationPage.toStdString();
        for (const bool viewerStarts : {true, false}) {
            fixture.desktop.startSucceeds = viewerStarts;
            window.commands().helpContents->trigger();
            window.commands().projectPage->trigger();
        }
        const std::string web = "https://example.org/qorreader";
        QCOMPARE(fixture.desktop.urls, (std::vector<std::string>{guide, web, guide, web}));
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{2});
        // The guide no browser shows is named whole, on a line of its own, to be opened by hand.
        QVERIFY2(fixture.boxes.messages[0].text.ends_with(
                     "Open it by hand:\r\n" +
                     qor::platform::shownPath("/usr/share/doc/qorreader/index.html")),
                 fixture.boxes.messages[0].text.c_str());
        fixture.context.documentationPage.clear();
        window.commands().helpContents->trigger();
        QCOMPARE(fixture.boxes.messages.back().text,
                 std::string("The user guide is not installed with the program."));
    }

    // What cannot be done is said as it is: a file that is no export has no elements to list.
    void elementsOfANonExportSayWhyNot() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(
            window, fixture.folder.write("notes.qor", "Remember the spare parts.\n")));
        fixture.boxes.messages.clear();
        window.commands().elements->trigger();
        QVERIFY(!window.busy());
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});
        QVERIFY2(fixture.boxes.messages[0].text.ends_with(
                     "notes.qor' is not a node export: it holds neither node information nor "
                     "any element. It has no elements to list."),
                 fixture.boxes.messages[0].text.c_str());
    }

    // The file dialogs of the tools start in the result folder; a cancelled dialog starts
    // nothing; a folder or file that no program opens is said.
    void toolCommandsStartInTheResultFolder() {
        AppFixture fixture;
        fixture.session.options.scanResultFolderPath = fixture.resultRoot();
        MainWindow window(fixture.context);
        const qor::gui::MainActions& commands = window.commands();
        auto& desktop = fixture.desktop;
        desktop.chosenFiles.push_back("/results/Node12.txt");
        commands.statistics->trigger();
        QCOMPARE(desktop.executed, std::vector<std::string>{"/results/Node12.txt"});
        // Preview opens on the files the scans write, and offers every file too.
        for (const auto& [mode, first] :
             {std::pair{qor::options::OutputMode::CsvFilesOnly, "*.csv"},
              {qor::options::OutputMode::HtmlReport, "*.html;*.htm"},
              {qor::options::OutputMode::ExcelFilesOnly, "*.xls;*.xlsx"}}) {
            fixture.session.options.outputMode = mode;
            commands.previewOutputFiles->trigger();
            const auto& filters = desktop.dialogCalls.back().filters;
            QCOMPARE(filters.size(), std::size_t{4});
            QCOMPARE(filters.front().patterns, std::string(first));
            QCOMPARE(filters.back().patterns, std::string("*"));
        }
        QCOMPARE(desktop.dialogCalls.size(), std::size_t{4});
        QCOMPARE(desktop.dialogCalls[1].folder, fixture.resultRoot());
        commands.openResultFolder->trigger();
        QCOMPARE(desktop.executed.back(), fixture.resultRoot());
        QVERIFY(fixture.boxes.messages.empty());
        desktop.startSucceeds = false;
        commands.openResultFolder->trigger();
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});

        commands.about->trigger();
        QCOMPARE(desktop.modalTitles.size(), std::size_t{1});
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_qtest.moc"
