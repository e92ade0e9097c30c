#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app_fixture.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/output/progress_window.h"

using qor::gui::MainWindow;
using qor::scan::ElementType;
using qor::testing::AppFixture;

namespace {

std::filesystem::path csvFolder(const AppFixture& fixture) {
    return fixture.folder.path() / "Node12_04Dec2026" / "Csv Files";
}

void prepare(AppFixture& fixture) {
    fixture.session.options.outputMode = qor::options::OutputMode::CsvFilesOnly;
    fixture.session.options.scanResultFolderPath = fixture.resultRoot();
    qor::testing::enable(fixture.session, ElementType::AI);
    qor::testing::enable(fixture.session, ElementType::DI, {"NAME", "DESCR"});
    fixture.store.setValue("Settings", "ShowSearchStatusDialog", "0");
}

// Clicks "Close" of the statistics window; notes what the main window allowed meanwhile.
struct StatisticsCloser {
    MainWindow* window = nullptr;
    bool commandsBlocked = false;
    QString title;
    void operator()(QDialog& dialog) {
        title = dialog.windowTitle();
        if (title == "Search Results Statistics") {
            commandsBlocked = !window->menuItem("keyScanFile")->isEnabled() &&
                              !window->menuItem("keyOpen")->isEnabled() &&
                              !window->menuItem("keyOptions")->isEnabled() &&
                              !window->toolbarButton(1)->isEnabled();
            dialog.findChild<QPushButton*>("cmdClose")->click();
        }
    }
};

}  // namespace

