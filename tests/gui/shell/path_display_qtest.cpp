// Every path a person reads shows the system's separators, and Recent Files lists a file once
// however its path is spelt. Windows' rules are chosen, so that the tables hold on Linux as on
// Windows; nothing here needs more than Qt and the standard library.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <array>
#include <filesystem>

#include "core/platform/path_names.h"
#include "gui/compare/comparison_window.h"
#include "gui/document/document_window.h"
#include "gui/scan/statistics_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/recent_files.h"
#include "support/app_fixture.h"
#include "support/chosen_path_rules.h"
#include "support/main_window_work.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;
namespace platform = qor::platform;

namespace {

QString dataPath(const char* name) {
    return QString(QOR_TEST_DATA_DIR) + "/compare/" + name;
}

QString windowsForm(QString path) {
    return path.replace('/', '\\');
}

}  // namespace

class PathDisplayTest : public QObject {
    Q_OBJECT

private slots:
    // The window title, Recent Files, the comparison's Older and Newer and the statistics'
    // result folder, for exports named with "/" as the command line or a file dialog gives them.
    void pathsShowTheSystemsSeparators() {
        const qor::testing::ChosenPathRules windows(platform::kWindowsPaths);
        qor::testing::AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(qor::testing::openedByPath(window, dataPath("new.qor").toStdString()));
        fixture.desktop.chosenFiles = {dataPath("old.qor").toStdString()};
        auto* changes = qor::testing::windowAfter<qor::gui::ComparisonWindow>(
            window, *window.commands().compare);
        QVERIFY(changes != nullptr);
        QString older;
        QString newer;
        for (const QLabel* label : changes->findChildren<QLabel*>()) {
            older = label->text().contains("old.qor") ? label->text() : older;
            newer = label->text().contains("new.qor") ? label->text() : newer;
        }
        fixture.session.lastScan.resultFolder = fixture.resultRoot() + "/Node14_04Dec2026";
        qor::gui::StatisticsWindow statistics(fixture.session, fixture.clock, fixture.boxes);
        statistics.offerResults(fixture.desktop, false);
        const QAction& recent = *window.commands().recent[0];

        const QString newPath = windowsForm(dataPath("new.qor"));
        const std::array<std::tuple<const char*, QString, QString>, 6> shown{{
            {"window title", window.activeDocument()->parentWidget()->windowTitle(), newPath},
            {"recent file", recent.text(), newPath},
            {"recent file's tip", recent.toolTip(), newPath},
            {"older", older, windowsForm(dataPath("old.qor"))},
            {"newer", newer, newPath},
            {"statistics", statistics.findChild<QLabel*>("lblSummary")->text(),
             windowsForm(QString::fromStdString(fixture.session.lastScan.resultFolder))},
        }};
        for (const auto& [where, text, path] : shown) {
            QVERIFY2(text.contains(path), qPrintable(QString("%1: %2").arg(where, text)));
        }
    }

    // One entry per file, however its path is spelt (the spellings themselves are the core's
    // table): the menu keeps the newest spelling at the top.
    void recentFilesListAFileOnce_data() {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("again");
        QTest::addColumn<int>("listed");
        const QString folder = QString(QOR_TEST_DATA_DIR) + "/compare";
        QTest::newRow("mixed") << true << folder + "\\new.qor" << 1;
        QTest::newRow("another file") << true << folder + "/old.qor" << 2;
        QTest::newRow("case, POSIX") << false << folder + "/NEW.qor" << 2;
    }
    void recentFilesListAFileOnce() {
        QFETCH(bool, windows);
        QFETCH(QString, again);
        QFETCH(int, listed);
        if (!windows && platform::shownPathRules().ignoreCase) {
            QSKIP("the system's own file names ignore case");
        }
        const qor::testing::ChosenPathRules rules(windows ? platform::kWindowsPaths
                                                          : platform::kPosixPaths);
        QMenu menu;
        std::array<QAction*, qor::gui::kRecentSlots> entries{};
        for (QAction*& entry : entries) {
            entry = menu.addAction(QString());
        }
        qor::gui::RecentFilesMenu recent(menu, entries);
        recent.addRecentFile(dataPath("new.qor"));
        recent.addRecentFile(again);
        QCOMPARE(recent.count(), listed);
        QCOMPARE(*recent.path(1), again);  // the newest spelling, at the top
    }
};

QTEST_MAIN(PathDisplayTest)
#include "path_display_qtest.moc"
