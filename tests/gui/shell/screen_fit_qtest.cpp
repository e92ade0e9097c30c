// Every dialog and the Elements window fit the screen with their controls whole and apart,
// also on a small screen and at a large scale (ctest runs this at double scale on a 1600x1000
// screen and at normal scale on a 1024x700 one), and tiled beside a document.
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/options/cabinet_table.h"
#include "gui/elements/elements_window.h"
#include "gui/options/cabinet_module_dialog.h"
#include "gui/options/options_dialog.h"
#include "gui/options/search_status_dialog.h"
#include "gui/scan/progress_window.h"
#include "gui/scan/statistics_window.h"
#include "gui/shell/about_box.h"
#include "gui/shell/main_window.h"
#include "gui/shell/system_information.h"
#include "support/app_fixture.h"
#include "support/main_window_work.h"
#include "support/widget_lookup.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;
using qor::testing::control;
using qor::testing::shownWhole;

namespace {

using Controls = QStringList;

// Each of `names` whole inside `window`, and none over another.
void checkWholeAndApart(const QWidget& window, const Controls& names) {
    // Layouts are applied from the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    std::vector<QRect> placed;
    for (const QString& name : names) {
        const QWidget* widget = control<QWidget>(window, name);
        QVERIFY2(shownWhole(*widget, window), qPrintable(name));
        const QRect rect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        for (const QRect& other : placed) {
            QVERIFY2(!rect.intersects(other), qPrintable(name));
        }
        placed.push_back(rect);
    }
}

const Controls kElementsControls{"cboType",         "chkSelectedOnly", "txtFilter",
                                 "cboFilterColumn", "lblShown",        "cmdExportRows"};

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void dialogFitsWithItsControlsWhole_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<Controls>("controls");
        QTest::newRow("options, general page")
            << "options" << Controls{"cmdOK", "cmdCancel", "cmdPreviewStatus", "cmdNextPage"};
        QTest::newRow("options, result folder page")
            << "result folder"
            << Controls{"cmdOK", "cmdPreviousPage", "txtFolderPath", "cmdBrowseFolder",
                        "dirFolders"};
        QTest::newRow("options, cabinet table")
            << "cabinets" << Controls{"cmdOK", "cmdAdd", "cmdDelete", "cmdImport"};
        QTest::newRow("search status")
            << "search status" << Controls{"cmdCancel", "cmdChangeSettings", "cmdScanNow"};
        QTest::newRow("statistics") << "statistics" << Controls{"cmdClose", "cmdSaveStatistic"};
        QTest::newRow("cabinet row")
            << "cabinet row" << Controls{"txtNewCabinet", "txtNewModule", "cmdApply", "cmdClose"};
        QTest::newRow("about") << "about" << Controls{"cmdOK", "cmdSysInfo"};
        QTest::newRow("system information")
            << "system information" << Controls{"cmdCopy", "cmdClose"};
        QTest::newRow("progress") << "progress" << Controls{"cmdCancel"};
    }
    void dialogFitsWithItsControlsWhole() {
        QFETCH(QString, dialog);
        QFETCH(Controls, controls);
        qor::testing::AppFixture fixture;
        fixture.session.options.scanResultFolderPath = fixture.resultRoot();
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        qor::options::CabinetModuleTable cabinets;
        std::unique_ptr<QWidget> own;
        QWidget* shown = nullptr;
        if (dialog == "options" || dialog == "result folder" || dialog == "cabinets") {
            qor::gui::OptionsDialog& options = window.optionsDialog();
            QTabWidget& tabs = options.tabs();
            for (int tab = 0; tab < tabs.count(); ++tab) {
                if (tabs.tabText(tab) ==
                    (dialog == "cabinets" ? "Cabinet<->Module" : "General Options")) {
                    tabs.setCurrentIndex(tab);
                }
            }
            options.show();
            if (dialog == "result folder") {
                control<QPushButton>(options, "cmdNextPage")->click();
            }
            shown = &options;
        } else if (dialog == "search status") {
            window.searchStatusDialog().prepare(qor::gui::SearchStatusMode::FromScanCommand);
            shown = &window.searchStatusDialog();
        } else if (dialog == "statistics") {
            auto statistics = std::make_unique<qor::gui::StatisticsWindow>(
                fixture.session, fixture.clock, fixture.boxes);
            statistics->offerResults(fixture.desktop, false);
            own = std::move(statistics);
        } else if (dialog == "cabinet row") {
            own = std::make_unique<qor::gui::CabinetModuleDialog>(cabinets, fixture.boxes);
        } else if (dialog == "about") {
            own = std::make_unique<qor::gui::AboutBox>(fixture.desktop);
        } else if (dialog == "system information") {
            own = std::make_unique<qor::gui::SystemInformationDialog>();
        } else {
            window.progressWindow().setScanning(true);
            shown = &window.progressWindow();
        }
        if (own != nullptr) {
            shown = own.get();
        }
        qor::testing::checkFitsTheScreen(*shown, {});
        checkWholeAndApart(*shown, controls);
    }

    // The Elements window fills the main window's area as the only window and stands tiled
    // beside the document, its bars wrapped rather than cut or squeezed over one another, also
    // in the main window's first size.
    void elementsWindowKeepsItsControlsWhole_data() {
        QTest::addColumn<bool>("tiled");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("alone") << false << false;
        QTest::newRow("tiled beside the document") << true << true;
        QTest::newRow("tiled in the first size") << true << false;
    }
    void elementsWindowKeepsItsControlsWhole() {
        QFETCH(bool, tiled);
        QFETCH(bool, maximised);
        qor::testing::AppFixture fixture;
        MainWindow window(fixture.context);
        if (maximised) {
            window.showMaximized();
        } else {
            window.show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        auto* elements = qor::testing::windowAfter<qor::gui::ElementsWindow>(
            window, *window.commands().elements);
        QVERIFY(elements != nullptr);
        if (tiled) {
            window.commands().tileVertically->trigger();
        }
        elements->setFilter("AI800", -1);
        QTRY_VERIFY(control<QLabel>(*elements, "lblShown")->text().startsWith("4 of"));
        // Cut off by the area, a window's controls are out of reach too.
        QWidget* sub = elements->parentWidget();
        QVERIFY(window.documents().viewport()->rect().contains(sub->geometry()));
        checkWholeAndApart(*elements, kElementsControls);
        const QWidget& exportRows = *control<QWidget>(*elements, "cmdExportRows");
        QVERIFY(exportRows.width() >= exportRows.sizeHint().width());
    }
};

QTEST_MAIN(ScreenFitTest)
#include "screen_fit_qtest.moc"
