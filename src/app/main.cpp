#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <QUrl>
#include "app/app_context.h"
#include "app/icons.h"
#include "app/main_window.h"
#include "app/message_box_ui.h"
#include "app/start_up.h"
#include "output/session.h"
#include "platform/gui/qt_desktop.h"
#include "platform/library_diagnostics.h"
#include "platform/qt_settings_store.h"
#include "platform/result_file.h"
#include "platform/user_environment.h"
#include "platform/window_search.h"

namespace {

// The product's documentation travels with the program: installed beside it under
// share/doc, or in the source tree's docs folder for a build that was not installed.
QString documentationPage(const QString& programFolder) {
    const QStringList candidates{
        programFolder + "/../share/doc/qorreader/index.html",
        QStringLiteral(QOR_DOCS_DIR "/index.html"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()).toString();
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    qor::platform::ignoreFileSizeSignal();
    qor::platform::setLibraryDiagnosticsAside();
    QApplication application(argc, argv);
    QApplication::setApplicationName("qorreader");
    QApplication::setApplicationDisplayName(".QOR Reader");
    QApplication::setWindowIcon(qor::app::applicationIcon());

    qor::output::Session session;
    session.months = qor::platform::systemMonthNames();
    qor::platform::QtSettingsStore store = qor::platform::QtSettingsStore::userStore();
    qor::app::StartUp* startUp = nullptr;
    qor::app::MessageBoxUi boxes(
        [&startUp]() -> QWidget* { return startUp != nullptr ? startUp->mainWindow() : nullptr; });
    qor::platform::QtDesktop desktop;
    qor::SystemClock clock;
    qor::platform::EmptyWindowTree windows;
    const QString programFolder = QCoreApplication::applicationDirPath();
    const qor::output::ExcelInstallation notYetKnown{false, std::string()};
    qor::app::AppContext context{session,     store,         boxes,
                                 desktop,     clock,         windows,
                                 notYetKnown, programFolder, documentationPage(programFolder)};

    // The whole argument text is one document path (the desktop passes it unquoted).
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    qor::app::StartUp startUpProcedure(context, {});
    startUp = &startUpProcedure;
    if (!startUpProcedure.Main(arguments.join(' '))) {
        return 0;
    }
    return QApplication::exec();
}
