#include "gui/shell/start_up.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtConcurrent>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/search_status.h"
#include "core/options/settings_table.h"
#include "core/platform/long_file_name.h"
#include "core/services/file_association.h"
#include "core/services/single_instance.h"
#include "gui/base/icons.h"
#include "gui/options/options_dialog.h"
#include "gui/shell/instance_channel.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"

namespace qor::gui {
namespace {

// The location of the standard error message for start-up's errors.
constexpr std::string_view kModule = "modSplash";
constexpr std::string_view kProcedure = "Main";

}  // namespace

StartUp::StartUp(AppContext& context, StartUpSettings settings)
    : context_(context), settings_(std::move(settings)) {}

StartUp::~StartUp() {
    association_.waitForFinished();
}

bool StartUp::run(const QString& commandLineFile) {
    instance_ = std::make_unique<services::SingleInstance>(settings_.lockFolder);
    socketPath_ = QString::fromStdString(instance_->lockFilePath() + ".socket");
    if (!instance_->acquire()) {
        // The running copy opens the file and comes to the front; only when it cannot be
        // reached is "already running" all this copy can say. A file that is not there goes
        // as it was given: the running copy says so.
        const std::string path = platform::longFileName(commandLineFile.toStdString());
        if (InstanceChannel::send(socketPath_,
                                  path.empty() ? commandLineFile : QString::fromStdString(path))) {
            return false;
        }
        context_.boxes.inform(Message{std::string(kApplicationTitle),
                                      services::alreadyRunningText(), MessageIcon::Exclamation});
        return false;
    }
    runStep(context_.boxes, kModule, kProcedure, [&] {
        splash_ = std::make_unique<SplashWindow>();
        splash_->show();
    });
    steps_ = {{tr("Initializing startup procedures..."), [this] { createMainWindow(); }},
              {tr("Getting registry settings..."), [this] { loadSettings(); }},
              {tr("Creating application window..."),
               [this, commandLineFile] { showMainWindow(commandLineFile); }}};
    nextStep_ = 0;
    runNextStep();
    return true;
}

void StartUp::runNextStep() {
    const Step& step = steps_[nextStep_];
    if (splash_) {
        splash_->setStatus(step.status);
    }
    // The step runs once the event loop has had its turn: the splash shows its text then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            steps_[nextStep_++].work();
            if (nextStep_ < steps_.size()) {
                runNextStep();
                return;
            }
            splash_.reset();
            registerAssociation();
        },
        Qt::QueuedConnection);
}

void StartUp::createMainWindow() {
    UserInterface& boxes = context_.boxes;
    // The main window exists before the options dialog so that the dialog belongs to it; it
    // stays hidden until the last step.
    runStep(boxes, kModule, kProcedure,
            [&] { mainWindow_ = std::make_unique<MainWindow>(context_); });
    if (instance_->held() && mainWindow_) {
        channel_ = std::make_unique<InstanceChannel>(socketPath_);
        QObject::connect(channel_.get(), &InstanceChannel::openRequested, mainWindow_.get(),
                         &MainWindow::openFromAnotherLaunch);
        channel_->listen();
    }
}

void StartUp::loadSettings() {
    UserInterface& boxes = context_.boxes;
    // The options record, the scan result folder's path among them: the folder itself is
    // looked at only when the options dialog or a scan needs it.
    runStep(boxes, kModule, kProcedure, [&] { mainWindow_->loadOptions(); });
    runStep(boxes, kModule, kProcedure, [&] {
        context_.session.searchStatus = options::SearchStatusTable::readFrom(context_.store, boxes);
    });
}

void StartUp::registerAssociation() {
    // A marker that is no number counts as a first run: registering again does no harm.
    if (options::settings::kFirstInstance.readIntegerFrom(context_.store).value_or(0) != 0) {
        emit finished();
        return;
    }
    connect(&association_, &QFutureWatcher<std::exception_ptr>::finished, this, [this] {
        if (const std::exception_ptr error = association_.result()) {
            runStep(context_.boxes, kModule, kProcedure, [&] { std::rethrow_exception(error); });
        }
        emit finished();
    });
    association_.setFuture(QtConcurrent::run(
        [program = QCoreApplication::applicationFilePath().toStdString(),
         icon = applicationIconSvg(), folder = settings_.dataFolder]() -> std::exception_ptr {
            try {
                services::registerFileAssociation(program, icon, folder);
                return nullptr;
            } catch (...) {
                return std::current_exception();  // said on the window's thread
            }
        }));
}

void StartUp::showMainWindow(const QString& commandLineFile) {
    runStep(context_.boxes, kModule, kProcedure, [&] {
        mainWindow_->show();
        if (!commandLineFile.isEmpty()) {
            const std::string path = platform::longFileName(commandLineFile.toStdString());
            // A file that is not there is said, as the open dialog would say it.
            if (path.empty()) {
                throw QorError(tr("File not found: %1").arg(commandLineFile).toStdString());
            }
            mainWindow_->openByPath(path);
        }
    });
}

}  // namespace qor::gui
