// The "Cabinet<->Module" tab: importing a table, adding and modifying rows through the
// assignment dialog, and when the list, the label lists and the store follow.
#include "gui/options/cabinet_module_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include "gui/options/cabinet_tab.h"
#include "gui/options/multi_row_tabs.h"
#include "options_fixture.h"

using qor::gui::CabinetModuleDialog;
using qor::gui::CabinetTab;
using qor::gui::OptionsDialog;
using qor::testing::button;
using qor::testing::control;
using qor::testing::OptionsFixture;

namespace {

// Rows as saving the options leaves them in the store.
void storeTable(OptionsFixture& fixture, std::vector<qor::scan::CabinetRow> rows) {
    qor::options::CabinetModuleTable{std::move(rows), ""}.writeTo(fixture.store, fixture.ui);
}

QTreeWidget* list(const OptionsDialog& dialog) {
    return control<QTreeWidget>(dialog, "lvwCabinetModule");
}
// The list as "cabinet|module" lines.
QStringList listed(const OptionsDialog& dialog) {
    QStringList rows;
    for (int i = 0; i < list(dialog)->topLevelItemCount(); ++i) {
        rows << list(dialog)->topLevelItem(i)->text(0) + "|" +
                    list(dialog)->topLevelItem(i)->text(1);
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
QCheckBox* applyBox(const OptionsDialog& dialog) {
    return control<QCheckBox>(dialog, "chkApplyCabinetModule");
}
CabinetTab& cabinetTab(const OptionsDialog& dialog) {
    return dynamic_cast<CabinetTab&>(*control<QWidget>(dialog, "tabCabinetModule"));
}

// Shows the dialog on its cabinet tab, so that rows can be clicked.
std::unique_ptr<OptionsDialog> shownOnCabinetTab(OptionsFixture& fixture) {
    auto dialog = fixture.open();
    dialog->tabs().setCurrentIndex(12);
    dialog->show();
    return dialog;
}

void clickRow(const OptionsDialog& dialog, int row) {
    const QPoint centre = list(dialog)->visualItemRect(list(dialog)->topLevelItem(row)).center();
    QTest::mouseClick(list(dialog)->viewport(), Qt::LeftButton, {}, centre);
}
// A person's double-click: a click, then the second press that makes it double.
void doubleClickRow(const OptionsDialog& dialog, int row) {
    clickRow(dialog, row);
    const QPoint centre = list(dialog)->visualItemRect(list(dialog)->topLevelItem(row)).center();
    QTest::mouseDClick(list(dialog)->viewport(), Qt::LeftButton, {}, centre);
}

void fillAndClick(QDialog& shown, const QString& cabinet, const QString& module) {
    control<QLineEdit>(shown, "txtNewCabinet")->setText(cabinet);
    control<QLineEdit>(shown, "txtNewModule")->setText(module);
    button(shown, "cmdApply")->click();
}

}  // namespace

class CabinetModuleTest : public QObject {
    Q_OBJECT

private slots:
    // The old table leaves the list and the store after a Yes; the new one is in the list and
    // the label lists at once, and in the store with OK. A cancelled file dialog empties it.
    void importReplacesTheTableAfterAYes() {
        OptionsFixture fixture;
        storeTable(fixture, {{"old1", "m1"}, {"old2", "m2"}});
        fixture.store.setValue("Settings", "ApplyCabinetModule", "1");
        fixture.store.setValue("Settings", "LastImportedFile", "old.csv");
        auto dialog = fixture.open();
        QCOMPARE(listed(*dialog), QStringList({"old1|m1", "old2|m2"}));
        QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("old.csv"));
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("2"));
        QVERIFY(applyBox(*dialog)->isEnabled() && applyBox(*dialog)->isChecked());

        fixture.ui.answers = {false};
        button(*dialog, "cmdImport")->click();
        QVERIFY(fixture.desktop.dialogCalls.empty());
        QCOMPARE(listed(*dialog).size(), 2);
        QVERIFY(fixture.store.hasSection("CabinetsModules"));

        const std::string file =
            fixture.folder.write("plant cabinets.csv", "cb801,ai800_1\n\"cb 802\",\"ai810,2\"\n");
        fixture.ui.answers = {true};
        fixture.desktop.chosenFiles = {file};
        button(*dialog, "cmdImport")->click();
        // The first import starts in the home folder, the next where the last one was.
        QCOMPARE(fixture.desktop.dialogCalls.at(0).folder, QDir::homePath().toStdString());
        const QStringList expected{"CB801|AI800_1", "CB 802|AI810,2"};
        QCOMPARE(listed(*dialog), expected);
        QCOMPARE(labelled(fixture.session.cabinetLabels), expected);
        QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("plant cabinets.csv"));
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("2"));
        QVERIFY(applyBox(*dialog)->isEnabled() && applyBox(*dialog)->isChecked());
        QVERIFY(!fixture.store.hasSection("CabinetsModules"));
        button(*dialog, "cmdOK")->click();
        QCOMPARE(fixture.store.value("CabinetsModules", "ModuleValue_2", ""),
                 std::string("AI810,2"));

        fixture.ui.answers = {true};
        button(*dialog, "cmdImport")->click();
        QCOMPARE(fixture.desktop.dialogCalls.at(1).folder, fixture.folder.str());
        QVERIFY(listed(*dialog).isEmpty() && fixture.session.cabinetLabels.empty());
        QCOMPARE(labelText(*dialog, "lblImportedFile"), QString());
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
        QVERIFY(!applyBox(*dialog)->isEnabled());
        QVERIFY(applyBox(*dialog)->isChecked());  // only its availability follows the table
        QVERIFY(!fixture.store.hasSection("CabinetsModules"));
        QCOMPARE(fixture.store.value("Settings", "LastImportedFile", "?"), std::string());
        // Made again from the store, an empty table clears and locks the box.
        dialog.reset();
        auto reopened = fixture.open();
        QVERIFY(!applyBox(*reopened)->isEnabled() && !applyBox(*reopened)->isChecked());
    }

    void failedImportIsReportedAndLeavesNothingHalfDone() {
        OptionsFixture fixture;
        auto dialog = fixture.open();
        fixture.ui.defaultAnswer = true;
        // An odd field count: reported, and the rows read are kept.
        fixture.desktop.chosenFiles = {fixture.folder.write("odd.txt", "cb1,m1\ncb2\n")};
        button(*dialog, "cmdImport")->click();
        QCOMPARE(fixture.ui.errors.size(), std::size_t(1));
        QCOMPARE(listed(*dialog), QStringList({"CB1|M1", "CB2|"}));
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("2"));
        QVERIFY(applyBox(*dialog)->isEnabled());

        // A file gone between choosing and reading: reported, and the table empty.
        fixture.desktop.chosenFiles = {fixture.folder.file("gone.csv")};
        button(*dialog, "cmdImport")->click();
        QCOMPARE(fixture.ui.errors.size(), std::size_t(2));
        QVERIFY(listed(*dialog).isEmpty());
        QVERIFY(dialog->draft().cabinetTable.rows.empty());
        QVERIFY(fixture.session.cabinetLabels.empty());
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
        QVERIFY(!applyBox(*dialog)->isEnabled());
        QCOMPARE(labelText(*dialog, "lblImportedFile"),
                 QString::fromStdString(fixture.store.value("Settings", "LastImportedFile", "?")));
    }

    void addRows() {
        OptionsFixture fixture;
        auto dialog = shownOnCabinetTab(fixture);
        dialog->returnToPosition();
        const QPoint centred = dialog->pos();
        const int screenTop = dialog->screen()->geometry().top();
        bool checked = false;
        fixture.desktop.onModal = [&](QDialog& shown) {
            // The options dialog makes room for the assignment dialog.
            QVERIFY(dialog->y() < centred.y() || centred.y() == screenTop);
            fillAndClick(shown, "cb801", "ai800_1");
            fillAndClick(shown, "cb802", "");  // both are needed: a hint each time
            fillAndClick(shown, "", "ai800_2");
            QCOMPARE(fixture.ui.messages.size(), std::size_t(2));
            fillAndClick(shown, "cb802", "di810_3");
            QVERIFY(shown.isVisible());
            QCOMPARE(listed(*dialog), QStringList({"CB801|AI800_1", "CB802|DI810_3"}));
            button(shown, "cmdClose")->click();
            QVERIFY(!shown.isVisible());
            checked = true;
        };
        button(*dialog, "cmdAdd")->click();
        QVERIFY(checked);
        QCOMPARE(dialog->pos(), centred);
        // The label lists and the store follow on the next save only.
        QVERIFY(fixture.session.cabinetLabels.empty());
        QVERIFY(!fixture.store.hasSection("CabinetsModules"));
        button(*dialog, "cmdOK")->click();
        QCOMPARE(labelled(fixture.session.cabinetLabels),
                 QStringList({"CB801|AI800_1", "CB802|DI810_3"}));
        QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_2", ""),
                 std::string("CB802"));
        // The count and the apply box follow the table when the dialog is made, not on adding.
        QCOMPARE(labelText(*dialog, "lblItemsCount"), QString("0"));
        QVERIFY(!applyBox(*dialog)->isEnabled());
    }

    void modifyRows() {
        OptionsFixture fixture;
        storeTable(fixture, {{"cb1", "m1"}, {"CB2", "M2"}, {"CB3", "M3"}});
        auto dialog = shownOnCabinetTab(fixture);
        QCOMPARE(listed(*dialog)[0], QString("cb1|m1"));  // stored rows stay as stored
        CabinetTab& tab = cabinetTab(*dialog);
        tab.editRow();  // nothing current yet
        QVERIFY(fixture.desktop.modalTitles.empty());
        clickRow(*dialog, 1);
        QCOMPARE(tab.currentRow().number, std::size_t(2));

        // A double-click opens the row in modify mode; one Apply changes it and closes.
        fixture.desktop.onModal = [&](QDialog& shown) {
            QVERIFY(!button(shown, "cmdClose")->isVisible());
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
        clickRow(*dialog, 0);
        clickRow(*dialog, 2);
        QCOMPARE(tab.currentRow().number, std::size_t(1));
        // ... but a double-click on it modifies that row, not the one current before.
        fixture.desktop.onModal = [&](QDialog& shown) {
            QCOMPARE(control<QLineEdit>(shown, "txtNewModule")->text(), QString("AO810_4"));
            fillAndClick(shown, "", "");
        };
        doubleClickRow(*dialog, 2);
        QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t(2));
        QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "CB2|M2", "|"}));

        // The selection goes with the focus; the current row stays.
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        list(*dialog)->setFocus();
        clickRow(*dialog, 1);
        QCOMPARE(list(*dialog)->selectedItems().size(), 1);
        button(*dialog, "cmdAdd")->setFocus();
        QVERIFY(list(*dialog)->selectedItems().isEmpty());
        QCOMPARE(cabinetTab(*dialog).currentRow().number, std::size_t(2));

        button(*dialog, "cmdOK")->click();
        QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_3", "?"), std::string());
        QCOMPARE(fixture.store.value("CabinetsModules", "ModuleValue_3", "?"), std::string());
        QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_1", "?"), std::string("cb1"));
    }

    void modifyNeverWritesOutsideTheTable() {
        OptionsFixture fixture;
        storeTable(fixture, {{"CB1", "M1"}, {"CB2", "M2"}, {"CB3", "M3"}});
        auto dialog = shownOnCabinetTab(fixture);
        clickRow(*dialog, 2);
        QCOMPARE(cabinetTab(*dialog).currentRow().number, std::size_t(3));

        // An import leaves a shorter table behind the current row.
        fixture.ui.defaultAnswer = true;
        fixture.desktop.chosenFiles = {fixture.folder.write("one.csv", "cb9,m9\n")};
        button(*dialog, "cmdImport")->click();
        cabinetTab(*dialog).editRow();
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
        QVERIFY(!assignment.isVisible() && !assignment.modifying());
        QVERIFY(fixture.ui.messages.empty() && fixture.ui.errors.empty());
    }
};

QTEST_MAIN(CabinetModuleTest)
#include "cabinet_module_qtest.moc"
