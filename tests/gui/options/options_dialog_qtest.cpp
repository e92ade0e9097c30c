#include "gui/options/options_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "core/base/strings.h"
#include "core/platform/qt_settings_store.h"
#include "gui/options/cabinet_module_dialog.h"
#include "gui/options/general_tab.h"
#include "gui/options/multi_row_tabs.h"
#include "options_fixture.h"

using qor::gui::OptionsDialog;
using qor::options::OutputMode;
using qor::scan::ElementType;
using qor::testing::control;
using qor::testing::OptionsFixture;

namespace {

// The types of tabs 0 to 9, in tab order.
constexpr ElementType kTabTypes[] = {
    ElementType::AI,  ElementType::AO,     ElementType::DI,     ElementType::DO,  ElementType::DIC,
    ElementType::DOC, ElementType::PIDCON, ElementType::MOTCON, ElementType::AIC, ElementType::AOC};
constexpr ElementType kDatTypes[] = {ElementType::DATB, ElementType::DATI, ElementType::DATIL,
                                     ElementType::DATR};

QString section(ElementType type) {
    return QString::fromUtf8(qor::scan::elementType(type).settingsSection.data());
}
QCheckBox* parameterBox(const QObject& dialog, ElementType type, int box) {
    return control<QCheckBox>(dialog, section(type) + "_" + QString::number(box));
}
QCheckBox* enableBox(const QObject& dialog, ElementType type) {
    return control<QCheckBox>(dialog, section(type).chopped(10) + "EnableSearch");
}
QString text(int id) {
    return QString::fromUtf8(qor::loadString(id).data());
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void captionsAndTabOrder();
    void elementBoxesKeepNameChecked();
    void datBoxesMoveInPairs();
    void outputOptionsAtLoadAndOnClick();
    void excelNotInstalled();
    void okSavesAndTitleBarCloseDiscards();
    void previewStatusSavesThenShowsTheRecordAgain();
    void resultFolderComesFromTheTreeOnly();
    void everyPageIsLaidOutTidily();
};

void OptionsDialogTest::captionsAndTabOrder() {
    OptionsFixture fixture;
    auto dialog = fixture.open();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Search Options"));
    QVERIFY(!(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));
    dialog->show();
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());

    const QStringList captions{"Analog Input",
                               "Analog Output",
                               "Digital Input",
                               "Digital Output",
                               "Digital Input Calc.",
                               "Digital Output Calc.",
                               "PIDCON",
                               "MOTCON",
                               "Analog Input Calc.",
                               "Analog Output Calc.",
                               "DAT Elements",
                               "General Options",
                               "Cabinet<->Module",
                               "Spare"};
    qor::gui::MultiRowTabWidget& tabs = dialog->tabs();
    QCOMPARE(tabs.count(), int(captions.size()));
    for (int i = 0; i < tabs.count(); ++i) {
        QCOMPARE(tabs.tabText(i), captions[i]);
    }
    // Twelve to a row, the fresh store opening "General Options".
    QCOMPARE(tabs.rowCount(), 2);
    QCOMPARE(tabs.tabRect(11).top(), tabs.tabRect(0).top());
    QVERIFY(tabs.tabRect(12).top() != tabs.tabRect(0).top());
    QCOMPARE(tabs.currentIndex(), 11);

    const QStringList moduleLines{"AIS (S100 Cabinet) and AIS8xx (S800 Cabinet)",
                                  "AOS (S100 Cabinet) and AOS8xx (S800 Cabinet)",
                                  "DIS (S100 Cabinet) and DIS8xx (S800 Cabinet)",
                                  "DOS (S100 Cabinet ) and DOS8xx (S800 Cabinet)"};
    for (int i = 0; i < 10; ++i) {
        const qor::scan::ElementTypeInfo& info = qor::scan::elementType(kTabTypes[i]);
        QWidget* page = tabs.widget(i);
        QStringList labels;
        for (const QLabel* label : page->findChildren<QLabel*>()) {
            labels << label->text();
        }
        QVERIFY(labels.contains(text(138)));
        if (i < 4) {
            QVERIFY(labels.contains(moduleLines[i]));
        } else {
            QVERIFY(labels.filter("Cabinet").isEmpty());
        }
        QStringList boxes;
        for (const QCheckBox* box : page->findChildren<QCheckBox*>()) {
            boxes << box->text();
        }
        QStringList expected;
        for (const std::string_view name : info.parameters) {
            expected << QString::fromUtf8(name.data(), qsizetype(name.size()));
        }
        expected << text(137);
        QCOMPARE(boxes, expected);
        const QCheckBox* name = parameterBox(*dialog, kTabTypes[i], 1);
        QCOMPARE(name->palette().color(name->foregroundRole()), QColor(128, 0, 0));
    }
    QWidget* datPage = tabs.widget(10);
    for (const ElementType type : kDatTypes) {
        QVERIFY(datPage->isAncestorOf(parameterBox(*dialog, type, 1)));
        QCOMPARE(parameterBox(*dialog, type, 1)->text(), QString("NAME"));
        QCOMPARE(enableBox(*dialog, type)->text(), text(137));
    }

