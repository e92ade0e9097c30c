#include "gui/options/cabinet_module_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include "gui/options/cabinet_tab.h"
#include "gui/options/multi_row_tabs.h"
#include "options_fixture.h"

using qor::gui::CabinetModuleDialog;
using qor::gui::CabinetTab;
using qor::gui::OptionsDialog;
using qor::testing::control;
using qor::testing::OptionsFixture;

namespace {

constexpr int kCabinetTab = 12;

void storeTable(qor::platform::SettingsStore& store,
                std::initializer_list<std::pair<const char*, const char*>> rows) {
    int i = 0;
    for (const auto& [cabinet, module] : rows) {
        ++i;
        store.setValue("CabinetsModules", "CabinetValue_" + std::to_string(i), cabinet);
        store.setValue("CabinetsModules", "ModuleValue_" + std::to_string(i), module);
    }
    store.setValue("CabinetsModules", "ListViewItemsCount", std::to_string(i));
}

// The list as "cabinet|module" lines.
QStringList listed(const OptionsDialog& dialog) {
    auto* list = control<QTreeWidget>(dialog, "lvwCabinetModule");
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
    }
    return rows;
}
QStringList labelled(const qor::scan::CabinetLabels& labels) {
    QStringList rows;
    for (const auto& row : labels) {
        rows << QString::fromStdString(row.cabinet + "|" + row.module);
    }
    return rows;
}
QString labelText(const OptionsDialog& dialog, const char* name) {
    return control<QLabel>(dialog, name)->text();
}
CabinetTab& cabinetTab(const OptionsDialog& dialog) {
    return dynamic_cast<CabinetTab&>(*control<QWidget>(dialog, "tabCabinetModule"));
}

// Shows the dialog on its cabinet tab, so that rows can be clicked.
std::unique_ptr<OptionsDialog> shownOnCabinetTab(OptionsFixture& fixture) {
    auto dialog = fixture.open();
    dialog->tabs().setCurrentIndex(kCabinetTab);
    dialog->show();
    return dialog;
}

QPoint rowCentre(const OptionsDialog& dialog, int row) {
    auto* list = control<QTreeWidget>(dialog, "lvwCabinetModule");
    return list->visualItemRect(list->topLevelItem(row)).center();
}
QWidget* listViewport(const OptionsDialog& dialog) {
    return control<QTreeWidget>(dialog, "lvwCabinetModule")->viewport();
}
// A person's double-click: a click, then the second press that makes it double.
void doubleClickRow(const OptionsDialog& dialog, int row) {
    QTest::mouseClick(listViewport(dialog), Qt::LeftButton, {}, rowCentre(dialog, row));
    QTest::mouseDClick(listViewport(dialog), Qt::LeftButton, {}, rowCentre(dialog, row));
}

void fillAndClick(QDialog& shown, const QString& cabinet, const QString& module,
                  const char* button = "cmdApply") {
    control<QLineEdit>(shown, "txtNewCabinet")->setText(cabinet);
    control<QLineEdit>(shown, "txtNewModule")->setText(module);
    control<QPushButton>(shown, button)->click();
}

}  // namespace

class CabinetModuleTest : public QObject {
    Q_OBJECT

private slots:
    void importReadsTheChosenFile();
    void importWithOddFieldCountOrUnreadableFile();
    void importRefusedOrCancelled();
    void addRows();
    void modifyRows();
    void modifyNeverWritesOutsideTheTable();
    void listSelectionClearsOnFocusLoss();
};