class ScanCommandTest : public QObject {
    Q_OBJECT

private slots:
    void scanWritesResultsAndShowsStatistics() {
        AppFixture fixture;
        prepare(fixture);
        MainWindow window(fixture.context);
        window.show();
        window.openByPath(fixture.samplePath());
        QCOMPARE(fixture.session.nodeInfo.nodeNumber, std::string("12"));

        StatisticsCloser closer;
        closer.window = &window;
        fixture.desktop.onModal = [&closer](QDialog& dialog) { closer(dialog); };
        window.menuItem("keyScanFile")->trigger();

        QCOMPARE(closer.title, QString("Search Results Statistics"));
        QVERIFY(closer.commandsBlocked);
        for (const auto& [type, written] : {std::pair{"AI", true}, {"DI", true}, {"AO", false}}) {
            QCOMPARE(std::filesystem::exists(csvFolder(fixture) /
                                             (std::string(type) + "_Node12_04Dec2026.csv")),
                     written);
        }
        QVERIFY(fixture.boxes.errors.empty());

        QCOMPARE(window.statusBarPanels().panelText(1), QString("Convert Completed"));
        QVERIFY(!window.statusBarPanels().progressShown());
        QVERIFY(window.progressWindow().isHidden());
        QVERIFY(window.tmrSwitchText().isActive());
        QVERIFY(window.menuItem("keyScanFile")->isEnabled() &&
                window.menuItem("keyOptions")->isEnabled());

        // When the timer fires, the status shows the export's date again.
        window.tmrSwitchText().setInterval(10);
        window.tmrSwitchText().start();
        QTRY_VERIFY(!window.tmrSwitchText().isActive());
        QCOMPARE(window.statusBarPanels().panelText(1),
                 "Data Base file (*.BA) generated with Online Builder on: " +
                     QString::fromStdString(fixture.session.nodeInfo.generationDate));

        // A second scan asks before replacing each file; answering No keeps them.
        fixture.boxes.defaultAnswer = false;
        window.scanFile();
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{2});
        QCOMPARE(fixture.boxes.prompts[0].placement, qor::PromptPlacement::OverMainWindow);
    }

    void nothingEnabledRefusesTheScan() {
        AppFixture fixture;
        fixture.session.options.scanResultFolderPath = fixture.resultRoot();
        MainWindow window(fixture.context);
        window.openByPath(fixture.samplePath());
        window.scanFile();
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});
        QCOMPARE(fixture.desktop.modalTitles, std::vector<std::string>{"Search Status"});
        QVERIFY(std::filesystem::is_empty(fixture.folder.path()));
    }

    void failedScanLeavesNothingBehindOnScreen() {
        AppFixture fixture;
        prepare(fixture);
        const auto exportFile = fixture.folder.path() / "node.qor";
        std::filesystem::copy_file(fixture.samplePath(), exportFile);
        MainWindow window(fixture.context);
        window.show();
        window.openByPath(exportFile.string());
        // The file goes away between opening and scanning: the first reader fails.
        std::filesystem::remove(exportFile);
        window.scanFile();

        QCOMPARE(fixture.boxes.errors.size(), std::size_t{1});
        QCOMPARE(fixture.boxes.errors[0].procedure, std::string("mnuFileScan_Click"));
        QVERIFY(fixture.desktop.modalTitles.empty());
        QVERIFY(window.progressWindow().isHidden());
        QVERIFY(!window.statusBarPanels().progressShown());
        QVERIFY(window.statusBarPanels().panelText(1).startsWith("Data Base file (*.BA)"));
        QVERIFY(!window.scanRunning());
        QVERIFY(window.menuItem("keyScanFile")->isEnabled() &&
                window.menuItem("keyOpen")->isEnabled());
    }

    void scanNowOfTheSearchStatusDialogScans() {
        AppFixture fixture;
        prepare(fixture);
        fixture.store.setValue("Settings", "ShowSearchStatusDialog", "1");
        MainWindow window(fixture.context);
        window.openByPath(fixture.samplePath());
        StatisticsCloser closer;
        closer.window = &window;
        fixture.desktop.onModal = [&closer](QDialog& dialog) {
            if (dialog.windowTitle() == "Search Status") {
                dialog.findChild<QPushButton*>("cmdScanNow")->click();
            } else {
                closer(dialog);
            }
        };
        window.toolbarButton(1)->trigger();
        QCOMPARE(fixture.desktop.modalTitles,
                 (std::vector<std::string>{"Search Status", "Search Results Statistics"}));
        QVERIFY(std::filesystem::exists(csvFolder(fixture) / "AI_Node12_04Dec2026.csv"));
        QVERIFY(fixture.boxes.errors.empty());
    }

    void optionsClosedByTheTitleBarAreReloaded() {
        AppFixture fixture;
        fixture.store.setValue("chkAISParameters", "EnableSearch", "1");
        fixture.store.setValue("chkAISParameters", "NAME", "1");
        MainWindow window(fixture.context);
        window.optionsDialog();
        QVERIFY(fixture.session.options.of(ElementType::AI).enabled);

        // An edit, then the title bar: the edit is gone and the store is untouched.
        fixture.desktop.onModal = [&fixture](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Search Options"));
            fixture.session.options.of(ElementType::AI).enabled = false;
            dialog.reject();
        };
        window.menuItem("keyOptions")->trigger();
        QCOMPARE(fixture.store.value("chkAISParameters", "EnableSearch", ""), std::string("1"));
        window.optionsDialog();
        QVERIFY(fixture.session.options.of(ElementType::AI).enabled);

        // "OK" keeps the edit and stores it.
        fixture.desktop.onModal = [&fixture](QDialog& dialog) {
            fixture.session.options.of(ElementType::AI).enabled = false;
            dialog.findChild<QPushButton*>("cmdOK")->click();
        };
        window.toolbarButton(2)->trigger();
        QCOMPARE(fixture.store.value("chkAISParameters", "EnableSearch", ""), std::string("0"));
        QVERIFY(!fixture.session.searchStatus.anyEnabled());
    }

    void closingDuringAScanWaitsForItsEnd() {
        AppFixture fixture;
        prepare(fixture);
        MainWindow window(fixture.context);
        window.show();
        window.openByPath(fixture.samplePath());
        bool stillOpen = false;
        fixture.desktop.onModal = [&](QDialog& dialog) {
            // The session ends while the statistics of the scan are still up.
            window.close();
            stillOpen = window.isVisible() && !fixture.store.contains("Settings", "MainLeft");
            dialog.findChild<QPushButton*>("cmdClose")->click();
        };
        window.scanFile();
        QVERIFY(stillOpen);
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(fixture.store.contains("Settings", "MainLeft"));
        QCOMPARE(fixture.store.value("MRUFiles", "1", ""), fixture.samplePath());
    }
};

QTEST_MAIN(ScanCommandTest)
#include "scan_command_qtest.moc"
