#include <QApplication>
#include <QStringList>

#include "core/output/session.h"
#include "core/platform/library_diagnostics.h"
#include "core/platform/qt_settings_store.h"
#include "core/platform/result_file.h"
#include "core/platform/user_environment.h"
#include "core/platform/window_search.h"
#include "gui/app/app_context.h"
#include "gui/app/icons.h"
#include "gui/app/main_window.h"
#include "gui/app/message_box_ui.h"
#include "gui/app/start_up.h"
#include "gui/app/user_guide.h"
#include "gui/platform/qt_desktop.h"

int main(int argc, char** argv) {
    qor::platform::ignoreFileSizeSignal();
    qor::platform::setLibraryDiagnosticsAside();
    QApplication application(argc, argv);
    QApplication::setApplicationName("qorreader");
    // No display name: the desktop would append it to every window's caption.
    QApplication::setWindowIcon(qor::gui::applicationIcon());

    qor::output::Session session;
    session.months = qor::platform::systemMonthNames();
    qor::platform::QtSettingsStore store = qor::platform::QtSettingsStore::userStore();
    qor::gui::StartUp* startUp = nullptr;
    qor::gui::MessageBoxUi boxes(
        [&startUp]() -> QWidget* { return startUp != nullptr ? startUp->mainWindow() : nullptr; });
    qor::gui::QtDesktop desktop;
    qor::SystemClock clock;
    qor::platform::EmptyWindowTree windows;
    const QString programFolder = QCoreApplication::applicationDirPath();
    const qor::output::ExcelInstallation notYetKnown{false, std::string()};
    qor::gui::AppContext context{
        session,     store,         boxes,
        desktop,     clock,         windows,
        notYetKnown, programFolder, qor::gui::userGuidePage(programFolder)};

    // The whole argument text is one document path (the desktop passes it unquoted).
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    qor::gui::StartUp startUpProcedure(context, {});
    startUp = &startUpProcedure;
    if (!startUpProcedure.run(arguments.join(' '))) {
        return 0;
    }
    return QApplication::exec();
}