void CabinetModuleTest::importReadsTheChosenFile() {
    OptionsFixture fixture;
    storeTable(fixture.store, {{"old1", "m1"}, {"old2", "m2"}});
    fixture.store.setValue("Settings", "ApplyCabinetModule", "1");
    auto dialog = fixture.open();
    QCOMPARE(listed(*dialog), QStringList({"old1|m1", "old2|m2"}));
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("2"));
    auto* apply = control<QCheckBox>(*dialog, "chkApplyCabinetModule");
    QVERIFY(apply->isEnabled() && apply->isChecked());

    const std::string file = fixture.folder.write(
        "plant cabinets.csv",
        "CABINET,MODULE\r\ncb801,ai800_1\n  \"cb 802\" , \"ai810,2\"\r\n\"cb803\"x,do820_1  \r\n");
    fixture.ui.answers = {true};
    fixture.desktop.chosenFiles = {file};
    control<QPushButton>(*dialog, "cmdImport")->click();

    QCOMPARE(fixture.ui.prompts.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(fixture.ui.prompts[0].text),
             QString("Do you really want to import values from external file ?. Current contents "
                     "will be cleared."));
    QVERIFY(fixture.ui.prompts[0].icon == qor::MessageIcon::Exclamation);
    QCOMPARE(fixture.desktop.dialogCalls.size(), std::size_t(1));
    const auto& call = fixture.desktop.dialogCalls[0];
    QCOMPARE(QString::fromStdString(call.title), QString("Select File to Inport..."));
    QCOMPARE(QString::fromStdString(call.folder), QCoreApplication::applicationDirPath());
    QCOMPARE(call.filters.size(), std::size_t(2));
    QCOMPARE(QString::fromStdString(call.filters[0].description),
             QString("Comma Separated Values (*.csv)"));
    QCOMPARE(QString::fromStdString(call.filters[0].patterns), QString("*.csv"));
    QCOMPARE(QString::fromStdString(call.filters[1].description), QString("Text Files (*.txt)"));
    QCOMPARE(QString::fromStdString(call.filters[1].patterns), QString("*.txt"));

    // A heading line is just another row; quoted commas stay, everything is upper-cased.
    const QStringList expected{"CABINET|MODULE", "CB801|AI800_1", "CB 802|AI810,2",
                               "CB803|DO820_1"};
    QCOMPARE(listed(*dialog), expected);
    QCOMPARE(labelled(fixture.session.cabinetLabels), expected);
    QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("plant cabinets.csv"));
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("4"));
    QVERIFY(apply->isEnabled() && apply->isChecked());
    QVERIFY(fixture.ui.errors.empty());
    // The old table left the store at once; the new one arrives with OK.
    QVERIFY(!fixture.store.hasSection("CabinetsModules"));
    QCOMPARE(fixture.store.value("Settings", "LastImportedFile", ""),
             std::string("plant cabinets.csv"));
    control<QPushButton>(*dialog, "cmdOK")->click();
    QCOMPARE(fixture.store.value("CabinetsModules", "ListViewItemsCount", ""), std::string("4"));
    QCOMPARE(fixture.store.value("CabinetsModules", "ModuleValue_3", ""), std::string("AI810,2"));
}

void CabinetModuleTest::importWithOddFieldCountOrUnreadableFile() {
    OptionsFixture fixture;
    auto dialog = fixture.open();
    fixture.ui.defaultAnswer = true;
    fixture.desktop.chosenFiles = {fixture.folder.write("odd.txt", "cb1,m1\ncb2\n")};
    control<QPushButton>(*dialog, "cmdImport")->click();
    QCOMPARE(fixture.ui.errors.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(fixture.ui.errors[0].procedure),
             QString("ReadValuesFromImportFile"));
    QCOMPARE(listed(*dialog), QStringList({"CB1|M1", "CB2|"}));
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("2"));
    QVERIFY(control<QCheckBox>(*dialog, "chkApplyCabinetModule")->isEnabled());

    // A file gone between choosing and reading: reported, and nothing half-imported.
    fixture.desktop.chosenFiles = {fixture.folder.file("gone.csv")};
    control<QPushButton>(*dialog, "cmdImport")->click();
    QCOMPARE(fixture.ui.errors.size(), std::size_t(2));
    QVERIFY(listed(*dialog).isEmpty());
    QVERIFY(fixture.session.options.cabinetTable.rows.empty());
    QVERIFY(fixture.session.cabinetLabels.empty());
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
    QVERIFY(!control<QCheckBox>(*dialog, "chkApplyCabinetModule")->isEnabled());
    QVERIFY(!fixture.store.hasSection("CabinetsModules"));
    QCOMPARE(labelText(*dialog, "lblImportedFile"),
             QString::fromStdString(fixture.store.value("Settings", "LastImportedFile", "?")));
}

