#include <QApplication>
#include <QStringList>
#include <QUrl>
#include <cstdio>

#include "core/base/build_info.h"
#include "core/output/session.h"
#include "core/platform/install_layout.h"
#include "core/platform/library_diagnostics.h"
#include "core/platform/qt_settings_store.h"
#include "core/platform/result_file.h"
#include "core/platform/user_environment.h"
#include "core/services/file_association.h"
#include "core/services/translators.h"
#include "gui/base/app_context.h"
#include "gui/base/icons.h"
#include "gui/base/message_box_ui.h"
#include "gui/base/qt_desktop.h"
#include "gui/base/scalable_icon_style.h"
#include "gui/shell/main_window.h"
#include "gui/shell/reader_command_line.h"
#include "gui/shell/start_up.h"

namespace {

using qor::gui::parseReaderCommandLine;
using qor::gui::ReaderCommandLine;

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Help and version go to the standard output, a mistake to `messages`.
int answerOnTerminal(const ReaderCommandLine& line, std::FILE* messages) {
    if (line.action == ReaderCommandLine::Action::Error) {
        std::fprintf(messages, "qorreader: %s\nTry 'qorreader --help'.\n",
                     line.text.toLocal8Bit().constData());
        return 2;
    }
    std::fputs(line.text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qor::platform::useParentConsole();
    qor::platform::ignoreWriteFailureSignals();
    std::FILE* messages = qor::platform::setLibraryDiagnosticsAside();
    const QString userGuide = QString::fromStdString(qor::platform::userGuidePage());
    // --help and --version are answered before QApplication opens the window system, so they
    // work without a display; they are read again under a QCoreApplication so that the help
    // names the program as it was called.
    const auto early = parseReaderCommandLine(argumentList(argc, argv), userGuide).action;
    if (early == ReaderCommandLine::Action::Help || early == ReaderCommandLine::Action::Version) {
        const QCoreApplication terminal(argc, argv);
        return answerOnTerminal(parseReaderCommandLine(QCoreApplication::arguments(), userGuide),
                                messages);
    }

    QApplication application(argc, argv);
    qor::services::keepCNumberFormat();
    // The windows and messages follow the system's language; the files written stay English.
    const qor::services::Translators translators;
    // Qt's own options (-platform ...) are gone from the arguments once QApplication took them.
    const ReaderCommandLine line = parseReaderCommandLine(QCoreApplication::arguments(), userGuide);
    if (line.action != ReaderCommandLine::Action::Run) {
        return answerOnTerminal(line, messages);
    }
    QApplication::setApplicationName("qorreader");
    // No display name: the desktop would append it to every window's caption.
    // Ties the windows to the installed desktop entry (its icon and name in task bars).
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(qor::services::kQorDocuments.applicationId));
    QApplication::setWindowIcon(qor::gui::applicationIcon());
    QApplication::setStyle(new qor::gui::ScalableIconStyle(QApplication::style()->name()));

    qor::output::Session session;
    session.months = qor::platform::systemMonthNames();
    qor::platform::QtSettingsStore store = qor::platform::QtSettingsStore::userStore();
    qor::gui::StartUp* startUp = nullptr;
    qor::gui::MessageBoxUi boxes(
        [&startUp]() -> QWidget* { return startUp != nullptr ? startUp->mainWindow() : nullptr; });
    qor::gui::QtDesktop desktop(boxes);
    qor::SystemClock clock;
    const QString guideUrl =
        userGuide.isEmpty() ? QString() : QUrl::fromLocalFile(userGuide).toString();
    qor::gui::AppContext context{
        session,
        store,
        boxes,
        desktop,
        clock,
        guideUrl,
        QString::fromUtf8(qor::build::kProjectPage.data(),
                          static_cast<qsizetype>(qor::build::kProjectPage.size()))};

    qor::gui::StartUp startUpProcedure(context, {});
    startUp = &startUpProcedure;
    if (!startUpProcedure.run(line.file)) {
        return 0;
    }
    return QApplication::exec();
}
