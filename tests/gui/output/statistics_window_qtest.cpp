// The element statistics window: counts, colours, captions and "Save To File".
#include <memory>

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/output/statistics_window.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/temp_dir.h"

using namespace qor;
using qor::output::StatisticsSave;

class StatisticsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> folder_;
    output::Session session_;
    FixedClock clock_{testing::kScanMoment};
    testing::ScriptedUi ui_;

    // Opens the window on node 12 after a scan that found 25 AI and 40 DI; DO holds a
    // stored 2 in the search status (shown as disabled), every other type 0.
    std::unique_ptr<gui::StatisticsWindow> open() {
        return std::make_unique<gui::StatisticsWindow>(session_, clock_, ui_);
    }
    static QString text(const QWidget& window, const QString& name) {
        const auto* label = window.findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QStringLiteral("<missing>");
    }
    static QColor colour(const QWidget& window, const QString& name) {
        return window.findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
    }
    static QPushButton* save(const QWidget& window) {
        return window.findChild<QPushButton*>(QStringLiteral("cmdSaveStatistic"));
    }

private slots:
    void init() {
        folder_ = std::make_unique<testing::TempDir>();
        session_ = testing::makeSession(folder_->file("node.qor"), folder_->str());
        session_.nodeInfo.nodeNumber = "12";
        session_.scan.resultFolder = folder_->str();
        session_.searchStatus.setValue(scan::ElementType::AI, 1);
        session_.searchStatus.setValue(scan::ElementType::DI, 1);
        session_.searchStatus.setValue(scan::ElementType::DO, 2);
        session_.resultOf(scan::ElementType::AI).writtenCount = 25;
        session_.resultOf(scan::ElementType::DI).writtenCount = 40;
        session_.resultOf(scan::ElementType::DO).writtenCount = 7;
        ui_ = testing::ScriptedUi{};
    }

    void showsCountsAndSearchDisabledInRed() {
        const auto window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Search Results Statistics"));
        const auto rows = output::statisticsRows(session_);
        for (int i = 0; i < gui::StatisticsWindow::kRowCount; ++i) {
            const auto& row = rows[static_cast<std::size_t>(i)];
            QCOMPARE(text(*window, QStringLiteral("lblModuleNames_%1").arg(i + 1)),
                     QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
            const QString count = QStringLiteral("lblFoundElements_%1").arg(i);
            QCOMPARE(text(*window, count), QString::fromStdString(row.count));
            QCOMPARE(colour(*window, count) == QColor(192, 0, 0), row.disabled);
        }
        QCOMPARE(text(*window, QStringLiteral("lblFoundElements_4")), QStringLiteral("40"));  // DI
        QCOMPARE(text(*window, QStringLiteral("lblFoundElements_5")),
                 QStringLiteral("Search Disabled"));
    }

    void takesCaptionsFromTheStringTable() {
        const auto window = open();
        QCOMPARE(text(*window, QStringLiteral("lblModuleNames_0")),
                 QStringLiteral("DataBase Element:"));
        QCOMPARE(text(*window, QStringLiteral("lblModuleNames_15")),
                 QStringLiteral("Found Elements:"));
        QCOMPARE(save(*window)->text(), QStringLiteral("Save To File"));
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(),
                 QStringLiteral("Close"));
    }

    void saveWritesTheFileAndDisablesTheButton() {
        const auto window = open();
        QVERIFY(save(*window)->isEnabled());
        save(*window)->click();
        QCOMPARE(window->lastSave(), std::optional(StatisticsSave::Saved));
        const std::string file = testing::readFile(folder_->file("Node12.txt"));
        QVERIFY(file.find("Analog Input\t\t\t25\r\n") != std::string::npos);
        QVERIFY(file.find("Digital Output\t\t\tSearch Disabled\r\n") != std::string::npos);
        QVERIFY(!save(*window)->isEnabled());
        QCOMPARE(ui_.messages.size(), std::size_t{1});
    }

    void answeringNoKeepsTheOldFileAndTheButton() {
        folder_->write("Node12.txt", "old\r\n");
        ui_.answers = {false};
        const auto window = open();
        save(*window)->click();
        QCOMPARE(window->lastSave(), std::optional(StatisticsSave::KeptExisting));
        QCOMPARE(ui_.prompts.size(), std::size_t{1});
        QCOMPARE(testing::readFile(folder_->file("Node12.txt")), std::string("old\r\n"));
        QVERIFY(save(*window)->isEnabled());
        QVERIFY(ui_.messages.empty());
    }

    void failedSaveKeepsTheButtonForARetry() {
        session_.scan.resultFolder = folder_->file("missing folder");
        const auto window = open();
        save(*window)->click();
        QCOMPARE(window->lastSave(), std::optional(StatisticsSave::Failed));
        QVERIFY(save(*window)->isEnabled());
        QCOMPARE(ui_.errors.size(), std::size_t{1});
        QVERIFY(ui_.messages.empty());  // no "saved" for a file that is not there

        QVERIFY(std::filesystem::create_directory(session_.scan.resultFolder));
        save(*window)->click();
        QCOMPARE(window->lastSave(), std::optional(StatisticsSave::Saved));
        QVERIFY(!save(*window)->isEnabled());
    }

    void closeClosesTheWindow() {
        const auto window = open();
        window->show();
        window->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(StatisticsWindowTest)
#include "statistics_window_qtest.moc"
