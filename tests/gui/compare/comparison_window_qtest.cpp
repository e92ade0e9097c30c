// The window of changes between two exports: its filters and sorting on the known pair (its
// changes kept in the scratch file), and the compare command of the main window from the file
// dialog to the saved CSV file.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "core/compare/changes_csv.h"
#include "core/output/csv_output.h"
#include "core/platform/path_names.h"
#include "core/scan/element_types.h"
#include "core/scan/node_info.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/compare/changes_table_model.h"
#include "gui/compare/comparison_window.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/main_window_work.h"
#include "support/window_opens.h"

using qor::gui::ChangesTableModel;
using qor::gui::ComparisonWindow;
using qor::gui::DocumentWindow;
using qor::gui::MainWindow;
using qor::testing::AppFixture;
using qor::testing::readFile;

namespace {

std::string dataPath(const char* name) {
    return std::string(QOR_TEST_DATA_DIR) + "/compare/" + name;
}

// The document window that shows the export at `path`, or null.
DocumentWindow* documentOf(const MainWindow& window, const std::string& path) {
    for (QMdiSubWindow* sub : window.documents().subWindowList()) {
        auto* document = qobject_cast<DocumentWindow*>(sub->widget());
        if (document != nullptr && document->path().toStdString() == path) {
            return document;
        }
    }
    return nullptr;
}

// Finds the change of `designation` in the window of changes, in front, and double-clicks it.
void doubleClickChange(MainWindow& window, ComparisonWindow& changes, const char* designation) {
    window.documents().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(changes.parentWidget()));
    changes.findChild<QLineEdit*>("txtSearch")->setText(designation);
    const QModelIndex index = changes.changesModel().index(0, ChangesTableModel::kDesignation);
    QCOMPARE(index.data().toString(), QString(designation));
    qor::testing::doubleClickCell(changes.changesTable(), index);
    QVERIFY(qor::testing::openEnded(window));
}

ComparisonWindow* comparisonWindowOf(const MainWindow& window) {
    for (QMdiSubWindow* child : window.documents().subWindowList()) {
        if (auto* changes = dynamic_cast<ComparisonWindow*>(child->widget())) {
            return changes;
        }
    }
    return nullptr;
}

// new.qor open and compared with old.qor through File > Compare With...: the changes window,
// or null when the comparison did not end with one.
ComparisonWindow* compared(AppFixture& fixture, MainWindow& window) {
    window.show();
    if (!qor::testing::openedByPath(window, dataPath("new.qor"))) {
        return nullptr;
    }
    fixture.desktop.chosenFiles = {dataPath("old.qor")};
    window.commands().compare->trigger();
    if (!QTest::qWaitFor([&] { return !window.busy(); })) {
        return nullptr;
    }
    return comparisonWindowOf(window);
}

// The shown rows as the CSV file writes them, from the cells the table shows.
std::vector<std::string> shownRows(const ChangesTableModel& model) {
    std::vector<std::string> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (int column = 0; column < ChangesTableModel::kColumnCount; ++column) {
            line += column == 0 ? "" : ",";
            qor::output::appendCsvField(line,
                                        model.index(row, column).data().toString().toStdString());
        }
        rows.push_back(line + "\r\n");
    }
    return rows;
}

// The comparison of two files of the test data, its changes kept in the scratch file.
std::unique_ptr<const qor::compare::Comparison> compare(AppFixture& fixture, const char* older,
                                                        const char* newer) {
    qor::compare::CompareRequest request;
    request.oldExport.path = dataPath(older);
    request.newExport.path = dataPath(newer);
    for (qor::compare::ExportSide* side : {&request.oldExport, &request.newExport}) {
        side->node = qor::scan::readNodeInfo(side->path, {}, fixture.boxes);
    }
    request.changeStorage = {fixture.folder.path().string(), 0, 64};
    qor::compare::UiCompareMonitor monitor(fixture.boxes);
    return std::make_unique<qor::compare::Comparison>(
        qor::compare::compareExports(request, monitor));
}

std::vector<std::string> goldenRows() {
    const std::string golden = readFile(dataPath("changes.csv"));
    std::vector<std::string> rows;
    for (std::size_t at = golden.find("\r\n") + 2; at < golden.size();) {
        const std::size_t end = golden.find("\r\n", at) + 2;
        rows.push_back(golden.substr(at, end - at));
        at = end;
    }
    return rows;
}

}  // namespace

