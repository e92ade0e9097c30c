// The "Cabinet<->Module" tab: importing a table, adding, modifying and deleting rows, and when
// the list, the count, the apply box, the label lists and the store follow.
#include "core/platform/path_names.h"
#include "gui/options/cabinet_module_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <QTabWidget>

#include "gui/options/cabinet_import_dialog.h"
#include "gui/options/cabinet_tab.h"
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

// What the tab shows besides the rows: the count, and whether the apply box can be used and is
// checked.
QString countAndApply(const OptionsDialog& dialog) {
    return labelText(dialog, "lblItemsCount") + (applyBox(dialog)->isEnabled() ? " on" : " off") +
           (applyBox(dialog)->isChecked() ? " checked" : "");
}

// Escape, as a person closes the dialog without "OK", answering "Discard" when asked.
void discard(OptionsDialog& dialog, qor::testing::FakeDesktop& desktop) {
    desktop.onModal = [](QDialog& box) { button(box, "cmdDiscard")->click(); };
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.discarded() && !dialog.isVisible());
}

// "OK" or "Cancel" of the import preview.
void leavePreviewWith(qor::testing::FakeDesktop& desktop, const QString& name) {
    desktop.onModal = [name](QDialog& preview) { button(preview, name)->click(); };
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
    // An import changes the dialog's table only: a No, a cancelled file dialog or a file that
    // cannot be read leave it as it was; a file read replaces it in the list at once, and in
    // the label lists and the store on "OK" only; discarding the dialog drops it.
    void importChangesOnlyTheDialogsTable() {
        OptionsFixture fixture;
        storeTable(fixture, {{"old1", "m1"}, {"old2", "m2"}});
        fixture.store.setValue("Settings", "ApplyCabinetModule", "1");
        fixture.store.setValue("Settings", "LastImportedFile", "old.csv");
        const QStringList old{"old1|m1", "old2|m2"};
        const QStringList imported{"CB801|AI800_1", "CB 802|AI810,2"};
        const std::string file =
            fixture.folder.write("plant cabinets.csv", "cb801,ai800_1\n\"cb 802\",\"ai810,2\"\n");
        const auto stored = [&] {
            return fixture.store.value("CabinetsModules", "ListViewItemsCount", "") + " " +
                   fixture.store.value("Settings", "LastImportedFile", "");
        };
        auto dialog = fixture.open();
        dialog->show();
        QCOMPARE(listed(*dialog), old);
        QCOMPARE(countAndApply(*dialog), QString("2 on checked"));

        fixture.ui.answers = {false, true,
                              true};  // No; a cancelled file dialog; an unreadable file
        fixture.desktop.chosenFiles = {"", fixture.folder.file("gone.csv")};
        for (int attempt = 0; attempt < 3; ++attempt) {
            button(*dialog, "cmdImport")->click();
            QCOMPARE(listed(*dialog), old);
            QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("old.csv"));
        }
        QCOMPARE(fixture.desktop.dialogCalls.size(), std::size_t(2));
        QCOMPARE(fixture.ui.errors.size(), std::size_t(1));
        QVERIFY(fixture.ui.errors[0].description.find("gone.csv") != std::string::npos);
        QVERIFY(fixture.ui.messages.empty());
        QCOMPARE(stored(), std::string("2 old.csv"));

        // The preview's Cancel leaves the table; its OK replaces it.
        for (const char* leave : {"cmdCancel", "cmdOK"}) {
            fixture.ui.answers = {true};
            fixture.desktop.chosenFiles = {file};
            leavePreviewWith(fixture.desktop, leave);
            button(*dialog, "cmdImport")->click();
        }
        QCOMPARE(fixture.desktop.modalTitles.back(), std::string("Import Preview"));
        QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t(2));
        QCOMPARE(listed(*dialog), imported);
        QCOMPARE(labelText(*dialog, "lblImportedFile"), QString("plant cabinets.csv"));
        QCOMPARE(countAndApply(*dialog), QString("2 on checked"));
        QCOMPARE(labelled(fixture.session.cabinetLabels), old);
        QCOMPARE(stored(), std::string("2 old.csv"));
        discard(*dialog, fixture.desktop);

        auto reopened = fixture.open();
        reopened->show();
        QCOMPARE(listed(*reopened), old);
        QCOMPARE(labelText(*reopened, "lblImportedFile"), QString("old.csv"));
        fixture.ui.answers = {true};
        fixture.desktop.chosenFiles = {file};
        leavePreviewWith(fixture.desktop, "cmdOK");
        button(*reopened, "cmdImport")->click();
        button(*reopened, "cmdOK")->click();
        QCOMPARE(labelled(fixture.session.cabinetLabels), imported);
        QCOMPARE(stored(), std::string("2 plant cabinets.csv"));
        QCOMPARE(fixture.store.value("CabinetsModules", "ModuleValue_2", ""),
                 std::string("AI810,2"));
        // The file dialog starts where the last import came from, at first in the home folder.
        QVERIFY(qor::platform::samePath(fixture.desktop.dialogCalls.front().folder,
                                        QDir::homePath().toStdString()));
        QVERIFY(qor::platform::samePath(fixture.desktop.dialogCalls.back().folder,
                                        fixture.folder.str()));
    }

    void addRows() {
        OptionsFixture fixture;
        auto dialog = shownOnCabinetTab(fixture);
        dialog->returnToPosition();
        const QPoint centred = dialog->pos();
        bool checked = false;
        fixture.desktop.onModal = [&](QDialog& shown) {
            // The options dialog stays where it is.
            QCOMPARE(dialog->pos(), centred);
            QCOMPARE(countAndApply(*dialog), QString("0 off"));
            fillAndClick(shown, "cb801", "ai800_1");
            QCOMPARE(countAndApply(*dialog), QString("1 on"));  // at once, not on the next load
            // The boxes are empty for the next row.
            QVERIFY(control<QLineEdit>(shown, "txtNewCabinet")->text().isEmpty());
            QVERIFY(control<QLineEdit>(shown, "txtNewModule")->text().isEmpty());
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
        QCOMPARE(countAndApply(*dialog), QString("2 on"));
        applyBox(*dialog)->click();
        // The label lists and the store follow on the next save only.
        QVERIFY(fixture.session.cabinetLabels.empty());
        QVERIFY(!fixture.store.hasSection("CabinetsModules"));
        button(*dialog, "cmdOK")->click();
        QCOMPARE(labelled(fixture.session.cabinetLabels),
                 QStringList({"CB801|AI800_1", "CB802|DI810_3"}));
        QCOMPARE(fixture.store.value("CabinetsModules", "CabinetValue_2", ""),
                 std::string("CB802"));
        QVERIFY(fixture.session.options.applyCabinetLabels);
        QCOMPARE(countAndApply(*dialog), QString("2 on checked"));
    }

    // Modify (double-click, context menu) and Delete (button, key, context menu) act on the
    // selected row, show at once, and are undone by discarding the dialog.
    void modifyAndDeleteRows() {
        OptionsFixture fixture;
        storeTable(fixture, {{"cb1", "m1"}, {"", "M2"}, {"CB3", "M3"}, {"CB4", "M4"}});
        fixture.store.setValue("Settings", "ApplyCabinetModule", "1");
        auto dialog = shownOnCabinetTab(fixture);
        QCOMPARE(listed(*dialog)[0], QString("cb1|m1"));  // stored rows stay as stored
        CabinetTab& tab = cabinetTab(*dialog);
        auto* modify = control<QAction>(*dialog, "actModifyRow");
        auto* remove = control<QAction>(*dialog, "actDeleteRow");
        QVERIFY(!modify->isEnabled() && !remove->isEnabled() &&
                !button(*dialog, "cmdDelete")->isEnabled());
        tab.editRow();
        tab.deleteRow();  // nothing selected: nothing happens
        QVERIFY(fixture.desktop.modalTitles.empty());
        QCOMPARE(listed(*dialog).size(), 4);

        // A double-click opens the row, a row without a cabinet name too, in modify mode; one
        // Apply changes it and closes.
        fixture.desktop.onModal = [&](QDialog& shown) {
            QVERIFY(!button(shown, "cmdClose")->isVisible());
            QCOMPARE(control<QLineEdit>(shown, "txtNewModule")->text(), QString("M2"));
            fillAndClick(shown, "", "ao810_4");
            QVERIFY(!shown.isVisible());
        };
        doubleClickRow(*dialog, 1);
        QCOMPARE(tab.currentRow().number, std::size_t(2));
        QVERIFY(modify->isEnabled() && remove->isEnabled());
        QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "|AO810_4", "CB3|M3", "CB4|M4"}));
        QCOMPARE(tab.currentRow().number, std::size_t(2));  // still selected after the change
        fixture.desktop.onModal = [&](QDialog& shown) { fillAndClick(shown, "cb2", "m2"); };
        modify->trigger();
        QCOMPARE(listed(*dialog)[1], QString("CB2|M2"));
        QCOMPARE(fixture.desktop.modalTitles.size(), std::size_t(2));

        // The selection stays in view when the focus leaves the list, for Delete to act on.
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        clickRow(*dialog, 2);
        button(*dialog, "cmdAdd")->setFocus();
        QCOMPARE(tab.currentRow().number, std::size_t(3));
        button(*dialog, "cmdDelete")->click();
        QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "CB2|M2", "CB4|M4"}));
        QCOMPARE(countAndApply(*dialog), QString("3 on checked"));
        // The row that moved up is selected in its place; the last row's successor is the row
        // above it.
        QCOMPARE(tab.currentRow().number, std::size_t(3));
        list(*dialog)->setFocus();
        QTest::keyClick(list(*dialog), Qt::Key_Delete);
        QCOMPARE(listed(*dialog), QStringList({"cb1|m1", "CB2|M2"}));
        QCOMPARE(tab.currentRow().number, std::size_t(2));
        remove->trigger();
        remove->trigger();
        QVERIFY(listed(*dialog).isEmpty());
        QCOMPARE(countAndApply(*dialog), QString("0 off"));
        QVERIFY(!remove->isEnabled() && !button(*dialog, "cmdDelete")->isEnabled());
        QCOMPARE(fixture.store.value("CabinetsModules", "ListViewItemsCount", ""),
                 std::string("4"));

        discard(*dialog, fixture.desktop);
        auto reopened = shownOnCabinetTab(fixture);
        QCOMPARE(listed(*reopened), QStringList({"cb1|m1", "|M2", "CB3|M3", "CB4|M4"}));
        QCOMPARE(countAndApply(*reopened), QString("4 on checked"));
        clickRow(*reopened, 3);
        cabinetTab(*reopened).deleteRow();
        button(*reopened, "cmdOK")->click();
        QCOMPARE(fixture.store.keyCount("CabinetsModules"), std::size_t(7));
        QCOMPARE(labelled(fixture.session.cabinetLabels), QStringList({"cb1|m1", "|M2", "CB3|M3"}));
    }

    // The preview takes well-formed files as they always were; of the rest it says what each
    // line gives, skips the heading unless asked, takes ';' pairs only when asked, and leaves
    // out repeated rows and lines that are no pair. Taken, per line: T taken, - left out.
    void importPreviewSaysWhatEachLineGives_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("boxes");  // H: heading box offered, S: ';' box offered
        QTest::addColumn<bool>("clickBoxes");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("well-formed")
            << QByteArray("cb801,ai800_1\r\n\"cb 802\",\"ai810,2\"\n") << "" << false << "TT"
            << QStringList{"CB801|AI800_1", "CB 802|AI810,2"};
        const QByteArray mixed(
            "\xEF\xBB\xBF"
            "Cabinet,Module\r\ncb701,ai810_1\r\nCB702;DI810_1\r\nONEFIELD\r\n"
            "a,b,c\r\ncb701,ai810_1\r\ncb799,ai810_1\r\n");
        QTest::newRow("as offered")
            << mixed << "HS" << false << "-T----T" << QStringList{"CB701|AI810_1", "CB799|AI810_1"};
        QTest::newRow("heading and pairs taken")
            << mixed << "HS" << true << "TTT---T"
            << QStringList{"CABINET|MODULE", "CB701|AI810_1", "CB702|DI810_1", "CB799|AI810_1"};
    }
    void importPreviewSaysWhatEachLineGives() {
        QFETCH(QByteArray, text);
        QFETCH(QString, boxes);
        QFETCH(bool, clickBoxes);
        QFETCH(QString, taken);
        QFETCH(QStringList, rows);
        const qor::options::CabinetFile file{qor::options::parseCabinetImport(text.toStdString()),
                                             "plant.csv"};
        qor::gui::CabinetImportDialog preview(file);
        for (const auto& [letter, name] :
             {std::pair{'H', "chkSkipHeading"}, {'S', "chkSemicolonPairs"}}) {
            auto* box = preview.findChild<QCheckBox*>(name);
            QCOMPARE(box != nullptr, boxes.contains(QChar(letter)));
            if (box != nullptr && clickBoxes) {
                box->click();
            }
        }
        QString shown;
        for (int row = 0; row < preview.model().rowCount(); ++row) {
            shown += preview.model().taken(row) ? 'T' : '-';
            // Every line left out says why, and so does the second cabinet of a module.
            const QString note = preview.model().note(row);
            QVERIFY(preview.model().taken(row) || !note.isEmpty());
            QCOMPARE(note.contains("line 2 gave the cabinet CB701"), row == 6);
        }
        QCOMPARE(shown, taken);
        QCOMPARE(labelled(preview.rows()), rows);
        QVERIFY(control<QLabel>(preview, "lblImportSummary")->text().contains("plant.csv"));
    }

    // A row the table has is refused with a message, a module given another cabinet asks which
    // wins, and closing the options with rows not saved asks: Cancel stays, Discard drops
    // them, Save keeps them.
    void tableRefusesRepeatsAndAsksBeforeLosingRows() {
        OptionsFixture fixture;
        auto dialog = shownOnCabinetTab(fixture);
        fixture.desktop.onModal = [&](QDialog& shown) {
            fillAndClick(shown, "CB801", "AI800_1");
            button(shown, "cmdApply")->click();  // Enter again: the boxes are empty now
            fillAndClick(shown, "cb801", "ai800_1");
            QCOMPARE(fixture.ui.messages.size(), std::size_t(2));
            QVERIFY(fixture.ui.messages.back().text.find("in the list already") !=
                    std::string::npos);
            fixture.ui.answers = {false, true};  // CB801 keeps it, then CB999 takes it
            fillAndClick(shown, "CB999", "AI800_1");
            QCOMPARE(listed(*dialog), QStringList({"CB801|AI800_1"}));
            fillAndClick(shown, "CB999", "AI800_1");
            QCOMPARE(listed(*dialog), QStringList({"CB999|AI800_1"}));
            QCOMPARE(fixture.ui.prompts.size(), std::size_t(2));
            fillAndClick(shown, "CB999", "AI800_2");
            button(shown, "cmdClose")->click();
        };
        button(*dialog, "cmdAdd")->click();
        const QStringList typed{"CB999|AI800_1", "CB999|AI800_2"};
        QCOMPARE(listed(*dialog), typed);

        for (const char* answer : {"cmdCancel", "cmdSave"}) {
            fixture.desktop.onModal = [answer](QDialog& box) { button(box, answer)->click(); };
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        }
        QCOMPARE(fixture.desktop.modalTitles.back(), std::string(".QOR Reader"));
        QVERIFY(!dialog->isVisible() && !dialog->discarded());
        QCOMPARE(labelled(fixture.session.cabinetLabels), typed);

        auto again = shownOnCabinetTab(fixture);
        cabinetTab(*again).deleteRow();
        clickRow(*again, 0);
        cabinetTab(*again).deleteRow();
        discard(*again, fixture.desktop);
        QCOMPARE(labelled(fixture.session.cabinetLabels), typed);
        // Without edits nothing is asked.
        const std::size_t asked = fixture.desktop.modalTitles.size();
        auto untouched = shownOnCabinetTab(fixture);
        QTest::keyClick(untouched.get(), Qt::Key_Escape);
        QVERIFY(untouched->discarded());
        QCOMPARE(fixture.desktop.modalTitles.size(), asked);
    }

    // The assignment dialog refuses a row that is not there, silently.
    void modifyNeverWritesOutsideTheTable() {
        OptionsFixture fixture;
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
