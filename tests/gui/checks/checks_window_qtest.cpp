// The Checks window through the main window: Check Folder... over a plant of made-up mistakes
// (counts per check and severity, the filters, Copy, Export..., the jump to an element, what
// was left out), Check Export with the options' cabinet table (the same findings as qorscan
// --check prints), and the marks the Elements window puts on the elements with findings.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <optional>

#include "gui/checks/checks_window.h"
#include "gui/checks/findings_table_model.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/elements/elements_table_model.h"
#include "gui/elements/elements_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/main_window_work.h"
#include "support/window_opens.h"

using qor::checks::Severity;
using qor::gui::ChecksWindow;
using qor::gui::ElementsWindow;
using qor::gui::FindingsTableModel;
using qor::gui::MainWindow;
using qor::testing::AppFixture;
using qor::testing::openedByPath;
using qor::testing::readFile;
using qor::testing::windowAfter;

namespace {

std::string dataPath(const std::string& name) {
    return std::string(QOR_TEST_DATA_DIR) + "/checks/" + name;
}

QStringList comboItems(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        items << combo.itemText(i);
    }
    return items;
}

QStringList column(const FindingsTableModel& model, int at) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.text(row, at);
    }
    return texts;
}

}  // namespace

class ChecksWindowTest : public QObject {
    Q_OBJECT

private slots:
    void checksOfAPlantFolder() {
        AppFixture fixture;
        namespace fs = std::filesystem;
        const fs::path plant = fixture.folder.path() / "plant";
        fs::create_directories(plant);
        for (const char* name : {"duplicate-name.qor", "empty-name.qor", "value-cut.qor"}) {
            fs::copy_file(dataPath(name), plant / name);
        }
        fixture.folder.write("plant/junk.qor", "Remember the spare parts.\n");
        fixture.session.options.scanResultFolderPath = fixture.resultRoot();
        MainWindow main(fixture.context);
        main.show();
        QVERIFY(!main.commands().checkExport->isEnabled());
        fixture.desktop.chosenFolders = {plant.string()};
        ChecksWindow* checks = windowAfter<ChecksWindow>(main, *main.commands().checkFolder);
        QVERIFY(checks != nullptr);
        QCOMPARE(checks->caption(), QString("Checks: plant"));
        QCOMPARE(checks->findChild<QLabel*>("lblSummary")->text(),
                 QString("7 findings: 2 errors, 2 warnings, 3 notes"));
        QCOMPARE(
            comboItems(*checks->findChild<QComboBox*>("cboCheck")),
            (QStringList{"All Checks (7)", "duplicate-designation (0)", "duplicate-name (2)",
                         "duplicate-name-plant (0)", "range-inverted (0)", "range-not-number (0)",
                         "empty-name (2)", "empty-descr (0)", "value-cut (3)"}));
        const QString notes = checks->findChild<QLabel*>("lblNotes")->text();
        QVERIFY(notes.contains("junk.qor (not a node export)"));
        QVERIFY(notes.contains("The cabinet checks did not run"));

        // The filters: by severity and by check, the count of those shown beside them.
        FindingsTableModel& model = checks->findingsModel();
        const struct {
            qor::checks::Severity minimum;
            std::optional<std::size_t> check;  // by registry index
            QStringList files;                 // of the rows shown, in their order
            QString shown;
        } filters[] = {
            {Severity::Note,
             {},
             {"duplicate-name.qor", "duplicate-name.qor", "empty-name.qor", "empty-name.qor",
              "value-cut.qor", "value-cut.qor", "value-cut.qor"},
             "7 of 7 findings"},
            {Severity::Warning,
             {},
             {"duplicate-name.qor", "duplicate-name.qor", "empty-name.qor", "empty-name.qor"},
             "4 of 7 findings"},
            {Severity::Error, {}, {"duplicate-name.qor", "duplicate-name.qor"}, "2 of 7 findings"},
            {Severity::Note, 5, {"empty-name.qor", "empty-name.qor"}, "2 of 7 findings"},
            {Severity::Error, 5, {}, "0 of 7 findings"},  // empty-name only warns
            {Severity::Note,
             7,
             {"value-cut.qor", "value-cut.qor", "value-cut.qor"},
             "3 of 7 findings"},
        };
        for (const auto& f : filters) {
            checks->setFilter(f.minimum, f.check);
            QCOMPARE(column(model, FindingsTableModel::kFile), f.files);
            QCOMPARE(checks->findChild<QLabel*>("lblShown")->text(), f.shown);
        }
        checks->setFilter(Severity::Error, {});
        QStringList first;
        for (int at = 0; at < FindingsTableModel::kColumnCount; ++at) {
            first << model.text(0, at);
        }
        QCOMPARE(first, (QStringList{"Error", "duplicate-name", "12", "AI", "AI800_1.1", "8",
                                     "NAME 'TT101' is also on DO DO810_1.1 at line 32",
                                     "duplicate-name.qor"}));

        // Ctrl+C: the headings and the selected rows, tabs between the cells.
        checks->setFilter(Severity::Note, 7);  // value-cut
        QTableView& table = checks->findingsTable();
        table.selectionModel()->select(table.model()->index(1, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        // The progress window was active while the checks ran; without a window manager the
        // main window has to take it back itself.
        main.activateWindow();
        QVERIFY(QTest::qWaitFor([&main] { return QApplication::activeWindow() == &main; }));
        table.setFocus();
        QApplication::clipboard()->clear();
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Severity\tCheck\tNode\tType\tDesignation\tLine\tFinding\tFile\n"
                         "Note\tvalue-cut\t12\tDO\tDO810_1.1234567\t32\tthe designation is "
                         "longer than 15 characters: every output shows DO810_1.1234567\t"
                         "value-cut.qor\n"));

        // Export...: the findings shown, as qorscan --check --format csv prints them.
        const std::string csv = fixture.resultRoot() + "/findings.csv";
        fixture.desktop.chosenSaveFiles = {csv};
        checks->exportFindings();
        const std::string path = (plant / "value-cut.qor").string();
        QCOMPARE(readFile(csv),
                 "FILE,LINE,NODE,TYPE,DESIGNATION,ID,SEVERITY,MESSAGE\r\n" + path +
                     ",15,12,AI,AI800_1.2,value-cut,note,DESCR is longer than 30 characters: "
                     "every output shows 'Feed water pressure at the pum'\r\n" +
                     path +
                     ",32,12,DO,DO810_1.1234567,value-cut,note,the designation is longer than 15 "
                     "characters: every output shows DO810_1.1234567\r\n" +
                     path +
                     ",36,12,PIDCON,PIDCON1,value-cut,note,\"DESCR is longer than 30 characters: "
                     "every output shows 'Feed flow control, thirty char'\"\r\n");
        const std::string workbook = fixture.resultRoot() + "/findings.xlsx";
        fixture.desktop.chosenSaveFiles = {workbook};
        checks->exportFindings();
        QCOMPARE(readFile(workbook).substr(0, 2), std::string("PK"));
        QVERIFY(fixture.boxes.errors.empty());

        // A double-click opens the export, which was not open, and shows the element's lines.
        QVERIFY(main.activeDocument() == nullptr);
        QSignalSpy opened(&main, &MainWindow::openFinished);
        qor::testing::doubleClickCell(table, table.model()->index(1, 1));
        QVERIFY(opened.count() > 0 || opened.wait(20000));
        auto* document = main.activeDocument();
        QVERIFY(document != nullptr);
        QCOMPARE(main.documents().activeSubWindow()->widget(), static_cast<QWidget*>(document));
        QVERIFY(document->textView().selectedText().startsWith(
            "DO810_1.1234567890 DOS820\n  :NAME          XV105"));
    }

