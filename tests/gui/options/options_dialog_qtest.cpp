// The search options dialog: the boxes of each tab and the rules that tie them, the output
// choice, what OK stores, the status preview, the result folder and that every page shows
// its captions whole.
#include "gui/options/options_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include <QTabBar>
#include <QTabWidget>
#include "core/platform/qt_settings_store.h"
#include "core/platform/user_environment.h"
#include "gui/options/cabinet_module_dialog.h"
#include "options_fixture.h"

using qor::options::OutputMode;
using qor::scan::ElementType;
using qor::testing::button;
using qor::testing::control;
using qor::testing::OptionsFixture;
using qor::testing::storeEveryTypeOff;

namespace {

// The types of tabs 0 to 9, in tab order, and the four of "DAT Elements".
constexpr ElementType kTabTypes[] = {
    ElementType::AI,  ElementType::AO,     ElementType::DI,     ElementType::DO,  ElementType::DIC,
    ElementType::DOC, ElementType::PIDCON, ElementType::MOTCON, ElementType::AIC, ElementType::AOC};
constexpr ElementType kDatTypes[] = {ElementType::DATB, ElementType::DATI, ElementType::DATIL,
                                     ElementType::DATR};
const char* const kOutputChoices[] = {"optSaveToExcelOnly", "optSaveToCSVOnly",
                                      "optSaveToHTMLReport"};

QString section(ElementType type) {
    return QString::fromUtf8(qor::scan::elementType(type).settingsSection.data());
}
QCheckBox* parameterBox(const QObject& dialog, ElementType type, int box) {
    return control<QCheckBox>(dialog, section(type) + "_" + QString::number(box));
}
QCheckBox* enableBox(const QObject& dialog, ElementType type) {
    return control<QCheckBox>(dialog, section(type).chopped(10) + "EnableSearch");
}

// Every caption on `page` is shown whole and inside the page. Pictures go to the folder
// named by QOR_SCREENSHOT_DIR, when it is set, for a person to look at.
void checkTidy(QWidget& window, QWidget& page, const QString& shot) {
    for (QWidget* widget : page.findChildren<QWidget*>()) {
        // The tab strip's own scroll arrows are the style's to size.
        if (!widget->isVisible() ||
            !(qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) ||
            qobject_cast<QTabBar*>(widget->parentWidget()) != nullptr) {
            continue;
        }
        const QString name = shot + ": " + widget->objectName();
        QVERIFY2(widget->width() >= widget->sizeHint().width(), qPrintable(name));
        QVERIFY2(widget->height() >= widget->minimumSizeHint().height(), qPrintable(name));
        const QRect placed(widget->mapTo(&page, QPoint(0, 0)), widget->size());
        QVERIFY2(page.rect().contains(placed), qPrintable(name));
    }
    const QString folder = qEnvironmentVariable("QOR_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QVERIFY(window.grab().save(folder + "/" + shot + ".png"));
    }
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Tab i holds every box of the i-th type; a fresh store opens "General Options" with every
    // type enabled for NAME, DESCR, UNIT, RANGEMAX and RANGEMIN. The workbook writer's version
    // is shown as found.
    void tabsHoldTheirTypesAndTheWriterVersion() {
        OptionsFixture fixture;
        auto dialog = fixture.open();
        QTabWidget& tabs = dialog->tabs();
        const QStringList readFirst{"NAME", "DESCR", "UNIT", "RANGEMAX", "RANGEMIN"};
        for (int i = 0; i < 10; ++i) {
            const int count = int(qor::scan::elementType(kTabTypes[i]).parameters.size());
            QCOMPARE(tabs.widget(i)->findChildren<QCheckBox*>().size(), count + 1);
            QVERIFY(enableBox(*dialog, kTabTypes[i])->isChecked());
            for (int box = 1; box <= count; ++box) {
                QCheckBox* check = parameterBox(*dialog, kTabTypes[i], box);
                QVERIFY(tabs.widget(i)->isAncestorOf(check));
                QCOMPARE(check->isChecked(), readFirst.contains(check->text()));
            }
        }
        for (const ElementType type : kDatTypes) {
            QVERIFY(tabs.widget(10)->isAncestorOf(parameterBox(*dialog, type, 1)));
        }
        QCOMPARE(tabs.currentIndex(), 11);

        QVERIFY(control<QLabel>(*dialog, "lblExcelVersion")->text().startsWith("libxlsxwriter "));
    }

    // NAME stays checked whatever is clicked; "Enable Search" brings it, "Select All" and
    // "Clear All" set every box but NAME in one click.
    void elementBoxesKeepNameChecked() {
        OptionsFixture fixture;
        storeEveryTypeOff(fixture.store);
        auto dialog = fixture.open();
        for (const ElementType type : kTabTypes) {
            const auto& record = dialog->draft().of(type);
            QCheckBox* name = parameterBox(*dialog, type, 1);
            QCheckBox* descr = parameterBox(*dialog, type, 2);
            // A stored clear NAME shows clear, untouched until a box of the type is clicked.
            QVERIFY(!name->isChecked());
            enableBox(*dialog, type)->click();
            QVERIFY(record.enabled && name->isChecked() && record.parameters[0]);
            QVERIFY(!record.parameters[1] && !descr->isChecked());
            descr->click();
            QVERIFY(record.parameters[1]);
            name->click();
            QVERIFY(name->isChecked() && record.parameters[0]);
            descr->click();
            QVERIFY(!descr->isChecked() && !record.parameters[1] && name->isChecked());

            const QString prefix = "cmd" + section(type).chopped(10).mid(3);
            const std::size_t count = qor::scan::elementType(type).parameters.size();
            for (const bool all : {true, false}) {
                button(*dialog, prefix + (all ? "SelectAll" : "ClearAll"))->click();
                for (std::size_t box = 0; box < count; ++box) {
                    const bool expected = all || box == 0;
                    QCOMPARE(record.parameters[box], expected);
                    QCOMPARE(parameterBox(*dialog, type, int(box) + 1)->isChecked(), expected);
                }
            }
            enableBox(*dialog, type)->click();
            QVERIFY(!record.enabled && name->isChecked());
        }
    }

    // "Enable All Types" and "Disable All Types" switch every type, the DAT types included,
    // "Select Every Parameter of Every Type" enables every type with every box, and every tab
    // shows it at once; "Cancel" drops it all.
    void everyTypeSwitchesInOneClickAndCancelDiscards() {
        OptionsFixture fixture;
        storeEveryTypeOff(fixture.store);
        auto dialog = fixture.open();
        for (const char* command :
             {"cmdEnableAllTypes", "cmdDisableAllTypes", "cmdSelectEveryParameter"}) {
            const bool enabled = command != QString("cmdDisableAllTypes");
            const bool every = command == QString("cmdSelectEveryParameter");
            button(*dialog, command)->click();
            for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
                QCOMPARE(dialog->draft().of(info.type).enabled, enabled);
                QCOMPARE(enableBox(*dialog, info.type)->isChecked(), enabled);
                for (int box = 1; box <= int(info.parameters.size()); ++box) {
                    QCOMPARE(parameterBox(*dialog, info.type, box)->isChecked(), box == 1 || every);
                    QCOMPARE(dialog->draft().of(info.type).parameters[box - 1], box == 1 || every);
                }
            }
        }
        button(*dialog, "cmdCancel")->click();
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!fixture.session.options.scansAnyType());
        QCOMPARE(fixture.store.value("chkAISParameters", "EnableSearch", ""), std::string("0"));
    }

    void datBoxesMoveInPairs() {
        OptionsFixture fixture;
        storeEveryTypeOff(fixture.store);
        auto dialog = fixture.open();
        for (const ElementType type : kDatTypes) {
            const auto& record = dialog->draft().of(type);
            QCheckBox* name = parameterBox(*dialog, type, 1);
            enableBox(*dialog, type)->click();
            QVERIFY(name->isChecked() && record.enabled && record.parameters[0]);
            name->click();
            QVERIFY(!enableBox(*dialog, type)->isChecked());
            QVERIFY(!record.enabled && !record.parameters[0]);
            name->click();
            QVERIFY(enableBox(*dialog, type)->isChecked() && record.enabled);
            enableBox(*dialog, type)->click();
            QVERIFY(!name->isChecked() && !record.parameters[0]);
        }
        // Each row is its own pair.
        enableBox(*dialog, ElementType::DATI)->click();
        for (const ElementType other : {ElementType::DATB, ElementType::DATIL, ElementType::DATR}) {
            QVERIFY(!dialog->draft().of(other).enabled);
            QVERIFY(!parameterBox(*dialog, other, 1)->isChecked());
        }
    }

    // The stored choice as loaded (which stored choice wins is the options record's rule).
    void outputChoiceAtLoad_data() {
        QTest::addColumn<QStringList>(
            "stored");  // SaveToExcelOnly, SaveToCSVOnly, SaveToHTMLReport
        QTest::addColumn<QString>("chosen");
        QTest::newRow("excel") << QStringList{"True", "False", "False"} << "optSaveToExcelOnly";
        QTest::newRow("html") << QStringList{"False", "False", "True"} << "optSaveToHTMLReport";
    }
    void outputChoiceAtLoad() {
        QFETCH(QStringList, stored);
        QFETCH(QString, chosen);
        OptionsFixture fixture;
        const char* keys[] = {"SaveToExcelOnly", "SaveToCSVOnly", "SaveToHTMLReport"};
        for (int i = 0; i < 3; ++i) {
            fixture.store.setValue("Settings", keys[i], stored[i].toStdString());
        }
        fixture.store.setValue("Settings", "SaveToOneExcelFile", "1");
        auto dialog = fixture.open();
        for (const char* choice : kOutputChoices) {
            QCOMPARE(button(*dialog, choice)->isChecked(), chosen == choice);
        }
        QVERIFY(button(*dialog, "optSaveToExcelOnly")->isEnabled());
        // The stored one-workbook box shows, locked unless workbooks are chosen.
        auto* oneWorkbook = button(*dialog, "chkSaveToOneExcelFile");
        QCOMPARE(oneWorkbook->isEnabled(), chosen == "optSaveToExcelOnly");
        QVERIFY(oneWorkbook->isChecked());
        QCOMPARE(dialog->draft().outputMode == OutputMode::None, chosen.isEmpty());
    }

    void oneWorkbookGoesWithTheWorkbookChoice() {
        OptionsFixture fixture;
        auto dialog = fixture.open();
        auto* oneWorkbook = button(*dialog, "chkSaveToOneExcelFile");
        QVERIFY(!oneWorkbook->isEnabled());
        button(*dialog, "optSaveToExcelOnly")->click();
        QVERIFY(oneWorkbook->isEnabled());
        QCOMPARE(dialog->draft().outputMode, OutputMode::ExcelFilesOnly);
        oneWorkbook->click();
        QVERIFY(dialog->draft().writesOneWorkbook());
        // Another output locks the box, which is remembered for when workbooks come back.
        for (const char* other : {"optSaveToHTMLReport", "optSaveToCSVOnly"}) {
            button(*dialog, other)->click();
            QVERIFY2(!oneWorkbook->isEnabled() && !dialog->draft().writesOneWorkbook(), other);
            button(*dialog, "optSaveToExcelOnly")->click();
            QVERIFY2(oneWorkbook->isEnabled() && oneWorkbook->isChecked(), other);
            QVERIFY(dialog->draft().writesOneWorkbook());
        }
    }

    // What OK stores is what the next run reads. (Edits closed away through the title bar are
    // covered with the main window, which throws such a dialog away.)
    void okStoresWhatTheNextRunReads() {
        OptionsFixture fixture;
        auto ini = qor::platform::QtSettingsStore::iniFile(fixture.folder.file("settings/q.ini"));
        ini.setValue("Settings", "ScanResultFolderPath", fixture.folder.str());
        storeEveryTypeOff(ini);
        {
            auto dialog = fixture.open(&ini);
            dialog->show();
            parameterBox(*dialog, ElementType::AO, 3)->click();
            enableBox(*dialog, ElementType::AO)->click();
            enableBox(*dialog, ElementType::DATR)->click();
            button(*dialog, "optSaveToCSVOnly")->click();
            button(*dialog, "chkShowSearchStatusDialog")->click();
            dialog->tabs().setCurrentIndex(3);
            fixture.desktop.onModal = [](QDialog& shown) { button(shown, "cmdOK")->click(); };
            QCOMPARE(fixture.desktop.runModal(*dialog), int(QDialog::Accepted));
            QVERIFY(!dialog->discarded() && !dialog->isVisible());
            QCOMPARE(fixture.session.searchStatus.value(ElementType::AO), 1);
            QCOMPARE(fixture.session.searchStatus.value(ElementType::DATR), 1);
            QCOMPARE(fixture.session.columns[qor::scan::indexOf(ElementType::AO)].headerLine,
                     std::string("CHANNEL,NAME,UNIT,"));
        }

        // A new run reads back what OK stored.
        fixture.session = {};
        auto reopened = fixture.open(&ini);
        QVERIFY(parameterBox(*reopened, ElementType::AO, 1)->isChecked());
        QVERIFY(parameterBox(*reopened, ElementType::AO, 3)->isChecked());
        QVERIFY(!parameterBox(*reopened, ElementType::AO, 2)->isChecked());
        QVERIFY(enableBox(*reopened, ElementType::AO)->isChecked());
        QVERIFY(parameterBox(*reopened, ElementType::DATR, 1)->isChecked());
        QVERIFY(button(*reopened, "optSaveToCSVOnly")->isChecked());
        QVERIFY(!button(*reopened, "chkShowSearchStatusDialog")->isChecked());
        QCOMPARE(reopened->tabs().currentIndex(), 3);
        QVERIFY(fixture.ui.errors.empty());
    }

    void previewStatusSavesThenShowsTheRecordAgain() {
        OptionsFixture fixture;
        storeEveryTypeOff(fixture.store);
        auto dialog = fixture.open();
        dialog->show();
        enableBox(*dialog, ElementType::PIDCON)->click();
        int calls = 0;
        dialog->onPreviewStatus = [&] {
            ++calls;
            // By now the store and the status table agree with the boxes.
            QCOMPARE(fixture.store.value("chkPIDCONParameters", "EnableSearch", ""),
                     std::string("1"));
            QCOMPARE(fixture.session.searchStatus.value(ElementType::PIDCON), 1);
            // The search status dialog toggles the live record.
            fixture.session.options.of(ElementType::MOTCON).enabled = true;
        };
        button(*dialog, "cmdPreviewStatus")->click();
        QCOMPARE(calls, 1);
        QVERIFY(dialog->isVisible() && !dialog->discarded());
        QVERIFY(enableBox(*dialog, ElementType::MOTCON)->isChecked());

        // A preview that fails is reported, and the dialog carries on.
        dialog->onPreviewStatus = [] { throw std::runtime_error("no status window"); };
        button(*dialog, "cmdPreviewStatus")->click();
        QCOMPARE(fixture.ui.errors.size(), std::size_t(1));
        QCOMPARE(fixture.ui.errors[0].procedure, std::string("cmdPreviewStatus_Click"));
        QVERIFY(dialog->isVisible());
    }

    // On any screen, also one made small by a large scale (this suite runs again at
    // QT_SCALE_FACTOR=2), the dialog lies on it and its buttons can be reached.
    void dialogFitsTheScreen() {
        OptionsFixture fixture;
        auto dialog = fixture.open();
        qor::testing::checkFitsTheScreen(
            *dialog, {"cmdOK", "cmdPreviewStatus", "chkShowSearchStatusDialog"});
        dialog->returnToPosition();
        QVERIFY(dialog->screen()->availableGeometry().contains(dialog->geometry()));
    }

    void resultFolderComesFromTheTreeTheBoxOrBrowse() {
        OptionsFixture fixture;
        std::filesystem::create_directories(fixture.folder.path() / "results");
        auto dialog = fixture.open();
        dialog->show();
        auto* stack = qobject_cast<QStackedWidget*>(
            button(*dialog, "cmdNextPage")->parentWidget()->parentWidget());
        QVERIFY(stack != nullptr);
        button(*dialog, "cmdNextPage")->click();
        QCOMPARE(stack->currentIndex(), 1);
        button(*dialog, "cmdPreviousPage")->click();
        QCOMPARE(stack->currentIndex(), 0);
        button(*dialog, "cmdNextPage")->click();

        auto* path = control<QLineEdit>(*dialog, "txtFolderPath");
        auto* tree = control<QTreeView>(*dialog, "dirFolders");
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        QCOMPARE(path->text(), QString::fromStdString(fixture.folder.str()));
        // The tree names folders with "/" on every system.
        QCOMPARE(model->filePath(tree->currentIndex()),
                 QDir::fromNativeSeparators(QString::fromStdString(fixture.folder.str())));
        const QString chosen = QString::fromStdString((fixture.folder.path() / "results").string());
        tree->setCurrentIndex(model->index(chosen));
        QCOMPARE(path->text(), QDir::toNativeSeparators(chosen));
        QCOMPARE(QString::fromStdString(dialog->draft().scanResultFolderPath),
                 QDir::toNativeSeparators(chosen));

        // A typed path is the folder; beside it, whether a scan could write there.
        auto* state = control<QLabel>(*dialog, "lblFolderState");
        QVERIFY(state->text().isEmpty());
        path->selectAll();
        QTest::keyClicks(path, QString::fromStdString(fixture.folder.str()) + "/missing");
        QCOMPARE(dialog->draft().scanResultFolderPath, fixture.folder.str() + "/missing");
        QCOMPARE(state->text(), QString("This folder does not exist."));
        QTest::keyClick(path, Qt::Key_Backspace);
        QCOMPARE(state->text(), QString("This folder does not exist."));
        // The default folder, Documents, is made by the first scan that needs it (on Windows
        // it is the profile's known folder, always there).
#ifndef _WIN32
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QByteArray::fromStdString(fixture.folder.str()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(fixture.folder.file("config")));
        path->selectAll();
        QTest::keyClicks(path, QString::fromStdString(qor::platform::defaultResultFolder()));
        QCOMPARE(state->text(), QString("This folder will be created by the first scan."));
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
#endif
        // "Browse..." takes the folder the dialog gives, a cancelled one nothing.
        fixture.desktop.chosenFolders = {chosen.toStdString()};
        button(*dialog, "cmdBrowseFolder")->click();
        button(*dialog, "cmdBrowseFolder")->click();
        QCOMPARE(path->text(), chosen);
        QCOMPARE(QString::fromStdString(dialog->draft().scanResultFolderPath), chosen);
        QCOMPARE(model->filePath(tree->currentIndex()), QDir::fromNativeSeparators(chosen));
        QVERIFY(state->text().isEmpty() && fixture.ui.messages.empty());

        // Hovering shows the whole path.
        QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), path->mapToGlobal(QPointF(6, 6)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(path, &move);
        QCOMPARE(path->toolTip(), path->text());

        // Page 2 stays as it was left when the dialog is shown again.
        dialog->hide();
        dialog->show();
        QCOMPARE(stack->currentIndex(), 1);
    }

    // The tabs keep their order and places whichever is clicked, and every page, the folder
    // page and both kinds of cabinet assignment dialog show their captions whole.
    void everyPageIsLaidOutTidily() {
        OptionsFixture fixture;
        fixture.store.setValue("CabinetsModules", "ListViewItemsCount", "1");
        fixture.store.setValue("CabinetsModules", "CabinetValue_1", "CB801");
        fixture.store.setValue("CabinetsModules", "ModuleValue_1", "AI800_1");
        fixture.store.setValue("Settings", "LastImportedFile", "cabinets.csv");
        auto dialog = fixture.open();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTabWidget& tabs = dialog->tabs();
        QTabBar& bar = *tabs.tabBar();
        const auto places = [&bar] {
            QList<QPoint> offsets;  // from the first tab, which the arrows may scroll away
            for (int j = 0; j < bar.count(); ++j) {
                offsets << bar.tabRect(j).topLeft() - bar.tabRect(0).topLeft();
            }
            return offsets;
        };
        const QList<QPoint> first = places();
        for (int i = 0; i < tabs.count(); ++i) {
            tabs.setCurrentIndex(i);
            QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(i).center());
            QCOMPARE(tabs.currentIndex(), i);
            QVERIFY(bar.rect().intersects(bar.tabRect(i)));
            QCOMPARE(places(), first);
            checkTidy(*dialog, *tabs.widget(i),
                      QString("options_tab_%1").arg(i, 2, 10, QChar('0')));
        }
        // Ctrl+PageDown turns the page wherever the focus is, the last one to the first.
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QTest::keyClick(button(*dialog, "cmdOK"), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(tabs.currentIndex(), 0);
        tabs.setCurrentIndex(11);
        button(*dialog, "cmdNextPage")->click();
        checkTidy(*dialog, *tabs.widget(11), "options_tab_11_page2");
        checkTidy(*dialog, *dialog, "options_dialog");

        qor::options::CabinetModuleTable table;
        for (const bool modify : {false, true}) {
            qor::gui::CabinetModuleDialog assignment(table, fixture.ui, dialog.get());
            if (modify) {
                assignment.modifyRow({"CB801", "AI800_1", 1});
            }
            assignment.show();
            QVERIFY(QTest::qWaitForWindowExposed(&assignment));
            checkTidy(assignment, assignment,
                      modify ? "cabinet_module_modify" : "cabinet_module_add");
        }
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_qtest.moc"
