// The main window's geometry saved at one scale comes back whole on the screen at another.
// ctest runs the "save" step at one scale and the "restore" step at the other on one screen,
// sharing the settings file QOR_PLACEMENT_FILE; run on its own, both steps run here.
#include <QFile>
#include <QScreen>
#include <QtTest>

#include "core/platform/qt_settings_store.h"
#include "gui/shell/main_window.h"
#include "gui/shell/window_placement.h"
#include "support/app_fixture.h"

using qor::gui::MainWindow;

class PlacementScaleTest : public QObject {
    Q_OBJECT

private slots:
    void savedAtOneScaleRestoredAtAnother() {
        qor::testing::AppFixture fixture;
        const QString shared = qEnvironmentVariable("QOR_PLACEMENT_FILE");
        const std::string path =
            shared.isEmpty() ? fixture.folder.file("settings.ini") : shared.toStdString();
        const QString step = qEnvironmentVariable("QOR_PLACEMENT_STEP");
        if (step != "restore") {
            QFile::remove(QString::fromStdString(path));
            auto store = qor::platform::QtSettingsStore::iniFile(path);
            qor::gui::AppContext context{
                fixture.session, store, fixture.boxes, fixture.desktop, fixture.clock, {}, {}};
            // The user makes the window as large as the screen lets it be.
            MainWindow window(context);
            window.show();
            window.setGeometry(window.screen()->availableGeometry().adjusted(0, 20, 0, 0));
            window.close();
        }
        if (step != "save") {
            auto store = qor::platform::QtSettingsStore::iniFile(path);
            qor::gui::AppContext context{
                fixture.session, store, fixture.boxes, fixture.desktop, fixture.clock, {}, {}};
            MainWindow window(context);
            const QRect available = window.screen()->availableGeometry();
            const QRect placed = window.geometry();
            // Title bar and status bar on the screen.
            QVERIFY2(available.contains(placed.adjusted(0, -20, 0, 0)),
                     qPrintable(QString("%1,%2 %3x%4")
                                    .arg(placed.x())
                                    .arg(placed.y())
                                    .arg(placed.width())
                                    .arg(placed.height())));
            // Saved at another scale, the window takes the first run's place, not the other
            // scale's size in the corner.
            if (!step.isEmpty()) {
                QCOMPARE(placed, qor::gui::defaultPlacement(available));
            }
        }
    }
};

QTEST_MAIN(PlacementScaleTest)
#include "placement_scale_qtest.moc"