void CabinetModuleTest::importRefusedOrCancelled() {
    OptionsFixture fixture;
    storeTable(fixture.store, {{"CB1", "M1"}, {"CB2", "M2"}});
    fixture.store.setValue("Settings", "ApplyCabinetModule", "1");
    fixture.store.setValue("Settings", "LastImportedFile", "old.csv");
    auto dialog = fixture.open();
    QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("old.csv"));

    fixture.ui.answers = {false};
    control<QPushButton>(*dialog, "cmdImport")->click();
    QVERIFY(fixture.desktop.dialogCalls.empty());
    QCOMPARE(listed(*dialog).size(), 2);
    QVERIFY(fixture.store.hasSection("CabinetsModules"));

    fixture.ui.answers = {true};
    control<QPushButton>(*dialog, "cmdImport")->click();
    QCOMPARE(fixture.desktop.dialogCalls.size(), std::size_t(1));
    QVERIFY(listed(*dialog).isEmpty());
    QCOMPARE(labelText(*dialog, "lblImportedFile"), QString());
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
    auto* apply = control<QCheckBox>(*dialog, "chkApplyCabinetModule");
    QVERIFY(!apply->isEnabled());
    QVERIFY(apply->isChecked());  // only its availability follows the table
    QVERIFY(fixture.session.cabinetLabels.empty());
    QVERIFY(!fixture.store.hasSection("CabinetsModules"));
    QCOMPARE(fixture.store.value("Settings", "LastImportedFile", "?"), std::string());

    // Made again from the store, an empty table clears and locks the box.
    dialog.reset();
    auto reopened = fixture.open();
    QVERIFY(!control<QCheckBox>(*reopened, "chkApplyCabinetModule")->isEnabled());
    QVERIFY(!control<QCheckBox>(*reopened, "chkApplyCabinetModule")->isChecked());
}

void CabinetModuleTest::addRows() {
    OptionsFixture fixture;
    auto dialog = shownOnCabinetTab(fixture);
    dialog->returnToPosition();
    const QPoint centred = dialog->pos();
    const int screenTop = dialog->screen()->geometry().top();
    bool checked = false;
    fixture.desktop.onModal = [&](QDialog& shown) {
        QCOMPARE(shown.windowTitle(), QString("Cabinet | Module Assignment"));
        QVERIFY(shown.findChildren<QLabel*>().size() == 2);
        QCOMPARE(control<QPushButton>(shown, "cmdApply")->text(), QString("Apply"));
        QVERIFY(control<QPushButton>(shown, "cmdClose")->isVisible());
        QVERIFY(dialog->y() < centred.y() || centred.y() == screenTop);

        fillAndClick(shown, "cb801", "ai800_1");
        fillAndClick(shown, "cb802", "");
        fillAndClick(shown, "", "ai800_2");
        QCOMPARE(fixture.ui.messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(fixture.ui.messages[1].text),
                 QString("Put both 'New Cabinet Name' and 'New Module Skeleton'."));
        fillAndClick(shown, "cb802", "di810_3");
        QVERIFY(shown.isVisible());
        QCOMPARE(listed(*dialog), QStringList({"CB801|AI800_1", "CB802|DI810_3"}));
        control<QPushButton>(shown, "cmdClose")->click();
        QVERIFY(!shown.isVisible());
        checked = true;
    };
    control<QPushButton>(*dialog, "cmdAdd")->click();
    QVERIFY(checked);
    QCOMPARE(dialog->pos(), centred);
    // The label lists and the store follow on the next save only.
    QVERIFY(fixture.session.cabinetLabels.empty());
    QVERIFY(!fixture.store.hasSection("CabinetsModules"));
    control<QPushButton>(*dialog, "cmdOK")->click();
    QCOMPARE(labelled(fixture.session.cabinetLabels),
             QStringList({"CB801|AI800_1", "CB802|DI810_3"}));
    QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_2", ""), std::string("CB802"));
    // The count and the apply box follow the table when the dialog is made, not on adding.
    QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
    QVERIFY(!control<QCheckBox>(*dialog, "chkApplyCabinetModule")->isEnabled());
    dialog.reset();
    auto reopened = fixture.open();
    QCOMPARE(labelText(*reopened, "lblItemsCount"), QString("2"));
    QVERIFY(control<QCheckBox>(*reopened, "chkApplyCabinetModule")->isEnabled());
}

