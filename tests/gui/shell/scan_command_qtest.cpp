// The scan started from the main window: directly, through the search status dialog, with
// nothing enabled, failing, held up by another computer's lock, and interrupted by closing the
// window; and the options dialog as the main window keeps or discards it.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "core/platform/path_names.h"
#include "gui/base/desktop.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/widget_lookup.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;
using qor::scan::ElementType;
using qor::testing::AppFixture;
using qor::testing::button;

namespace {

std::filesystem::path csvFile(const AppFixture& fixture, const std::string& type) {
    return fixture.folder.path() / "Node12_04Dec2026" / "Csv Files" /
           (type + "_Node12_04Dec2026.csv");
}

// CSV files for AI and for DI's NAME and DESCR, no search status dialog before a scan.
void prepare(AppFixture& fixture) {
    fixture.session.options.outputMode = qor::options::OutputMode::CsvFilesOnly;
    fixture.session.options.scanResultFolderPath = fixture.resultRoot();
    qor::testing::enable(fixture.session, ElementType::AI);
    qor::testing::enable(fixture.session, ElementType::DI, {"NAME", "DESCR"});
    fixture.session.options.showSearchStatusDialog = false;
}

// A store that scans the type of `section` into CSV files, without the search status dialog.
void storeCsvScanOf(AppFixture& fixture, const char* section) {
    for (const auto& [key, value] : {std::pair{"SaveToCSVOnly", "True"},
                                     {"SaveToHTMLReport", "False"},
                                     {"ShowSearchStatusDialog", "0"}}) {
        fixture.store.setValue("Settings", key, value);
    }
    fixture.store.setValue(section, "EnableSearch", "1");
}

// Each modal dialog gets `meanwhile`, then a click on the first of `buttons` it has.
void answerWith(AppFixture& fixture, std::vector<QString> buttons,
                std::function<void(QDialog&)> meanwhile = {}) {
    fixture.desktop.onModal = [buttons, meanwhile](QDialog& dialog) {
        if (meanwhile) {
            meanwhile(dialog);
        }
        for (const QString& name : buttons) {
            if (auto* button = dialog.findChild<QPushButton*>(name)) {
                button->click();
                return;
            }
        }
    };
}

// The scan runs on a thread of its own: true once it has ended and its results were shown.
bool finished(const MainWindow& window) {
    return QTest::qWaitFor([&window] { return !window.busy(); }, 30000);
}

}  // namespace

