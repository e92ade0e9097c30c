// The windows speak the system's language: German with the German translation, and exactly the
// English texts under the C locale.
#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QtTest>

#include "core/services/translators.h"
#include "gui/options/options_dialog.h"
#include "gui/scan/statistics_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/widget_lookup.h"

using namespace qor;
using qor::testing::control;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void windowsShowTheLanguageOfTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("statistics");
        QTest::newRow("German")
            << QLocale(QLocale::German, QLocale::Germany)
            << QStringList{"&Datei", "E&xtras", "&Ansicht", "&Fenster", "&Hilfe"}
            << QStringList{"Suchoptionen",        "Analogeingang",
                           "Allgemeine Optionen", "Nur als CSV-Dateien speichern",
                           "Alle a&uswählen",     "&Keine auswählen"}
            << QStringList{"Statistik der Suchergebnisse", "Analogeingang", "Suche deaktiviert",
                           "&In Datei speichern"};
        QTest::newRow("C") << QLocale::c()
                           << QStringList{"&File", "&Tools", "&View", "&Window", "&Help"}
                           << QStringList{"Search Options",  "Analog Input",
                                          "General Options", "Save as CSV files only",
                                          "&Select All",     "C&lear All"}
                           << QStringList{"Search Results Statistics", "Analog Input",
                                          "Search Disabled", "&Save To File"};
    }
    void windowsShowTheLanguageOfTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, menus);
        QFETCH(QStringList, options);
        QFETCH(QStringList, statistics);
        const services::Translators translators(locale);
        QCOMPARE(translators.translated(), locale.language() != QLocale::C);
        testing::AppFixture app;

        gui::MainWindow window(app.context);
        QStringList titles;
        for (const QAction* menu : window.menuBar()->actions()) {
            titles << menu->text();
        }
        QCOMPARE(titles, menus);

        gui::OptionsDialog& dialog = window.optionsDialog();
        QCOMPARE(dialog.windowTitle(), options[0]);
        QCOMPARE(dialog.tabs().tabText(0), options[1]);
        QCOMPARE(dialog.tabs().tabText(11), options[2]);
        QCOMPARE(control<QAbstractButton>(dialog, "optSaveToCSVOnly")->text(), options[3]);
        // Selecting all and none read apart at a glance.
        QCOMPARE(control<QAbstractButton>(dialog, "cmdAISSelectAll")->text(), options[4]);
        QCOMPARE(control<QAbstractButton>(dialog, "cmdAISClearAll")->text(), options[5]);

        // AI is read, AO not: the first row's caption and the second row's count.
        app.session.options.of(scan::ElementType::AI).enabled = true;
        app.session.options.of(scan::ElementType::AO).enabled = false;
        gui::StatisticsWindow counts(app.session, app.clock, app.boxes);
        QCOMPARE(counts.windowTitle(), statistics[0]);
        QCOMPARE(control<QLabel>(counts, "lblModuleNames_1")->text(), statistics[1]);
        QCOMPARE(control<QLabel>(counts, "lblFoundElements_1")->text(), statistics[2]);
        QCOMPARE(control<QAbstractButton>(counts, "cmdSaveStatistic")->text(), statistics[3]);
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_qtest.moc"