    // The options' cabinet table is applied: its checks run, and what the desktop finds is
    // what qorscan --check prints (the golden text of the core and command-line tests).
    void checkExportWithTheOptionsCabinetTable() {
        AppFixture fixture;
        fixture.session.options.applyCabinetLabels = true;
        fixture.session.cabinetLabels = {
            {"CB801", "AI800_1"}, {"CB801", "AO810_1"}, {"CB802", "DI810_1"}, {"CB802", "DO810_1"}};
        MainWindow main(fixture.context);
        main.show();
        QVERIFY(openedByPath(main, dataPath("module-unlabelled.qor")));
        QVERIFY(main.commands().checkExport->isEnabled());
        ChecksWindow* checks = windowAfter<ChecksWindow>(main, *main.commands().checkExport);
        QVERIFY(checks != nullptr);
        QVERIFY(checks->findChild<QLabel*>("lblNotes") == nullptr);
        const FindingsTableModel& model = checks->findingsModel();
        QStringList lines;
        for (int row = 0; row < model.rowCount(); ++row) {
            lines << QString("%1:%2: %3: %4: %5")
                         .arg(model.text(row, FindingsTableModel::kFile),
                              model.text(row, FindingsTableModel::kLine),
                              model.text(row, FindingsTableModel::kSeverity).toLower(),
                              model.text(row, FindingsTableModel::kCheck),
                              model.text(row, FindingsTableModel::kMessage));
        }
        QCOMPARE(lines.join('\n') + '\n',
                 QString::fromStdString(readFile(dataPath("module-unlabelled.txt"))));

        // The stored table's own rows have no element to show.
        fixture.session.cabinetLabels.push_back({"CB803", "AI810_5"});
        checks = windowAfter<ChecksWindow>(main, *main.commands().checkExport);
        QCOMPARE(checks->findingsModel().text(2, FindingsTableModel::kFile),
                 QString("Cabinet-module table"));
        QSignalSpy requested(checks, &ChecksWindow::elementRequested);
        QTableView& table = checks->findingsTable();
        for (const int row : {2, 0}) {
            qor::testing::doubleClickCell(table, table.model()->index(row, 1));
        }
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested[0][1].value<qsizetype>(), qsizetype{14});
    }

    // Once the Elements window shows the table, the checks mark the elements they find
    // something in: the gravest finding's picture on the designation, the findings as its tip.
    void elementsWindowMarksTheElementsWithFindings() {
        AppFixture fixture;
        MainWindow main(fixture.context);
        main.show();
        QVERIFY(openedByPath(main, dataPath("duplicate-name.qor")));
        ElementsWindow* elements = windowAfter<ElementsWindow>(main, *main.commands().elements);
        QVERIFY(elements != nullptr);
        const auto& model = elements->elementsModel();
        // The marks come once the checks, started with the window, are done.
        QSignalSpy marked(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).isNull() || marked.wait(20000));
        QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).isNull());
        QCOMPARE(model.index(0, 0).data(Qt::DisplayRole).toString(), QString("AI800_1.1"));
        QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(),
                 QString("duplicate-name: NAME 'TT101' is also on DO DO810_1.1 at line 32"));
        QVERIFY(model.index(1, 0).data(Qt::DecorationRole).isNull());
        QVERIFY(model.index(0, 1).data(Qt::DecorationRole).isNull());
    }
};

QTEST_MAIN(ChecksWindowTest)
#include "checks_window_qtest.moc"