class ComparisonWindowTest : public QObject {
    Q_OBJECT

private slots:
    void filtersAndSortingNarrowAndOrderTheRows_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sortColumn");  // -1: report order
        QTest::addColumn<bool>("descending");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("first");  // designation of the first row
        const QString all = "All types";
        const QString every = "All changes";
        const int none = -1;
        // clang-format off
        QTest::newRow("all") << all << every << "" << none << false << 10 << "";
        QTest::newRow("type") << "AI" << every << "" << none << false << 2 << "AI800_1.2";
        QTest::newRow("node information") << "NODE" << every << "" << none << false << 3 << "";
        QTest::newRow("type without changes") << "PIDCON" << every << "" << none << false << 0 << "";
        QTest::newRow("kind") << all << "removed" << "" << none << false << 1 << "MMCX6";
        QTest::newRow("type and kind") << "DI" << "added" << "" << none << false << 1 << "DI810_1.1";
        QTest::newRow("text in a designation, any case") << all << every << "ai800_1" << none << false << 2 << "AI800_1.2";
        QTest::newRow("text in a value") << all << every << "BOILER" << none << false << 1 << "";
        QTest::newRow("text and kind") << all << "changed" << "p1241" << none << false << 0 << "";
        QTest::newRow("sorted by designation, past the first 8 bytes") << "AI" << every << "" << int(ChangesTableModel::kDesignation) << false << 2 << "AI800_1.1";
        QTest::newRow("sorted by designation, descending") << all << every << "" << int(ChangesTableModel::kDesignation) << true << 10 << "MMCX6";
        QTest::newRow("sorted by change, filtered") << all << every << "1.2" << int(ChangesTableModel::kChange) << false << 2 << "AO810_1.2";
        // clang-format on
    }
    void filtersAndSortingNarrowAndOrderTheRows() {
        QFETCH(QString, type);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(int, sortColumn);
        QFETCH(bool, descending);
        QFETCH(int, rows);
        QFETCH(QString, first);
        AppFixture fixture;
        ComparisonWindow changes(fixture.context, compare(fixture, "old.qor", "new.qor"),
                                 {dataPath("old.qor"), dataPath("new.qor"), ""});
        QVERIFY(changes.findChild<QLabel*>("lblIdentical") == nullptr);
        // Unfiltered, the table holds the golden changes in their order.
        const std::vector<std::string> golden = goldenRows();
        QCOMPARE(shownRows(changes.changesModel()), golden);

        changes.findChild<QComboBox*>("cboType")->setCurrentText(type);
        changes.findChild<QComboBox*>("cboKind")->setCurrentText(kind);
        changes.findChild<QLineEdit*>("txtSearch")->setText(text);
        if (sortColumn >= 0) {
            changes.changesTable().sortByColumn(
                sortColumn, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        }
        const ChangesTableModel& model = changes.changesModel();
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(changes.findChild<QLabel*>("lblShown")->text(),
                 QString("%1 of 10 changes").arg(rows));
        if (rows > 0) {
            QCOMPARE(model.index(0, ChangesTableModel::kDesignation).data().toString(), first);
        }
        // Each row shows the change it stands for, in the order asked.
        const std::vector<std::string> shown = shownRows(model);
        for (int row = 0; row < rows; ++row) {
            QCOMPARE(shown[static_cast<std::size_t>(row)], golden[model.changeAt(row)]);
            if (row > 0 && sortColumn == ChangesTableModel::kDesignation) {
                const QString before = model.index(row - 1, sortColumn).data().toString();
                const QString after = model.index(row, sortColumn).data().toString();
                QVERIFY(descending ? before >= after : before <= after);
                QVERIFY(before != after || model.changeAt(row - 1) < model.changeAt(row));
            }
            const QString shownType = model.index(row, ChangesTableModel::kType).data().toString();
            const QString shownKind =
                model.index(row, ChangesTableModel::kChange).data().toString();
            QVERIFY(type == "All types" || shownType == type);
            QVERIFY(kind == "All changes" || shownKind == kind);
        }
    }

    void summaryClickFiltersByTypeAndIdenticalExportsSaySo() {
        AppFixture fixture;
        ComparisonWindow changes(fixture.context, compare(fixture, "old.qor", "new.qor"),
                                 {dataPath("old.qor"), dataPath("new.qor"), ""});
        changes.show();
        auto* summary = changes.findChild<QTableWidget*>("tblSummary");
        auto* type = changes.findChild<QComboBox*>("cboType");
        for (const QString name : {"AI", "PIDCON", "DI"}) {
            const int row = static_cast<int>(
                std::ranges::find_if(qor::scan::statusOrder(),
                                     [&](qor::scan::ElementType each) {
                                         return qor::scan::elementType(each).name ==
                                                name.toStdString();
                                     }) -
                qor::scan::statusOrder().begin());
            QTest::mouseClick(summary->viewport(), Qt::LeftButton, {},
                              summary->visualItemRect(summary->item(row, 2)).center());
            QCOMPARE(type->currentText(), name);
            for (int shown = 0; shown < changes.changesModel().rowCount(); ++shown) {
                QCOMPARE(
                    changes.changesModel().index(shown, ChangesTableModel::kType).data().toString(),
                    name);
            }
        }
        QCOMPARE(changes.changesModel().rowCount(), 2);  // DI: one added, one changed

        ComparisonWindow same(fixture.context, compare(fixture, "new.qor", "new.qor"),
                              {dataPath("new.qor"), dataPath("new.qor"), ""});
        same.show();
        auto* identical = same.findChild<QLabel*>("lblIdentical");
        QVERIFY(identical != nullptr && identical->isVisible());
        QCOMPARE(identical->text(), QString("The two exports are identical"));
        QVERIFY(!same.changesTable().isVisible());
    }

    // Compare With... shows the changes in a window of their own beside the export, which stays
    // the scan target; an older file that cannot be read is said.
    void compareWithShowsTheChanges() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(qor::testing::openedByPath(window, dataPath("new.qor")));
        // Nothing is compared with a file that cannot be read.
        fixture.desktop.chosenFiles = {(fixture.folder.path() / "missing.qor").string()};
        window.commands().compare->trigger();
        QCOMPARE(fixture.boxes.errors.size(), std::size_t{1});
        QCOMPARE(fixture.boxes.errors[0].procedure, std::string("mnuFileCompare_Click"));
        QVERIFY(comparisonWindowOf(window) == nullptr);

        fixture.desktop.chosenFiles = {dataPath("old.qor")};
        window.commands().compare->trigger();
        QVERIFY(window.busy());
        QTRY_VERIFY(!window.busy());
        QVERIFY(
            qor::platform::samePath(fixture.desktop.dialogCalls.back().folder,
                                    std::filesystem::path(dataPath("")).parent_path().string()));
        ComparisonWindow* changes = comparisonWindowOf(window);
        QVERIFY(changes != nullptr);
        QCOMPARE(changes->parentWidget()->windowTitle(),
                 QString::fromUtf8("Changes: old.qor \u2192 new.qor"));
        QCOMPARE(changes->changesModel().rowCount(), 10);
        QVERIFY(window.progressWindow().isHidden());
        // The status bar showed the comparison's progress, and shows the open file again.
        QVERIFY(window.statusBarPanels().panelText(1).startsWith("Data Base file (*.qor)"));
        // The export stays the open document, ready for a scan.
        QVERIFY(window.activeDocument() != nullptr);
        QVERIFY(window.commands().scanFile->isEnabled());
    }

    // Save asks where, offering today's path in the result folder; a cancelled dialog writes
    // nothing, and a second save to the same place asks before it replaces ("No" keeps it).
    void changesAreSavedWhereThePersonSays() {
        AppFixture fixture;
        fixture.session.options.scanResultFolderPath = fixture.resultRoot();
        MainWindow window(fixture.context);
        ComparisonWindow* changes = compared(fixture, window);
        QVERIFY(changes != nullptr);
        const auto folder = fixture.folder.path() / "Node14_04Dec2026" / "Changes";
        const auto csv = folder / "Changes_Node14_04Dec2026.csv";
        const auto page = folder / "Changes_Node14_04Dec2026.html";
        auto* save = changes->findChild<QPushButton*>("cmdSaveCsv");
        save->click();
        QCOMPARE(fixture.desktop.dialogCalls.back().folder, csv.string());
        QCOMPARE(readFile(csv.string()), readFile(dataPath("changes.csv")));
        QVERIFY(!std::filesystem::exists(page));
        QVERIFY(fixture.boxes.prompts.empty());
        const auto elsewhere = fixture.folder.path() / "mine.csv";
        fixture.desktop.chosenSaveFiles = {"", elsewhere.string(), elsewhere.string()};
        save->click();
        QVERIFY(!std::filesystem::exists(elsewhere));
        save->click();
        QCOMPARE(readFile(elsewhere.string()), readFile(dataPath("changes.csv")));
        QCOMPARE(changes->findChild<QLabel*>("lblWritten")->text(),
                 "Written: " + qor::gui::shownPath(elsewhere.string()));
        std::filesystem::resize_file(elsewhere, 3);
        save->click();
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{1});
        QCOMPARE(std::filesystem::file_size(elsewhere), std::uintmax_t{3});
        fixture.boxes.prompts.clear();

        changes->findChild<QPushButton*>("cmdOpenReport")->click();
        QVERIFY(std::filesystem::file_size(page) > 0);
        QCOMPARE(fixture.desktop.executed, std::vector<std::string>{page.string()});

        std::filesystem::resize_file(csv, 3);
        changes->findChild<QPushButton*>("cmdSaveCsv")->click();
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{1});
        QCOMPARE(std::filesystem::file_size(csv), std::uintmax_t{3});
        QVERIFY(changes->findChild<QLabel*>("lblWritten")->text().startsWith("Kept: "));
        QVERIFY(fixture.boxes.errors.empty());
    }

    // A file opened later comes in front of the changes; closed while the changes stay open,
    // it takes its information off the status bar. A double-click on a change then shows its
    // element in the newer export, in the older one for a removed element: with no document
    // left, the first export it opens becomes the current one, the other opens beside it.
    void changesOutliveTheirExportAndJumpToEither() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        ComparisonWindow* changes = compared(fixture, window);
        QVERIFY(changes != nullptr);
        QVERIFY(qor::testing::openedByPath(window, dataPath("old.qor")));
        QCOMPARE(static_cast<QWidget*>(window.documents().activeSubWindow()),
                 window.activeDocument()->parentWidget());

        // Also the date the switch timer of a scan would have put back goes.
        window.tmrSwitchText().start();
        window.documents().closeActiveSubWindow();
        QTRY_VERIFY(window.activeDocument() == nullptr);
        QVERIFY(comparisonWindowOf(window) != nullptr && !window.tmrSwitchText().isActive());
        QCOMPARE(window.statusBarPanels().panelText(1), QString("For Help, press F1"));
        QCOMPARE(window.statusBarPanels().panelText(2) + window.statusBarPanels().panelText(3),
                 QString());

        for (const auto& [designation, file, current] : {std::tuple{"MMCX6", "old.qor", true},
                                                         {"AI800_1.2", "new.qor", false},
                                                         {"AI800_1.1", "new.qor", false}}) {
            doubleClickChange(window, *changes, designation);
            const DocumentWindow* shown = documentOf(window, dataPath(file));
            QVERIFY(shown != nullptr);
            QCOMPARE(shown->textView().selectedText(), QString(designation));
            QCOMPARE(fixture.session.databasePath, dataPath("old.qor"));
            QCOMPARE(window.documents().activeSubWindow()->widget(),
                     current ? static_cast<const QWidget*>(shown) : changes);
        }
    }

    // Jumping to the older export opens it beside the newer one, which stays the scan target
    // until the user switches to the other; the status bar follows the current document.
    void jumpKeepsTheOpenedExportCurrent() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        ComparisonWindow* changes = compared(fixture, window);
        QVERIFY(changes != nullptr);
        doubleClickChange(window, *changes, "MMCX6");
        DocumentWindow* older = documentOf(window, dataPath("old.qor"));
        DocumentWindow* newer = documentOf(window, dataPath("new.qor"));
        QVERIFY(older != nullptr && newer != nullptr && older != newer);
        QCOMPARE(older->textView().selectedText(), QString("MMCX6"));
        QCOMPARE(window.activeDocument(), newer);
        QCOMPARE(fixture.session.databasePath, dataPath("new.qor"));
        QCOMPARE(fixture.session.nodeInfo.nodeNumber, std::string("14"));
        QCOMPARE(window.statusBarPanels().panelText(2), QString("Node Number:  14"));
        QCOMPARE(window.documents().subWindowList().size(), qsizetype{3});
        // Both stand beside the changes, none over another.
        QVERIFY(!older->parentWidget()->geometry().intersects(newer->parentWidget()->geometry()));

        // A second jump there reuses it.
        doubleClickChange(window, *changes, "MMCX6");
        QCOMPARE(window.documents().subWindowList().size(), qsizetype{3});

        for (DocumentWindow* chosen : {older, newer, older}) {
            window.documents().setActiveSubWindow(
                qobject_cast<QMdiSubWindow*>(chosen->parentWidget()));
            QCOMPARE(window.activeDocument(), chosen);
            const std::string node = chosen == older ? "12" : "14";
            QCOMPARE(fixture.session.databasePath, chosen->path().toStdString());
            QCOMPARE(fixture.session.nodeInfo.nodeNumber, node);
            QCOMPARE(window.statusBarPanels().panelText(2),
                     QString::fromStdString("Node Number:  " + node));
        }
        // Closed, the current document hands over to the one active before it.
        older->parentWidget()->close();
        QTRY_COMPARE(window.activeDocument(), newer);
        QCOMPARE(fixture.session.databasePath, dataPath("new.qor"));
        QVERIFY(window.commands().scanFile->isEnabled());
    }
};

QTEST_MAIN(ComparisonWindowTest)
#include "comparison_window_qtest.moc"