    QCOMPARE(control<QGroupBox>(*dialog, "fraSaveOptions")->title(), text(139));
    QCOMPARE(control<QRadioButton>(*dialog, "optSaveToExcelOnly")->text(), text(140));
    QCOMPARE(control<QRadioButton>(*dialog, "optSaveToCSVOnly")->text(), text(141));
    QCOMPARE(control<QRadioButton>(*dialog, "optSaveToHTMLReport")->text(), text(143));
    QCOMPARE(control<QCheckBox>(*dialog, "chkSaveToOneExcelFile")->text(), text(144));
    QCOMPARE(control<QLabel>(*dialog, "lblExcelVersionCaption")->text(), text(135));
    QCOMPARE(control<QCheckBox>(*dialog, "chkShowSearchStatusDialog")->text(), text(134));
    auto* preview = control<QPushButton>(*dialog, "cmdPreviewStatus");
    QCOMPARE(preview->text(), text(136));
    QCOMPARE(preview->toolTip(), QString("Preview current enabled/disabled status"));
    QCOMPARE(control<QLabel>(*dialog, "lblMandatoryName")->text(), QString("NAME"));
    QCOMPARE(control<QLabel>(*dialog, "lblMandatory")->text(),
             QString("item on each tab is mandatory checked"));
    QCOMPARE(control<QLineEdit>(*dialog, "txtFolderPath")->toolTip(),
             QString("Scan Result Folder Path"));

    // Named versions get their product name; any other is shown as found.
    QCOMPARE(control<QLabel>(*dialog, "lblExcelVersion")->text(), QString("libxlsxwriter 1.1.5"));
    fixture.excel.version = "9";
    auto named = fixture.open();
    QCOMPARE(control<QLabel>(*named, "lblExcelVersion")->text(), QString("Microsoft Excel 2000"));
}

void OptionsDialogTest::elementBoxesKeepNameChecked() {
    OptionsFixture fixture;
    auto dialog = fixture.open();
    for (const ElementType type : kTabTypes) {
        const auto& record = fixture.session.options.of(type);
        QCheckBox* name = parameterBox(*dialog, type, 1);
        QCheckBox* descr = parameterBox(*dialog, type, 2);
        // An empty store shows NAME clear, untouched until a box of the type is clicked.
        QVERIFY(!name->isChecked());

        descr->click();
        QVERIFY(name->isChecked());
        QVERIFY(record.parameters[0] && record.parameters[1]);
        name->click();
        QVERIFY(name->isChecked());
        QVERIFY(record.parameters[0]);
        descr->click();
        QVERIFY(!descr->isChecked() && !record.parameters[1]);
        QVERIFY(name->isChecked());

        // "Enable Search" changes only itself, and the record at once.
        enableBox(*dialog, type)->click();
        QVERIFY(record.enabled);
        QVERIFY(name->isEnabled() && descr->isEnabled());
        QVERIFY(!record.parameters[1]);
        enableBox(*dialog, type)->click();
        QVERIFY(!record.enabled);
    }
}

void OptionsDialogTest::datBoxesMoveInPairs() {
    OptionsFixture fixture;
    auto dialog = fixture.open();
    for (const ElementType type : kDatTypes) {
        const auto& record = fixture.session.options.of(type);
        enableBox(*dialog, type)->click();
        QVERIFY(parameterBox(*dialog, type, 1)->isChecked());
        QVERIFY(record.enabled && record.parameters[0]);
        parameterBox(*dialog, type, 1)->click();
        QVERIFY(!enableBox(*dialog, type)->isChecked());
        QVERIFY(!record.enabled && !record.parameters[0]);
        parameterBox(*dialog, type, 1)->click();
        QVERIFY(enableBox(*dialog, type)->isChecked() && record.enabled);
        enableBox(*dialog, type)->click();
        QVERIFY(!parameterBox(*dialog, type, 1)->isChecked() && !record.parameters[0]);
    }
    // Each row is its own pair.
    enableBox(*dialog, ElementType::DATI)->click();
    for (const ElementType other : {ElementType::DATB, ElementType::DATIL, ElementType::DATR}) {
        QVERIFY(!fixture.session.options.of(other).enabled);
        QVERIFY(!parameterBox(*dialog, other, 1)->isChecked());
    }
}

