// The Elements window: its rows (type, filter, wildcards, column filter, natural and numeric
// order, selected parameters, cabinet columns) against the elements of a small export written
// by hand; then through the main window: Ctrl+E, the jump to an element's lines, Copy, Export
// Visible Rows, and a plant folder with two exports, a file that is none and one that cannot be
// read.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <memory>
#include <semaphore>
#include <utility>

#include "core/elements/element_loader.h"
#include "core/elements/row_query.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/elements/elements_table_model.h"
#include "gui/elements/elements_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/main_window_work.h"
#include "support/window_opens.h"

using qor::elements::ElementTable;
using qor::gui::ElementsTableModel;
using qor::gui::ElementsWindow;
using qor::gui::MainWindow;
using qor::scan::ElementType;
using qor::testing::AppFixture;
using qor::testing::readFile;

namespace {

std::string dataPath(const char* name) {
    return std::string(QOR_TEST_DATA_DIR) + "/elements/" + name;
}

QStringList column(const ElementsTableModel& model, int at) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, at).data().toString();
    }
    return texts;
}

QStringList headings(const ElementsTableModel& model) {
    QStringList texts;
    for (int at = 0; at < model.columnCount(); ++at) {
        texts << model.heading(at);
    }
    return texts;
}

// Waits until the model shows the rows of the newest change.
bool settled(ElementsTableModel& model) {
    if (!model.busy()) {
        return true;
    }
    QSignalSpy shown(&model, &ElementsTableModel::rowsShown);
    return shown.wait(20000);
}

std::shared_ptr<const ElementTable> north(const qor::elements::LoadSettings& settings = {}) {
    return std::make_shared<const ElementTable>(
        qor::elements::loadExport(dataPath("north.qor"), settings));
}

constexpr int kAll = -1;

}  // namespace

class ElementsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void rowsFollowTypeFilterAndOrder_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("selectedOnly");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("filterColumn");  // a heading; empty: any column
        QTest::addColumn<QString>("sortColumn");    // a heading; empty: file order
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("designations");
        QTest::addColumn<QStringList>("leadingHeadings");

        // A type (or all), selected parameters only, the filter and the heading it searches,
        // the heading sorted and which way, then the designations and headings shown.
        const auto row = [](const char* name, int type, bool selectedOnly, const char* filter,
                            const char* filterColumn, const char* sortColumn, bool descending,
                            const QStringList& designations,
                            const QStringList& leadingHeadings = {}) {
            QTest::newRow(name) << type << selectedOnly << QString(filter) << QString(filterColumn)
                                << QString(sortColumn) << descending << designations
                                << leadingHeadings;
        };
        const int ai = static_cast<int>(ElementType::AI);
        const QStringList fileOrder{"AI800_1.10", "AI800_1.2", "AI800_1.1"};
        row("one type, file order, every parameter", ai, false, "", "", "", false, fileOrder,
            {"Designation", "NAME", "DESCR", "UNIT", "RANGEMAX", "RANGEMIN", "CONV_PAR", "FILTER_P",
             "SCANT"});
        row("selected parameters only", ai, true, "", "", "", false, fileOrder,
            {"Designation", "NAME", "RANGEMAX"});
        row("designations in natural order", ai, false, "", "", "Designation", false,
            {"AI800_1.1", "AI800_1.2", "AI800_1.10"});
        row("natural order descending", ai, false, "", "", "Designation", true, fileOrder);
        row("numbers in numeric order", ai, false, "", "", "RANGEMAX", false,
            {"AI800_1.1", "AI800_1.10", "AI800_1.2"});
        row("all types add a Type column", kAll, false, "", "", "", false,
            {"AI800_1.10", "AI800_1.2", "AI800_1.1", "DI810_1.1", "AIC12"},
            {"Designation", "Type", "NAME", "DESCR"});
        row("any column, any case", kAll, false, "fEEd WATER", "", "", false,
            {"AI800_1.10", "AI800_1.2", "DI810_1.1"});
        row("a text without wildcards is found inside", kAll, false, "t10", "", "", false,
            fileOrder);
        row("star matches the whole value", kAll, false, "F*", "NAME", "", false, {"AI800_1.10"});
        row("question mark is one character", kAll, false, "?T10?", "NAME", "", false, fileOrder);
        row("one column only", kAll, false, "2", "Designation", "", false, {"AI800_1.2", "AIC12"});
        row("a column other than the match", kAll, false, "LS101", "DESCR", "", false, {});
        row("filtered rows keep the order", ai, false, "feed", "", "Designation", false,
            {"AI800_1.2", "AI800_1.10"});
    }

    void rowsFollowTypeFilterAndOrder() {
        QFETCH(int, type);
        QFETCH(bool, selectedOnly);
        QFETCH(QString, filter);
        QFETCH(QString, filterColumn);
        QFETCH(QString, sortColumn);
        QFETCH(bool, descending);
        QFETCH(QStringList, designations);
        QFETCH(QStringList, leadingHeadings);

        std::array<qor::scan::TypeOptions, qor::scan::kElementTypeCount> selected{};
        selected[qor::scan::indexOf(ElementType::AI)].parameters = {true, false, false, true};
        ElementsTableModel model(north());
        qor::gui::ElementsView view;
        if (type != kAll) {
            view.type = static_cast<ElementType>(type);
        }
        view.selected = selectedOnly ? &selected : nullptr;
        model.setView(view);
        const QStringList shown = headings(model);
        // Sorted, then the filter typed key by key (each text cancelling the work of the one
        // before, or narrowing its rows), then sorted again with the filter on.
        const auto sortAsAsked = [&] {
            if (!sortColumn.isEmpty()) {
                model.sort(static_cast<int>(shown.indexOf(sortColumn)),
                           descending ? Qt::DescendingOrder : Qt::AscendingOrder);
            }
        };
        const int searched = filterColumn.isEmpty() ? ElementsTableModel::kAnyColumn
                                                    : static_cast<int>(shown.indexOf(filterColumn));
        sortAsAsked();
        for (qsizetype typed = 1; typed <= filter.size(); ++typed) {
            model.setFilter(filter.left(typed), searched);
            if (typed % 2 == 0) {
                QVERIFY(settled(model));
            }
        }
        QVERIFY(settled(model));
        QCOMPARE(column(model, 0), designations);
        sortAsAsked();
        QVERIFY(settled(model));
        QCOMPARE(column(model, 0), designations);
        QCOMPARE(shown.mid(0, leadingHeadings.size()), leadingHeadings);
    }

    // Channel types get the cabinet and module of their module skeleton, others none.
    void cabinetColumnsShowTheLabels() {
        const qor::scan::CabinetLabels labels{{"CB801", "AI800_1"}};
        qor::elements::LoadSettings settings;
        settings.cabinets = &labels;
        ElementsTableModel model(north(settings));
        const QStringList shown = headings(model);
        QCOMPARE(shown.mid(shown.size() - 2), (QStringList{"Cabinet", "Module"}));
        QCOMPARE(column(model, static_cast<int>(shown.size()) - 2),
                 (QStringList{"CB801", "CB801", "CB801", "", ""}));
        model.setFilter("cb8*", static_cast<int>(shown.size()) - 2);
        QVERIFY(settled(model));
        QCOMPARE(model.rowCount(), 3);
    }

    void elementsOfTheOpenExport() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        QVERIFY(!window.commands().elements->isEnabled());
        QVERIFY(qor::testing::openedByPath(window, dataPath("north.qor")));
        ElementsWindow* elements =
            qor::testing::windowAfter<ElementsWindow>(window, *window.commands().elements);
        QVERIFY(elements != nullptr);
        QCOMPARE(elements->caption(), QString("Elements: north.qor"));
        auto* frame = qobject_cast<QMdiSubWindow*>(elements->parentWidget());
        QVERIFY(frame->isMaximized());
        QCOMPARE(frame->windowTitle(), elements->caption());
        auto* type = elements->findChild<QComboBox*>("cboType");
        QCOMPARE(type->itemText(0), QString("All Types (5)"));
        QCOMPARE(type->itemText(1), QString("AI (3)"));
        auto* shown = elements->findChild<QLabel*>("lblShown");
        // What is typed at once goes into the filter.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(QApplication::focusWidget(), elements->findChild<QLineEdit*>("txtFilter"));
        QTest::keyClicks(QApplication::focusWidget(), "pt103");
        QVERIFY(settled(elements->elementsModel()));
        QCOMPARE(shown->text(), QString("1 of 5 elements"));

        // Asked again, the export's Elements window comes to the front; nothing is loaded.
        auto* document = window.activeDocument();
        window.documents().setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(document->parentWidget()));
        window.commands().elements->trigger();
        QVERIFY(!window.busy());
        QCOMPARE(window.documents().activeSubWindow(), frame);
        QCOMPARE(window.documents().subWindowList().size(), 2);

        elements->setFilter({}, ElementsTableModel::kAnyColumn);
        elements->chooseType(ElementType::AI);

        // Copy: the headings and the selected rows, in table order, tabs between the cells.
        QTableView& table = elements->elementsTable();
        table.selectionModel()->select(table.model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table.selectionModel()->select(table.model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        elements->copySelectedRows();
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Designation\tNAME\tDESCR\tUNIT\tRANGEMAX\tRANGEMIN\tCONV_PAR\t"
                         "FILTER_P\tSCANT\n"
                         "AI800_1.10\tFT101\tFeed water flow\tt/h\t120.0\t\t\t\t\n"
                         "AI800_1.1\tPT103\tDrum pressure\tbar\t16.5\t\t\t\t\n"));

        // Export Visible Rows: the rows on screen, as the scan's CSV files are written; the
        // second time the file stands there and is kept on "No".
        const std::string csv = fixture.resultRoot() + "/rows.csv";
        fixture.desktop.chosenSaveFiles = {csv, csv};
        elements->setFilter("drum", ElementsTableModel::kAnyColumn);
        QVERIFY(settled(elements->elementsModel()));
        elements->exportVisibleRows();
        const std::string drum =
            "DESIGNATION,NAME,DESCR,UNIT,RANGEMAX,RANGEMIN,CONV_PAR,FILTER_P,SCANT\r\n"
            "AI800_1.1,PT103,Drum pressure,bar,16.5,,,,\r\n";
        QCOMPARE(readFile(csv), drum);
        fixture.boxes.answers = {false};
        elements->setFilter({}, ElementsTableModel::kAnyColumn);
        elements->exportVisibleRows();
        QCOMPARE(fixture.boxes.prompts.size(), std::size_t{1});
        QCOMPARE(readFile(csv), drum);
        const std::string workbook = fixture.resultRoot() + "/rows.xlsx";
        fixture.desktop.chosenSaveFiles = {workbook};
        elements->exportVisibleRows();
        QCOMPARE(readFile(workbook).substr(0, 2), std::string("PK"));
        QVERIFY(fixture.boxes.errors.empty());

        // A double-click shows the element's lines, header to the last before the empty line.
        qor::testing::doubleClickCell(table, table.model()->index(1, 2));
        QCOMPARE(window.documents().activeSubWindow()->widget(), static_cast<QWidget*>(document));
        QCOMPARE(document->textView().selectedText(),
                 QString("AI800_1.2      AIS810\n  :NAME          TT102\n"
                         "  :DESCR         Feed water temperature\n  :UNIT          degC\n"
                         "  :RANGEMAX      250.0\n  :RANGEMIN      -40"));
    }

    // The filter works off the window's thread: held there, the window still answers (a timer
    // fires, a key is typed), and the newer text's rows are the ones shown, whenever the older
    // work ends.
    void aFilterLeavesTheWindowAnsweringAndTheNewestWins() {
        AppFixture fixture;
        ElementsWindow elements(fixture.context, north(),
                                QString::fromStdString(dataPath("north.qor")), false);
        ElementsTableModel& model = elements.elementsModel();
        std::binary_semaphore started{0};
        std::binary_semaphore resume{0};
        std::atomic<int> works{0};
        model.setWorkStartHook([&] {
            if (works++ == 0) {
                started.release();
                resume.acquire();
            }
        });
        bool resumed = false;
        const auto resumeOnce = [&] {
            if (!std::exchange(resumed, true)) {
                resume.release();
            }
        };
        const auto resumeAtLast = qScopeGuard(resumeOnce);
        auto* filter = elements.findChild<QLineEdit*>("txtFilter");
        QTest::keyClick(filter, 'd');
        started.acquire();
        QVERIFY(model.busy());
        QTimer timer;
        timer.setSingleShot(true);
        QSignalSpy fired(&timer, &QTimer::timeout);
        timer.start(0);
        QVERIFY(fired.wait());
        QCOMPARE(model.rowCount(), 5);  // the rows before, still whole
        QTest::keyClick(filter, 'r');
        QCOMPARE(filter->text(), QString("dr"));
        QVERIFY(settled(model));
        QCOMPARE(column(model, 0), (QStringList{"AI800_1.1", "AIC12"}));

        QSignalSpy ended(&model, &ElementsTableModel::workEnded);
        resumeOnce();
        QVERIFY(ended.wait());
        QVERIFY(!model.busy());
        QCOMPARE(column(model, 0), (QStringList{"AI800_1.1", "AIC12"}));
        QCOMPARE(works.load(), 2);
    }

    void plantFolderSkipsWhatIsNoExport() {
        AppFixture fixture;
        namespace fs = std::filesystem;
        const fs::path plant = fixture.folder.path() / "plant";
        fs::create_directories(plant / "unit2");
        fs::copy_file(dataPath("north.qor"), plant / "north.qor");
        fs::copy_file(dataPath("south.qor"), plant / "unit2" / "south.qor");
        fixture.folder.write("plant/notes.qor", "Remember the spare parts.\n");
        // A link to nothing; Windows lets only some accounts make links.
        std::error_code noLink;
        fs::create_symlink(plant / "moved-away.qor", plant / "gone.qor", noLink);
        MainWindow window(fixture.context);
        window.show();
        window.commands().includeSubfolders->setChecked(true);
        fixture.desktop.chosenFolders = {plant.string()};
        ElementsWindow* elements =
            qor::testing::windowAfter<ElementsWindow>(window, *window.commands().openFolder);
        QVERIFY(elements != nullptr);
        QCOMPARE(elements->table().files().size(), std::size_t{2});
        const QString skipped = elements->findChild<QLabel*>("lblSkipped")->text();
        QVERIFY2((noLink || skipped.contains("gone.qor (")) && skipped.contains("notes.qor ("),
                 qPrintable(skipped));
        QCOMPARE(elements->caption(), QString("Elements: plant"));
        // The status bar is about the plant, not about an export.
        QCOMPARE(window.statusBarPanels().panelText(1),
                 "Plant folder: " + qor::gui::shownPath(plant.string()));
        QCOMPARE(window.statusBarPanels().panelText(2), QString("Exports: 2"));

        // Which node holds FT201?
        ElementsTableModel& model = elements->elementsModel();
        const QStringList shown = headings(model);
        QCOMPARE(shown.mid(0, 3), (QStringList{"Designation", "Type", "Node"}));
        QCOMPARE(shown.last(), QString("File"));
        // Sorted by node as the table's own order sorts it.
        std::vector<qor::elements::RowIndex> byNode = elements->table().allRows();
        qor::elements::sortRows(elements->table(), byNode, {qor::elements::ColumnKind::Node, {}},
                                qor::elements::SortOrder::Descending);
        model.sort(2, Qt::DescendingOrder);
        QVERIFY(settled(model));
        QCOMPARE(column(model, 2).first(), QString("22"));
        for (int row = 0; row < model.rowCount(); ++row) {
            QCOMPARE(model.elementAt(row), byNode[static_cast<std::size_t>(row)]);
        }
        elements->setFilter("ft201", ElementsTableModel::kAnyColumn);
        QVERIFY(settled(model));
        QCOMPARE(column(model, 2), QStringList{"22"});

        // Its line, in its own export.
        QTableView& table = elements->elementsTable();
        qor::testing::doubleClickCell(table, table.model()->index(0, 0));
        QVERIFY(qor::testing::openEnded(window));
        QCOMPARE(fixture.session.databasePath, (plant / "unit2" / "south.qor").string());
        QVERIFY(window.activeDocument()->textView().selectedText().startsWith("AI810_3.1"));
        QCOMPARE(window.statusBarPanels().panelText(2), QString("Node Number:  22"));
        QVERIFY(fixture.boxes.errors.empty());
    }
};

QTEST_MAIN(ElementsWindowTest)
#include "elements_window_qtest.moc"
