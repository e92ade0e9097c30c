// The element statistics window: what each count shows, and when "Save To File" may be used
// again.
#include <memory>

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/base/widget_helpers.h"
#include "gui/scan/statistics_window.h"
#include "support/fake_desktop.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"
#include "support/widget_lookup.h"

using namespace qor;
using qor::output::StatisticsSave;
using qor::testing::control;

class StatisticsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> folder_;
    output::Session session_;
    FixedClock clock_{testing::kScanMoment};
    testing::ScriptedUi ui_;
    testing::FakeDesktop desktop_;

private slots:
    // Node 12 after a scan that counted 25 AI and 40 DI; DO kept its results from an earlier
    // scan of 7 at the user's word, AO and DIC were never enabled.
    void init() {
        folder_ = std::make_unique<testing::TempDir>();
        session_ = testing::makeSession(folder_->file("node.qor"), folder_->str());
        session_.nodeInfo.nodeNumber = "12";
        session_.lastScan.resultFolder = folder_->str();
        session_.lastScan.scanResultFolder =
            platform::FolderHandle::open(folder_->path().parent_path().string());
        session_.lastScan.nodeFolderName = folder_->path().filename().string();
        session_.options.of(scan::ElementType::AI).enabled = true;
        session_.options.of(scan::ElementType::DI).enabled = true;
        session_.lastScan.written[scan::indexOf(scan::ElementType::AI)] = 25;
        session_.lastScan.written[scan::indexOf(scan::ElementType::DI)] = 40;
        session_.options.of(scan::ElementType::DO).enabled = true;
        session_.lastScan.written[scan::indexOf(scan::ElementType::DO)] = 7;
        session_.lastScan.kept[scan::indexOf(scan::ElementType::DO)] = true;
        ui_ = testing::ScriptedUi{};
    }

    // A finished scan shows its counts, a kept type says so; a cancelled one marks what it was
    // reading. Either way
    // the result folder opens from here, and the report only after a finished HTML scan.
    void countsOrWhyNotInRedAndTheResultsOpen_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("html");
        QTest::newRow("finished, CSV") << false << false;
        QTest::newRow("finished, HTML") << false << true;
        QTest::newRow("cancelled, HTML") << true << true;
    }
    void countsOrWhyNotInRedAndTheResultsOpen() {
        QFETCH(bool, cancelled);
        QFETCH(bool, html);
        if (html) {
            session_.options.outputMode = options::OutputMode::HtmlReport;
            session_.lastScan.outputFolder = folder_->str();
            folder_->write("preview.html", "<html></html>");
        }
        testing::FakeDesktop desktop;
        gui::StatisticsWindow window(session_, clock_, ui_);
        window.offerResults(desktop, cancelled);
        const QString ai = cancelled ? "Cancelled" : "25";
        const std::pair<int, QString> rows[] = {{0, ai},
                                                {1, "Search Disabled"},
                                                {4, cancelled ? "Cancelled" : "40"},
                                                {5, "Kept"},
                                                {6, "Search Disabled"}};
        for (const auto& [row, text] : rows) {
            const auto* count = control<QLabel>(window, QString("lblFoundElements_%1").arg(row));
            QCOMPARE(count->text(), text);
            QCOMPARE(count->palette().color(QPalette::WindowText) == QColor(192, 0, 0),
                     !text.front().isDigit());
        }
        QCOMPARE(control<QPushButton>(window, "cmdSaveStatistic")->isEnabled(), !cancelled);
        auto* report = control<QPushButton>(window, "cmdOpenReport");
        QCOMPARE(!report->isHidden(), html && !cancelled);
        control<QPushButton>(window, "cmdOpenFolder")->click();
        report->click();
        QCOMPARE(desktop.executed.front(), session_.lastScan.resultFolder);
        // A folder that no application opens is said so.
        desktop.startSucceeds = false;
        control<QPushButton>(window, "cmdOpenFolder")->click();
        QCOMPARE(ui_.messages.size(), std::size_t{1});
    }

    // One save per opening: a kept old file or a failed save leaves the button for a retry.
    void saveButtonGoesOnlyWithASave_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("outcome");
        QTest::newRow("new file") << "" << int(StatisticsSave::Saved);
        QTest::newRow("old file kept") << "old file" << int(StatisticsSave::KeptExisting);
        QTest::newRow("folder missing") << "no folder" << int(StatisticsSave::Failed);
    }
    void saveButtonGoesOnlyWithASave() {
        QFETCH(QString, before);
        QFETCH(int, outcome);
        if (before == "old file") {
            folder_->write("Node12.txt", "old\r\n");
            ui_.answers = {false};
        } else if (before == "no folder") {
            session_.lastScan.resultFolder = folder_->file("missing folder");
            session_.lastScan.scanResultFolder = platform::FolderHandle::open(folder_->str());
            session_.lastScan.nodeFolderName = "missing folder";
        }
        gui::StatisticsWindow window(session_, clock_, ui_);
        window.show();
        auto* save = control<QPushButton>(window, "cmdSaveStatistic");
        save->click();
        QCOMPARE(int(*window.lastSave()), outcome);
        QCOMPARE(save->isEnabled(), outcome != int(StatisticsSave::Saved));
        if (before == "no folder") {
            QVERIFY(std::filesystem::create_directory(session_.lastScan.resultFolder));
            save->click();
            QCOMPARE(*window.lastSave(), StatisticsSave::Saved);
            QVERIFY(!save->isEnabled());
        }
        control<QPushButton>(window, "cmdClose")->click();
        QVERIFY(!window.isVisible());
    }

    // Below the counts: where the results are (a link that opens the folder), how many, how
    // long it took, and when every existing result was kept, that nothing was replaced.
    void summarySaysWhatTheScanDid() {
        QLocale::setDefault(QLocale::c());
        session_.lastScan.elapsed = std::chrono::milliseconds(1250);
        for (const int written : {2, 0}) {
            session_.lastScan.typesWritten = written;
            testing::FakeDesktop desktop;
            gui::StatisticsWindow window(session_, clock_, ui_);
            window.offerResults(desktop, false);
            auto* summary = control<QLabel>(window, "lblSummary");
            const QString text = summary->text();
            QVERIFY2(text.contains("Total: 65 elements") && text.contains("Time taken: 1.3 s"),
                     qPrintable(text));
            QCOMPARE(text.contains("Nothing was replaced"), written == 0);
            emit summary->linkActivated("folder");
            QCOMPARE(desktop.executed, std::vector<std::string>{session_.lastScan.resultFolder});
        }
        // A cancelled first scan removed its folder: it is named, with no link that does nothing.
        std::filesystem::remove_all(session_.lastScan.resultFolder);
        gui::StatisticsWindow window(session_, clock_, ui_);
        window.offerResults(desktop_, true);
        const QString text = control<QLabel>(window, "lblSummary")->text();
        QVERIFY2(
            text.contains(gui::shownPath(session_.lastScan.resultFolder)) && !text.contains("<a"),
            qPrintable(text));
    }

    // Each type's count is grouped as the total below it is, in the language's way.
    void countsAndTotalReadAlike_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("total");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "1,216,895"
                                 << "1,216,935";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "1.216.895"
                                << "1.216.935";
        QTest::newRow("C") << QLocale::c() << "1216895"
                           << "1216935";
    }
    void countsAndTotalReadAlike() {
        QFETCH(QLocale, locale);
        QFETCH(QString, count);
        QFETCH(QString, total);
        QLocale::setDefault(locale);
        session_.lastScan.written[scan::indexOf(scan::ElementType::AI)] = 1216895;
        gui::StatisticsWindow window(session_, clock_, ui_);
        window.offerResults(desktop_, false);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(control<QLabel>(window, "lblFoundElements_0")->text(), count);
        QVERIFY(control<QLabel>(window, "lblSummary")->text().contains(total));
        // The file keeps the plain digits.
        QVERIFY(output::statisticsFileText(session_, clock_.now()).find("1216895") !=
                std::string::npos);
    }

    // On a screen made small by a large scale the rows scroll and the buttons stay on it
    // (ctest runs this at double scale on a large and a small screen).
    void dialogFitsTheScreen() {
        testing::FakeDesktop desktop;
        gui::StatisticsWindow window(session_, clock_, ui_);
        window.offerResults(desktop, false);
        testing::checkFitsTheScreen(window, {"cmdClose", "cmdSaveStatistic", "cmdOpenFolder"});
    }
};

QTEST_MAIN(StatisticsWindowTest)
#include "statistics_window_qtest.moc"