void OptionsDialogTest::outputOptionsAtLoadAndOnClick() {
    struct Stored {
        const char* excel;
        const char* csv;
        const char* html;
        const char* radio;  // the button selected after loading
        bool oneWorkbookUsable;
    };
    const Stored cases[] = {
        {"True", "False", "False", "optSaveToExcelOnly", true},
        {"True", "False", "True", "optSaveToHTMLReport", false},
        {"True", "True", "False", "optSaveToCSVOnly", false},
        {"False", "False", "True", "optSaveToHTMLReport", false},
    };
    for (const Stored& stored : cases) {
        OptionsFixture fixture;
        fixture.store.setValue("Settings", "SaveToExcelOnly", stored.excel);
        fixture.store.setValue("Settings", "SaveToCSVOnly", stored.csv);
        fixture.store.setValue("Settings", "SaveToHTMLReport", stored.html);
        fixture.store.setValue("Settings", "SaveToOneExcelFile", "1");
        auto dialog = fixture.open();
        QVERIFY2(control<QRadioButton>(*dialog, stored.radio)->isChecked(), stored.radio);
        auto* oneWorkbook = control<QCheckBox>(*dialog, "chkSaveToOneExcelFile");
        QCOMPARE(oneWorkbook->isEnabled(), stored.oneWorkbookUsable);
        if (stored.oneWorkbookUsable) {
            QVERIFY(oneWorkbook->isChecked());
        }
    }

    OptionsFixture fixture;
    auto dialog = fixture.open();
    auto* oneWorkbook = control<QCheckBox>(*dialog, "chkSaveToOneExcelFile");
    QVERIFY(!oneWorkbook->isEnabled());
    control<QRadioButton>(*dialog, "optSaveToExcelOnly")->click();
    QVERIFY(oneWorkbook->isEnabled());
    QCOMPARE(fixture.session.options.outputMode, OutputMode::ExcelFilesOnly);
    oneWorkbook->click();
    QVERIFY(fixture.session.options.writesOneWorkbook());
    for (const char* other : {"optSaveToHTMLReport", "optSaveToCSVOnly"}) {
        control<QRadioButton>(*dialog, other)->click();
        QVERIFY2(!oneWorkbook->isChecked() && !oneWorkbook->isEnabled(), other);
        QVERIFY(!fixture.session.options.oneExcelWorkbook);
        control<QRadioButton>(*dialog, "optSaveToExcelOnly")->click();
        oneWorkbook->click();
    }
}

void OptionsDialogTest::excelNotInstalled() {
    OptionsFixture fixture;
    fixture.excel = {false, ""};
    fixture.store.setValue("Settings", "SaveToExcelOnly", "True");
    fixture.store.setValue("Settings", "SaveToHTMLReport", "False");
    fixture.store.setValue("Settings", "SaveToOneExcelFile", "1");
    auto dialog = fixture.open();
    for (const char* option : {"optSaveToExcelOnly", "optSaveToCSVOnly", "optSaveToHTMLReport"}) {
        QVERIFY2(!control<QRadioButton>(*dialog, option)->isChecked(), option);
    }
    QVERIFY(!control<QRadioButton>(*dialog, "optSaveToExcelOnly")->isEnabled());
    auto* oneWorkbook = control<QCheckBox>(*dialog, "chkSaveToOneExcelFile");
    QVERIFY(!oneWorkbook->isEnabled() && !oneWorkbook->isChecked());
    QCOMPARE(control<QLabel>(*dialog, "lblExcelVersion")->text(), QString("Not installed"));
    QCOMPARE(fixture.session.options.outputMode, OutputMode::None);
    // The remaining choices still work, and leave the workbook box locked.
    control<QRadioButton>(*dialog, "optSaveToCSVOnly")->click();
    QCOMPARE(fixture.session.options.outputMode, OutputMode::CsvFilesOnly);
    QVERIFY(!oneWorkbook->isEnabled());
}