class ScanCommandTest : public QObject {
    Q_OBJECT

private slots:
    // A scan, then two that are cancelled (the progress window's button, Escape) before
    // anything is replaced, then one more that asks before replacing each file.
    void scanWritesResultsAndShowsStatistics() {
        AppFixture fixture;
        prepare(fixture);
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        bool blocked = false;  // the commands while the statistics are up
        QString aiCount;
        const qor::gui::MainActions& commands = window.commands();
        answerWith(fixture, {"cmdClose"}, [&](QDialog& dialog) {
            blocked = !commands.scanFile->isEnabled() && !commands.open->isEnabled() &&
                      !commands.options->isEnabled() && !commands.statistics->isEnabled() &&
                      !commands.recent[0]->isEnabled() && commands.cancelScan->isEnabled();
            aiCount = dialog.findChild<QLabel*>("lblFoundElements_0")->text();
        });
        commands.scanFile->trigger();
        QVERIFY(window.busy());
        QVERIFY(finished(window));
        QCOMPARE(fixture.desktop.modalTitles,
                 std::vector<std::string>{"Search Results Statistics"});
        QVERIFY(blocked);
        QCOMPARE(aiCount, QString("8"));
        QVERIFY(fixture.boxes.errors.empty());
        QCOMPARE(window.statusBarPanels().panelText(1), QString("Convert Completed"));
        QVERIFY(!window.statusBarPanels().progressShown() && window.progressWindow().isHidden());
        QVERIFY(commands.scanFile->isEnabled() && commands.options->isEnabled());
        QVERIFY(!commands.cancelScan->isEnabled());

        // When the timer fires, the status shows the export's date again.
        QVERIFY(window.tmrSwitchText().isActive());
        window.tmrSwitchText().start(10);
        QTRY_VERIFY(!window.tmrSwitchText().isActive());
        QCOMPARE(window.statusBarPanels().panelText(1),
                 "Data Base file (*.qor) generated with Online Builder on: " +
                     QString::fromStdString(fixture.session.nodeInfo.generationDate));

        // The first question comes before anything is read: the user cancels meanwhile.
        const std::string before = qor::testing::readFile(csvFile(fixture, "AI").string());
        for (const bool escape : {false, true}) {
            fixture.boxes.defaultAnswer = true;
            fixture.boxes.onAsk = [&](const qor::Prompt&) {
                fixture.boxes.onAsk = nullptr;
                qor::gui::ProgressWindow& progress = window.progressWindow();
                QVERIFY(progress.isVisible());
                // Nothing of the last scan: what is done now, as the status bar says it; and
                // the keyboard is the progress window's.
                QCOMPARE(progress.status(), qor::gui::ProgressWindow::preparingText());
                QCOMPARE(window.statusBarPanels().panelText(1), progress.status());
                // Also when a dialog that started the scan ("Scan Now") has just closed.
                qor::gui::returnFocus(&window);
                QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                            QApplication::focusWidget()->window() == &progress);
                if (escape) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                } else {
                    progress.findChild<QPushButton*>("cmdCancel")->click();
                }
            };
            window.scanFile();
            QVERIFY(finished(window));
            QCOMPARE(aiCount, QString("Cancelled"));
            QCOMPARE(qor::testing::readFile(csvFile(fixture, "AI").string()), before);
            QVERIFY(fixture.boxes.errors.empty() && window.progressWindow().isHidden());
            QVERIFY(commands.scanFile->isEnabled());
        }

        // Another scan asks over the main window before replacing a file; "No to All" there
        // keeps the second type's file without a question.
        fixture.boxes.prompts.clear();
        fixture.boxes.defaultAnswer = true;
        fixture.boxes.answersForAll = {qor::Answer::NoToAll};
        window.scanFile();
        QVERIFY(finished(window));
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{1});
        QCOMPARE(fixture.boxes.prompts[0].subject, qor::PromptSubject::ExistingFile);
        QCOMPARE(aiCount, QString("Kept"));
    }

    // On a fresh account the default result folder, Documents, is made for the first scan; a
    // folder the user chose that has gone stops the scan with one message, no statistics and
    // nothing of the scan left on screen.
    void missingResultFolders() {
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        for (const bool chosen : {false, true}) {
#ifdef _WIN32
            if (!chosen) {
                continue;  // Documents is the profile's known folder there: no test moves it
            }
#endif
            AppFixture fixture;
            qputenv("HOME", QByteArray::fromStdString(fixture.resultRoot()));
            qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(fixture.resultRoot() + "/config"));
            storeCsvScanOf(fixture, "chkAISParameters");
            if (chosen) {
                fixture.store.setValue("Settings", "ScanResultFolderPath",
                                       fixture.resultRoot() + "/gone");
            }
            MainWindow window(fixture.context);
            window.optionsDialog();
            QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
            answerWith(fixture, {"cmdSaveStatistic"});
            window.scanFile();
            QVERIFY(finished(window));
            const auto node = fixture.folder.path() / "Documents" / "Node12_04Dec2026";
            QCOMPARE(std::filesystem::exists(node / "Csv Files" / "AI_Node12_04Dec2026.csv"),
                     !chosen);
            QCOMPARE(std::filesystem::exists(node / "Node12.txt"), !chosen);
            QCOMPARE(fixture.boxes.errors.size(), std::size_t{chosen ? 1u : 0u});
            QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t{chosen ? 0u : 1u});
            if (chosen) {
                QVERIFY(fixture.boxes.errors[0].description.find(qor::platform::shownPath(
                            fixture.resultRoot() + "/gone")) != std::string::npos);
                QVERIFY(!std::filesystem::exists(fixture.folder.path() / "gone"));
                QCOMPARE(fixture.boxes.errors[0].procedure, std::string("mnuFileScan_Click"));
                QVERIFY(!window.statusBarPanels().progressShown());
                QVERIFY(window.progressWindow().isHidden());
                QVERIFY(window.statusBarPanels().panelText(1).startsWith("Data Base file (*.qor)"));
                QVERIFY(window.commands().open->isEnabled());
            }
        }
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
    }

    // A lock that a scan on another computer left: the scan asks, and takes it over on Yes
    // only; No leaves the folder alone without an error.
    void aForeignLockIsTakenOverOnlyOnYes() {
        AppFixture fixture;
        prepare(fixture);
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        answerWith(fixture, {"cmdClose"});
        const auto node = fixture.folder.path() / "Node12_04Dec2026";
        std::filesystem::create_directories(node);
        for (const bool yes : {false, true}) {
            fixture.folder.write("Node12_04Dec2026/.qorscan.lock", "77\nqorreader\nfaraway\n");
            fixture.boxes.answers = {yes};
            window.scanFile();
            QVERIFY(finished(window));
            QVERIFY(!fixture.boxes.prompts.empty());
            QVERIFY(fixture.boxes.prompts.back().text.find("computer 'faraway'") !=
                    std::string::npos);
            QCOMPARE(std::filesystem::exists(csvFile(fixture, "AI")), yes);
            QCOMPARE(std::filesystem::exists(node / ".qorscan.lock"), !yes);
            QVERIFY(fixture.boxes.errors.empty());
        }
    }

    // Some other file is shown, and the status bar and a message say what it is; a scan
    // refuses it with one message naming it, before any dialog, and makes nothing.
    void nonExportsAreShownButNotScanned_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
        QTest::newRow("empty") << QByteArray();
    }
    void nonExportsAreShownButNotScanned() {
        QFETCH(QByteArray, bytes);
        AppFixture fixture;
        prepare(fixture);
        fixture.session.options.showSearchStatusDialog = true;
        MainWindow window(fixture.context);
        const std::string path = fixture.folder.write("picture.qor", bytes.toStdString());
        QVERIFY(qor::testing::openedByPath(window, path));
        QCOMPARE(window.activeDocument()->parentWidget()->windowTitle(), qor::gui::shownPath(path));
        QVERIFY(window.statusBarPanels().panelText(1).startsWith("Not a node export"));
        window.commands().scanFile->trigger();
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{2});  // the opening's, the scan's
        for (const qor::Message& message : fixture.boxes.messages) {
            QVERIFY(message.text.find("'" + path + "' is not a node export") != std::string::npos);
        }
        QVERIFY(!window.busy() && fixture.desktop.modalTitles.empty());
        QVERIFY(fixture.boxes.errors.empty());
        QCOMPARE(std::distance(std::filesystem::directory_iterator(fixture.folder.path()), {}), 1);
    }

    // F2 and Enter scan on a fresh account: every type for the parameters read first. A store
    // that disables every type points Enter at "Change Settings"; left with "OK" (here after
    // "Select Every Parameter of Every Type") the options lead back to Search Status, where
    // Enter scans; left with "Cancel" they end the command. No box comes on the way.
    void enterScansFromAFreshAccount_data() {
        QTest::addColumn<bool>("everyTypeStoredOff");
        QTest::addColumn<QString>("leaveOptionsWith");
        QTest::addColumn<QStringList>("windows");
        QTest::addColumn<QString>("aiHeader");
        QTest::newRow("fresh account")
            << false << "" << QStringList{"Search Status", "Search Results Statistics"}
            << "CHANNEL,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,";
        QTest::newRow("all off, OK")
            << true << "cmdOK"
            << QStringList{"Search Status", "Search Options", "Search Status",
                           "Search Results Statistics"}
            << "CHANNEL,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,CONV_PAR,FILTER_P,SCANT,";
        QTest::newRow("all off, Cancel")
            << true << "cmdCancel" << QStringList{"Search Status", "Search Options"} << "";
    }
    void enterScansFromAFreshAccount() {
        QFETCH(bool, everyTypeStoredOff);
        QFETCH(QString, leaveOptionsWith);
        QFETCH(QStringList, windows);
        QFETCH(QString, aiHeader);
        AppFixture fixture;
        fixture.store.setValue("Settings", "ScanResultFolderPath", fixture.resultRoot());
        if (everyTypeStoredOff) {
            qor::testing::storeEveryTypeOff(fixture.store);
        }
        MainWindow window(fixture.context);
        window.loadOptions();  // as start-up does
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList defaults;  // Search Status's default button at each showing
        fixture.desktop.onModal = [&](QDialog& dialog) {
            if (dialog.windowTitle() == "Search Status") {
                for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                    if (button->isDefault()) {
                        defaults << button->objectName();
                    }
                }
                QTest::keyClick(&dialog, Qt::Key_Return);
            } else if (dialog.windowTitle() == "Search Options") {
                button(dialog, "cmdSelectEveryParameter")->click();
                button(dialog, leaveOptionsWith)->click();
            } else {
                button(dialog, "cmdClose")->click();
            }
        };
        QTest::keyClick(&window, Qt::Key_F2);
        QVERIFY(finished(window));
        QStringList shown;
        for (const std::string& title : fixture.desktop.modalTitles) {
            shown << QString::fromStdString(title);
        }
        QCOMPARE(shown, windows);
        const bool scanned = !aiHeader.isEmpty();
        QCOMPARE(defaults.size(), windows.count("Search Status"));
        QCOMPARE(defaults.front(),
                 QString(everyTypeStoredOff ? "cmdChangeSettings" : "cmdScanNow"));
        QCOMPARE(defaults.back(), QString(scanned ? "cmdScanNow" : "cmdChangeSettings"));
        QVERIFY(fixture.boxes.messages.empty() && fixture.boxes.errors.empty());
        QCOMPARE(fixture.session.lastScan.typesWritten, scanned ? 14 : 0);
        if (scanned) {
            QCOMPARE(fixture.session.columns[0].headerLine, aiHeader.toStdString());
            QVERIFY(std::filesystem::exists(fixture.folder.path() / "Node12_04Dec2026" /
                                            "Html Files" / "AI_Node12_04Dec2026.html"));
        }
    }

    // "Scan Now" scans what the cells show, also a type switched on there only, which the
    // store keeps off.
    void scanNowOfTheSearchStatusDialogScans() {
        AppFixture fixture;
        prepare(fixture);
        fixture.session.options.showSearchStatusDialog = true;
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        answerWith(fixture, {"cmdScanNow", "cmdClose"}, [](QDialog& dialog) {
            if (auto* datb = dialog.findChild<QLabel*>("lblStatus_11")) {
                QTest::mouseClick(datb, Qt::LeftButton);
            }
        });
        window.commands().scanFile->trigger();
        QVERIFY(finished(window));
        QCOMPARE(fixture.desktop.modalTitles,
                 (std::vector<std::string>{"Search Status", "Search Results Statistics"}));
        QVERIFY(std::filesystem::exists(csvFile(fixture, "AI")));
        QVERIFY(std::filesystem::exists(csvFile(fixture, "DATB")));
        QCOMPARE(fixture.store.value("chkDATBParameters", "EnableSearch", "0"), std::string("0"));
        QVERIFY(fixture.boxes.errors.empty());
    }

    // An edit reaches the record, the scan and the statistics only through "OK": closed by
    // its title bar, the dialog leaves all of them as the store holds them.
    void discardedOptionsAreNotScanned() {
        AppFixture fixture;
        storeCsvScanOf(fixture, "chkDISParameters");
        fixture.store.setValue("chkDISParameters", "NAME", "1");
        fixture.store.setValue("Settings", "ScanResultFolderPath", fixture.resultRoot());
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        QString aiCount;
        for (const bool kept : {false, true}) {
            answerWith(fixture, {kept ? "cmdOK" : "none", "cmdClose"}, [&](QDialog& dialog) {
                if (auto* enable = dialog.findChild<QAbstractButton*>("chkAISEnableSearch")) {
                    enable->click();
                    if (!kept) {
                        dialog.reject();
                    }
                } else if (auto* count = dialog.findChild<QLabel*>("lblFoundElements_0")) {
                    aiCount = count->text();
                }
            });
            window.commands().options->trigger();
            window.scanFile();
            QVERIFY(finished(window));
            QCOMPARE(std::filesystem::exists(csvFile(fixture, "AI")), kept);
            QVERIFY(std::filesystem::exists(csvFile(fixture, "DI")));
            QCOMPARE(aiCount == "Search Disabled", !kept);
            QCOMPARE(fixture.store.value("chkAISParameters", "EnableSearch", "0"),
                     std::string(kept ? "1" : "0"));
        }
    }

    // Closed while the scan reads (at its first question) or while its statistics are up, the
    // window stays until the scan has ended, then closes as ever; a scan cut short by the
    // close shows no statistics.
    void closingDuringAScanWaitsForItsEnd() {
        for (const bool whileReading : {true, false}) {
            AppFixture fixture;
            prepare(fixture);
            MainWindow window(fixture.context);
            window.show();
            QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
            bool stillOpen = false;
            const auto closeNow = [&] {
                window.close();
                stillOpen =
                    window.isVisible() && !fixture.store.contains("Settings", "MainGeometry");
            };
            if (whileReading) {
                // The second scan asks before replacing the first one's files.
                window.scanFile();
                QVERIFY(finished(window));
                fixture.desktop.modalTitles.clear();
                fixture.boxes.defaultAnswer = true;
                fixture.boxes.onAsk = [&](const qor::Prompt&) {
                    fixture.boxes.onAsk = nullptr;
                    closeNow();
                };
            } else {
                answerWith(fixture, {"cmdClose"}, [&](QDialog&) { closeNow(); });
            }
            window.scanFile();
            QTRY_VERIFY(!window.isVisible());
            QVERIFY(stillOpen);
            QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t{whileReading ? 0u : 1u});
            QVERIFY(fixture.store.contains("Settings", "MainGeometry"));
            QCOMPARE(fixture.store.value("MRUFiles", "1", ""), fixture.samplePath());
        }
    }
};

QTEST_MAIN(ScanCommandTest)
#include "scan_command_qtest.moc"