void CabinetModuleTest::modifyRows() {
    OptionsFixture fixture;
    storeTable(fixture.store, {{"cb1", "m1"}, {"CB2", "M2"}, {"CB3", "M3"}});
    auto dialog = shownOnCabinetTab(fixture);
    QCOMPARE(listed(*dialog)[0], QString("cb1|m1"));  // stored rows stay as stored
    CabinetTab& tab = cabinetTab(*dialog);

    tab.editRow();  // nothing current yet
    QVERIFY(fixture.desktop.modalTitles.empty());

    QTest::mouseClick(listViewport(*dialog), Qt::LeftButton, {}, rowCentre(*dialog, 1));
    QCOMPARE(tab.currentRow().number, std::size_t(2));
    QCOMPARE(QString::fromStdString(tab.currentRow().cabinet), QString("CB2"));

    fixture.desktop.onModal = [&](QDialog& shown) {
        QCOMPARE(control<QPushButton>(shown, "cmdApply")->text(), QString("Modify"));
        QVERIFY(!control<QPushButton>(shown, "cmdClose")->isVisible());
        QCOMPARE(control<QLineEdit>(shown, "txtNewCabinet")->text(), QString("CB3"));
        QCOMPARE(control<QLineEdit>(shown, "txtNewModule")->text(), QString("M3"));
        fillAndClick(shown, "", "ao810_4");
        QVERIFY(!shown.isVisible());
    };
    doubleClickRow(*dialog, 2);
    QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t(1));
    QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "CB2|M2", "|AO810_4"}));
    QVERIFY(fixture.ui.messages.empty());

    // A click on a row without a cabinet name does not make it current ...
    QTest::mouseClick(listViewport(*dialog), Qt::LeftButton, {}, rowCentre(*dialog, 0));
    QTest::mouseClick(listViewport(*dialog), Qt::LeftButton, {}, rowCentre(*dialog, 2));
    QCOMPARE(tab.currentRow().number, std::size_t(1));
    // ... but a double-click on it modifies that row, not the one current before.
    fixture.desktop.onModal = [&](QDialog& shown) {
        QCOMPARE(control<QLineEdit>(shown, "txtNewModule")->text(), QString("AO810_4"));
        fillAndClick(shown, "", "");
    };
    doubleClickRow(*dialog, 2);
    QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t(2));
    QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "CB2|M2", "|"}));

    control<QPushButton>(*dialog, "cmdOK")->click();
    QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_3", "?"), std::string());
    QCOMPARE(fixture.store.value("CabinetsModules", "ModuleValue_3", "?"), std::string());
    QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_1", "?"), std::string("cb1"));
}

void CabinetModuleTest::modifyNeverWritesOutsideTheTable() {
    OptionsFixture fixture;
    storeTable(fixture.store, {{"CB1", "M1"}, {"CB2", "M2"}, {"CB3", "M3"}});
    auto dialog = shownOnCabinetTab(fixture);
    CabinetTab& tab = cabinetTab(*dialog);
    QTest::mouseClick(listViewport(*dialog), Qt::LeftButton, {}, rowCentre(*dialog, 2));
    QCOMPARE(tab.currentRow().number, std::size_t(3));

    // An import leaves a shorter table behind the current row.
    fixture.ui.defaultAnswer = true;
    fixture.desktop.chosenFiles = {fixture.folder.write("one.csv", "cb9,m9\n")};
    control<QPushButton>(*dialog, "cmdImport")->click();
    tab.editRow();
    QVERIFY(fixture.desktop.modalTitles.empty());
    QCOMPARE(listed(*dialog), QStringList({"CB9|M9"}));

    // The assignment dialog itself refuses a row that is not there, silently.
    qor::options::CabinetModuleTable table{{{"A", "B"}}, ""};
    CabinetModuleDialog assignment(table, fixture.ui);
    assignment.modifyRow({"X", "Y", 2});
    assignment.show();
    fillAndClick(assignment, "new", "row");
    QCOMPARE(table.rows.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(table.rows[0].cabinet), QString("A"));
    QVERIFY(!assignment.isVisible());
    QVERIFY(!assignment.modifying());
    QVERIFY(fixture.ui.messages.empty() && fixture.ui.errors.empty());
}

void CabinetModuleTest::listSelectionClearsOnFocusLoss() {
    OptionsFixture fixture;
    storeTable(fixture.store, {{"CB1", "M1"}, {"CB2", "M2"}});
    auto dialog = shownOnCabinetTab(fixture);
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    auto* list = control<QTreeWidget>(*dialog, "lvwCabinetModule");
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(*dialog, 1));
    QCOMPARE(list->selectedItems().size(), 1);
    control<QPushButton>(*dialog, "cmdAdd")->setFocus();
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(cabinetTab(*dialog).currentRow().number, std::size_t(2));
}

QTEST_MAIN(CabinetModuleTest)
#include "cabinet_module_qtest.moc"
