// The search status dialog: what each row shows, what a click on it changes, and the
// buttons of each mode.
#include "gui/options/search_status_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

#include "core/base/qor_error.h"
#include "core/options/search_options.h"
#include "core/options/search_status.h"
#include "gui/base/widget_helpers.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/widget_lookup.h"

using qor::gui::SearchStatusDialog;
using qor::gui::SearchStatusMode;
using qor::scan::ElementType;

namespace {

const QColor kBlue(0, 0, 192);
const QColor kRed(192, 0, 0);

// A store that scans nothing but what a test enables, the session start-up loads from it, and
// the dialog over that session.
struct Fixture {
    qor::testing::MemorySettingsStore store;
    qor::testing::ScriptedUi ui;
    qor::output::Session session;
    std::unique_ptr<SearchStatusDialog> dialog;
    qor::testing::FakeDesktop desktop;

    Fixture() { qor::testing::storeEveryTypeOff(store); }

    void enableInStore(ElementType type, const char* value = "1") {
        store.setValue(qor::scan::elementType(type).settingsSection, "EnableSearch", value);
    }
    void start(QWidget* parent = nullptr) {
        session.options = qor::options::SearchOptions::readFrom(store, {"/tmp"}, ui);
        session.takeOptions();
        session.searchStatus = qor::options::SearchStatusTable::readFrom(store, ui);
        dialog = std::make_unique<SearchStatusDialog>(session, ui, parent);
    }
    QLabel* label(const QString& name) { return dialog->findChild<QLabel*>(name); }
    QLabel* cell(int row) { return label(QString("lblStatus_%1").arg(row)); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(name); }
    QWidget* hint() { return dialog->findChild<QWidget*>("fraNothingEnabled"); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    // The text and the colour the status cell paints it with.
    std::pair<QString, QColor> status(int row) {
        return {cell(row)->text(), cell(row)->palette().color(cell(row)->foregroundRole())};
    }
};

using Status = std::pair<QString, QColor>;

}  // namespace

class SearchStatusDialogTest : public QObject {
    Q_OBJECT

private slots:
    // On a screen made small by a large scale the table scrolls and every button stays on it,
    // the hint of a fresh account included (ctest runs this once at double scale).
    void dialogFitsTheScreen() {
        Fixture f;
        f.start();
        qor::testing::checkFitsTheScreen(*f.dialog,
                                         {"cmdCancel", "cmdChangeSettings", "cmdScanNow"});
    }

    // Each cell shows whether its type is scanned (a greyed box in the store is not). A light
    // palette keeps the dark blue and red; a dark one lightens the same hues until they stand
    // out by at least 4.5 to 1. QOR_SCREENSHOT_DIR, when set, gets both pictures.
    void cellsShowTheStatusInColoursThatRead() {
        const QPalette light = QApplication::palette();
        QPalette dark(QColor(32, 32, 32));
        dark.setColor(QPalette::Base, QColor(42, 42, 42));
        for (const auto& [name, palette] : {std::pair{"light", light}, {"dark", dark}}) {
            QApplication::setPalette(palette);
            Fixture f;
            f.enableInStore(ElementType::AI);
            f.enableInStore(ElementType::DATR);
            f.enableInStore(ElementType::AO, "2");
            f.start();
            const QColor blue = f.status(1).second;
            const QColor red = f.status(2).second;
            for (int row = 1; row <= SearchStatusDialog::kRowCount; ++row) {
                const Status expected =
                    row == 1 || row == 14 ? Status{"Enabled", blue} : Status{"Disabled", red};
                QCOMPARE(f.status(row), expected);
            }
            if (palette == light) {
                QCOMPARE(std::pair(blue, red), std::pair(kBlue, kRed));
            } else {
                QCOMPARE(std::pair(blue.hslHue(), red.hslHue()), std::pair(240, 0));
                for (const QColor& colour : {blue, red}) {
                    QVERIFY(qor::gui::contrastRatio(colour, dark.color(QPalette::Window)) >= 4.5);
                }
            }
            const QString folder = qEnvironmentVariable("QOR_SCREENSHOT_DIR");
            if (!folder.isEmpty()) {
                f.dialog->grab().save(folder + "/search-status-" + name + ".png");
            }
        }
        QApplication::setPalette(light);
    }

    void clicksToggleTheLiveRecordOnly() {
        Fixture f;
        f.enableInStore(ElementType::AI);
        f.start();
        const auto& datb = f.session.options.of(ElementType::DATB);
        const auto& columns = f.session.columns[qor::scan::indexOf(ElementType::DATB)].columns;

        f.click(f.cell(11));
        QVERIFY(datb.enabled && datb.parameters[0]);  // NAME follows
        QCOMPARE(f.status(11), Status("Enabled", kBlue));
        QVERIFY(std::find(columns.begin(), columns.end(), "NAME") != columns.end());
        QCOMPARE(f.store.value("chkDATBParameters", "EnableSearch", "0"), std::string("0"));
        QCOMPARE(f.session.searchStatus.value(ElementType::DATB), 0);
        f.click(f.cell(11));
        QVERIFY(!datb.enabled && !datb.parameters[0]);
        QCOMPARE(f.status(11), Status("Disabled", kRed));

        // The click decides from the record, not from the text; other types keep their boxes.
        f.session.options.of(ElementType::DI).enabled = true;
        f.click(f.cell(5));
        QVERIFY(!f.session.options.of(ElementType::DI).enabled);
        f.click(f.cell(1));
        QVERIFY(!f.session.options.of(ElementType::AI).enabled);
        QVERIFY(!f.session.options.of(ElementType::AI).parameters[0]);

        f.click(f.label("lblStatusHeader"));
        QTest::mouseClick(f.cell(2), Qt::RightButton);
        QVERIFY(!f.session.options.of(ElementType::AO).enabled);
        QVERIFY(!f.session.options.of(ElementType::AI).enabled);
    }