void OptionsDialogTest::okSavesAndTitleBarCloseDiscards() {
    OptionsFixture fixture;
    const std::string iniPath = fixture.folder.file("settings/qor.ini");
    auto ini = qor::platform::QtSettingsStore::iniFile(iniPath);
    ini.setValue("Settings", "ScanResultFolderPath", fixture.folder.str());
    {
        auto dialog = fixture.open(&ini);
        parameterBox(*dialog, ElementType::AO, 3)->click();
        enableBox(*dialog, ElementType::AO)->click();
        enableBox(*dialog, ElementType::DATR)->click();
        control<QRadioButton>(*dialog, "optSaveToCSVOnly")->click();
        control<QCheckBox>(*dialog, "chkShowSearchStatusDialog")->click();
        dialog->tabs().setCurrentIndex(3);
        fixture.desktop.onModal = [](QDialog& shown) {
            control<QPushButton>(shown, "cmdOK")->click();
        };
        QCOMPARE(fixture.desktop.runModal(*dialog), int(QDialog::Accepted));
        QVERIFY(!dialog->discarded());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(fixture.session.searchStatus.value(ElementType::AO), 1);
        QCOMPARE(fixture.session.searchStatus.value(ElementType::DATR), 1);
        QCOMPARE(fixture.session.columns[qor::scan::indexOf(ElementType::AO)].headerLine,
                 std::string("CHANNEL,NAME,UNIT,"));
    }

    // A new run reads back what OK stored.
    qor::output::Session fresh;
    std::swap(fixture.session, fresh);
    auto reopened = fixture.open(&ini);
    QVERIFY(parameterBox(*reopened, ElementType::AO, 1)->isChecked());
    QVERIFY(parameterBox(*reopened, ElementType::AO, 3)->isChecked());
    QVERIFY(!parameterBox(*reopened, ElementType::AO, 2)->isChecked());
    QVERIFY(enableBox(*reopened, ElementType::AO)->isChecked());
    QVERIFY(parameterBox(*reopened, ElementType::DATR, 1)->isChecked());
    QVERIFY(control<QRadioButton>(*reopened, "optSaveToCSVOnly")->isChecked());
    QVERIFY(!control<QCheckBox>(*reopened, "chkShowSearchStatusDialog")->isChecked());
    QCOMPARE(reopened->tabs().currentIndex(), 3);

    // Edits closed away through the title bar are gone once the dialog is made again.
    parameterBox(*reopened, ElementType::DI, 2)->click();
    enableBox(*reopened, ElementType::AO)->click();
    control<QRadioButton>(*reopened, "optSaveToHTMLReport")->click();
    QVERIFY(!fixture.session.options.of(ElementType::AO).enabled);
    fixture.desktop.onModal = [](QDialog& shown) { shown.close(); };
    QCOMPARE(fixture.desktop.runModal(*reopened), int(QDialog::Rejected));
    QVERIFY(reopened->discarded());
    reopened.reset();
    auto again = fixture.open(&ini);
    QVERIFY(!again->discarded());
    QVERIFY(fixture.session.options.of(ElementType::AO).enabled);
    QVERIFY(!fixture.session.options.of(ElementType::DI).parameters[1]);
    QVERIFY(!parameterBox(*again, ElementType::DI, 1)->isChecked());
    QCOMPARE(fixture.session.options.outputMode, OutputMode::CsvFilesOnly);
    QCOMPARE(QString::fromStdString(ini.value("chkDISParameters", "DESCR", "absent")),
             QString("0"));
    QVERIFY(fixture.ui.errors.empty());
}

void OptionsDialogTest::previewStatusSavesThenShowsTheRecordAgain() {
    OptionsFixture fixture;
    auto dialog = fixture.open();
    enableBox(*dialog, ElementType::PIDCON)->click();
    int calls = 0;
    dialog->onPreviewStatus = [&] {
        ++calls;
        // By now the store and the status table agree with the boxes.
        QCOMPARE(
            QString::fromStdString(fixture.store.value("chkPIDCONParameters", "EnableSearch", "")),
            QString("1"));
        QCOMPARE(fixture.session.searchStatus.value(ElementType::PIDCON), 1);
        // The search status dialog toggles the live record.
        fixture.session.options.of(ElementType::MOTCON).enabled = true;
    };
    dialog->show();
    control<QPushButton>(*dialog, "cmdPreviewStatus")->click();
    QCOMPARE(calls, 1);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->discarded());
    QVERIFY(enableBox(*dialog, ElementType::MOTCON)->isChecked());

    // A preview that fails is reported, and the dialog carries on.
    dialog->onPreviewStatus = [] { throw std::runtime_error("no status window"); };
    control<QPushButton>(*dialog, "cmdPreviewStatus")->click();
    QCOMPARE(fixture.ui.errors.size(), std::size_t(1));
    QCOMPARE(fixture.ui.errors[0].procedure, std::string("cmdPreviewStatus_Click"));
    QVERIFY(dialog->isVisible());
}

