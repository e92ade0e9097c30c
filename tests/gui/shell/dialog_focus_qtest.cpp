// After a modal dialog closes, whatever closed it, the window that opened it has the keyboard
// again, even when the window manager put it elsewhere meanwhile.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <map>

#include "gui/base/qt_desktop.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;

class DialogFocusTest : public QObject {
    Q_OBJECT

private slots:
    void openerIsActiveAfterACancelledDialog_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"Open File", "Open Folder", "Preview Output Files", "Options",
                                    "Search Status", "Go to Line", "About"}) {
            QTest::newRow(command) << command;
        }
    }
    void openerIsActiveAfterACancelledDialog() {
        QFETCH(QString, command);
        qor::testing::AppFixture fixture;
        qor::gui::QtDesktop desktop(fixture.boxes);
        qor::gui::AppContext context{
            fixture.session, fixture.store, fixture.boxes, desktop, fixture.clock, {}, {}};
        MainWindow window(context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Another program's window, where the window manager leaves the keyboard.
        QWidget elsewhere;
        elsewhere.show();

        QString seen;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            seen = dialog->windowTitle();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const qor::gui::MainActions& commands = window.commands();
        const std::map<QString, QAction*> actions{
            {"Open File", commands.open},
            {"Open Folder", commands.openFolder},
            {"Preview Output Files", commands.previewOutputFiles},
            {"Options", commands.options},
            {"Search Status", commands.previewSearchStatus},
            {"Go to Line", commands.goToLine},
            {"About", commands.about}};
        actions.at(command)->trigger();
        QVERIFY(!seen.isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QVERIFY(window.activeDocument() != nullptr);
    }
};

QTEST_MAIN(DialogFocusTest)
#include "dialog_focus_qtest.moc"