    void previewsOfferOnlyOkAndReturnToTheirOwnParent() {
        QWidget mainWindow;
        QWidget optionsDialog;
        Fixture f;
        f.start(&mainWindow);
        int callbacks = 0;
        f.dialog->onScanNow = f.dialog->onChangeSettings = [&] { ++callbacks; };

        for (const auto mode :
             {SearchStatusMode::PreviewFromOptions, SearchStatusMode::PreviewFromMainWindow}) {
            QWidget* owner =
                mode == SearchStatusMode::PreviewFromOptions ? &optionsDialog : nullptr;
            f.dialog->prepare(mode, owner);
            f.desktop.onModal = [&](QDialog& shown) {
                QCOMPARE(shown.parentWidget(), owner ? owner : &mainWindow);
                QCOMPARE(f.button("cmdCancel")->text(), QString("&OK"));
                QVERIFY(!f.button("cmdChangeSettings")->isEnabled());
                QVERIFY(!f.button("cmdScanNow")->isEnabled());
                QVERIFY(!f.hint()->isVisible());
                QTest::keyClick(&shown, Qt::Key_Escape);  // as "OK"
                QVERIFY(!shown.isVisible());
            };
            QCOMPARE(f.desktop.runModal(*f.dialog), int(QDialog::Rejected));
            QCOMPARE(f.dialog->parentWidget(), &mainWindow);
        }
        QCOMPARE(callbacks, 0);
        f.dialog->prepare(SearchStatusMode::NothingEnabled);
        f.dialog->show();
        QCOMPARE(f.button("cmdCancel")->text(), QString("&Cancel"));
        QVERIFY(f.button("cmdChangeSettings")->isEnabled() && !f.button("cmdScanNow")->isEnabled());
        // "Scan Now" follows the cells: offered once a type shows "Enabled", gone with the last;
        // meanwhile the hint at "Change Settings" goes, and comes back.
        QVERIFY(f.hint()->isVisible());
        // Enter follows too: "Scan Now" while it is offered, "Change Settings" otherwise.
        for (const bool offered : {true, false}) {
            f.click(f.cell(3));
            QCOMPARE(f.button("cmdScanNow")->isEnabled(), offered);
            QCOMPARE(f.button("cmdScanNow")->isDefault(), offered);
            QCOMPARE(f.button("cmdChangeSettings")->isDefault(), !offered);
            QCOMPARE(f.hint()->isVisible(), !offered);
        }
        // The window's close is "Cancel", as Escape is.
        QVERIFY(f.dialog->close());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(callbacks, 0);
    }

    void changeSettingsHidesAndTheNextShowingIsCurrent() {
        Fixture f;
        f.start();
        int scans = 0;
        f.dialog->onScanNow = [&] {
            QVERIFY(!f.dialog->isVisible());
            ++scans;
        };
        f.dialog->onChangeSettings = [&] {  // the options dialog enables AI and is confirmed
            QVERIFY(!f.dialog->isVisible());
            f.session.options.of(ElementType::AI).enabled = true;
            f.session.options.writeTo(f.store, f.ui);
            f.session.takeOptions();
            f.session.searchStatus = qor::options::SearchStatusTable::readFrom(f.store, f.ui);
        };
        const char* press = "cmdChangeSettings";
        f.desktop.onModal = [&](QDialog&) { f.click(f.button(press)); };
        f.dialog->prepare(SearchStatusMode::NothingEnabled);
        QCOMPARE(f.desktop.runModal(*f.dialog), SearchStatusDialog::kChangeSettingsResult);
        QCOMPARE(scans, 0);

        f.dialog->prepare(SearchStatusMode::FromScanCommand);
        QCOMPARE(f.status(1), Status("Enabled", kBlue));
        // Enter presses "Scan Now", the default button.
        f.desktop.onModal = [&](QDialog& shown) { QTest::keyClick(&shown, Qt::Key_Return); };
        QCOMPARE(f.desktop.runModal(*f.dialog), int(QDialog::Accepted));
        QCOMPARE(scans, 1);
        press = "cmdScanNow";
        f.desktop.onModal = [&](QDialog&) { f.click(f.button(press)); };

        // A toggle kept from an earlier "Cancel" shows as what the scan will read.
        f.session.options.of(ElementType::DOC).enabled = true;
        f.dialog->prepare(SearchStatusMode::FromScanCommand);
        QCOMPARE(f.status(8), Status("Enabled", kBlue));

        // A failing scan is reported, not thrown through the event loop.
        f.dialog->onScanNow = [] { throw qor::QorError("Disk full"); };
        QCOMPARE(f.desktop.runModal(*f.dialog), int(QDialog::Accepted));
        QCOMPARE(f.ui.errors.size(), std::size_t{1});
        QCOMPARE(f.ui.errors[0].module + "." + f.ui.errors[0].procedure,
                 std::string("frmSearchStatus.cmdScanNow_Click"));
        QCOMPARE(f.ui.errors[0].description, std::string("Disk full"));
    }

    // The dialog says what the scan writes and where.
    void saysTheOutputAndTheResultFolder() {
        Fixture f;
        f.store.setValue("Settings", "ScanResultFolderPath", "/data/results");
        f.start();
        f.session.options.outputMode = qor::options::OutputMode::CsvFilesOnly;
        f.dialog->prepare(qor::gui::SearchStatusMode::FromScanCommand);
        QCOMPARE(f.label("lblOutput")->text(), QString("Output: CSV files, into /data/results"));
    }
};

QTEST_MAIN(SearchStatusDialogTest)
#include "search_status_dialog_qtest.moc"