void OptionsDialogTest::resultFolderComesFromTheTreeOnly() {
    OptionsFixture fixture;
    std::filesystem::create_directories(fixture.folder.path() / "results");
    auto dialog = fixture.open();
    dialog->show();
    auto* pages = control<QPushButton>(*dialog, "cmdNextPage")->parentWidget()->parentWidget();
    auto* stack = qobject_cast<QStackedWidget*>(pages);
    QVERIFY(stack != nullptr);
    control<QPushButton>(*dialog, "cmdNextPage")->click();
    QCOMPARE(stack->currentIndex(), 1);
    control<QPushButton>(*dialog, "cmdPreviousPage")->click();
    QCOMPARE(stack->currentIndex(), 0);
    control<QPushButton>(*dialog, "cmdNextPage")->click();

    auto* path = control<QLineEdit>(*dialog, "txtFolderPath");
    auto* tree = control<QTreeView>(*dialog, "dirFolders");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QCOMPARE(path->text(), QString::fromStdString(fixture.folder.str()));
    QCOMPARE(model->filePath(tree->currentIndex()), QString::fromStdString(fixture.folder.str()));

    const QString chosen = QString::fromStdString((fixture.folder.path() / "results").string());
    tree->setCurrentIndex(model->index(chosen));
    QCOMPARE(path->text(), QDir::toNativeSeparators(chosen));
    QCOMPARE(QString::fromStdString(fixture.session.options.scanResultFolderPath),
             QDir::toNativeSeparators(chosen));

    // Typing is refused with a hint, and changes nothing.
    path->setFocus();
    QTest::keyClicks(path, "x");
    QTest::keyClick(path, Qt::Key_Backspace);
    QCOMPARE(path->text(), QDir::toNativeSeparators(chosen));
    QCOMPARE(fixture.ui.messages.size(), std::size_t(2));
    QCOMPARE(QString::fromStdString(fixture.ui.messages[0].text),
             QString("Change this folder location with directory list above."));

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

namespace {

// Every caption on `page` is shown whole and inside the page. Pictures go to the folder
// named by QOR_SCREENSHOT_DIR, when it is set, for a person to look at.
void checkTidy(QWidget& window, QWidget& page, const QString& shot) {
    for (QWidget* widget : page.findChildren<QWidget*>()) {
        if (!widget->isVisible() ||
            !(qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget))) {
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

void OptionsDialogTest::everyPageIsLaidOutTidily() {
    OptionsFixture fixture;
    fixture.store.setValue("CabinetsModules", "ListViewItemsCount", "2");
    fixture.store.setValue("CabinetsModules", "CabinetValue_1", "CB801");
    fixture.store.setValue("CabinetsModules", "ModuleValue_1", "AI800_1");
    fixture.store.setValue("CabinetsModules", "CabinetValue_2", "CB802");
    fixture.store.setValue("CabinetsModules", "ModuleValue_2", "DI810_2");
    fixture.store.setValue("Settings", "LastImportedFile", "cabinets.csv");
    auto dialog = fixture.open();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    qor::gui::MultiRowTabWidget& tabs = dialog->tabs();
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        // The tabs stay inside the control and never overlap one another.
        for (int j = 0; j < tabs.count(); ++j) {
            QVERIFY(tabs.rect().contains(tabs.tabRect(j)));
            for (int k = j + 1; k < tabs.count(); ++k) {
                QVERIFY(!tabs.tabRect(j).intersects(tabs.tabRect(k)));
            }
        }
        QCOMPARE(tabs.tabAt(tabs.tabRect(i).center()), i);
        checkTidy(*dialog, *tabs.widget(i), QString("options_tab_%1").arg(i, 2, 10, QChar('0')));
    }
    tabs.setCurrentIndex(11);
    control<QPushButton>(*dialog, "cmdNextPage")->click();
    checkTidy(*dialog, *tabs.widget(11), "options_tab_11_page2");
    checkTidy(*dialog, *dialog, "options_dialog");

    qor::options::CabinetModuleTable table;
    qor::gui::CabinetModuleDialog assignment(table, fixture.ui, dialog.get());
    assignment.show();
    QVERIFY(QTest::qWaitForWindowExposed(&assignment));
    checkTidy(assignment, assignment, "cabinet_module_add");
    qor::gui::CabinetModuleDialog modify(table, fixture.ui, dialog.get());
    modify.modifyRow({"CB801", "AI800_1", 1});
    modify.show();
    QVERIFY(QTest::qWaitForWindowExposed(&modify));
    checkTidy(modify, modify, "cabinet_module_modify");
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_qtest.moc"
