#include "gui/app/start_up.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/options/search_status.h"
#include "core/options/settings_table.h"
#include "core/platform/file_association.h"
#include "core/platform/long_file_name.h"
#include "core/platform/single_instance.h"
#include "gui/app/icons.h"
#include "gui/app/main_window.h"
#include "gui/app/splash_window.h"
#include "gui/options/options_dialog.h"
#include "gui/platform/instance_channel.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "modSplash";

}  // namespace

StartUp::StartUp(AppContext& context, StartUpSettings settings)
    : context_(context), settings_(std::move(settings)) {}

StartUp::~StartUp() = default;

void StartUp::wait() const {
    // The splash holds each text this long; paint events still run meanwhile, input waits.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < settings_.splashWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
}

void StartUp::showSplashStatus(const QString& text) {
    if (splash_) {
        splash_->setStatus(text);
        splash_->repaint();
    }
}

bool StartUp::run(const QString& commandLineFile) {
    UserInterface& boxes = context_.boxes;
    instance_ = std::make_unique<platform::SingleInstance>(settings_.lockFolder);
    const QString socketPath = QString::fromStdString(instance_->lockFilePath() + ".socket");
    if (!instance_->acquire()) {
        // The running copy opens the file and comes to the front; only when it cannot be
        // reached is the old message all this copy can offer.
        // A file that is not there goes as it was given: the running copy says so.
        const std::string path = platform::longFileName(commandLineFile.toStdString());
        if (InstanceChannel::send(socketPath,
                                  path.empty() ? commandLineFile : QString::fromStdString(path))) {
            return false;
        }
        boxes.inform(Message{std::string(kApplicationTitle), platform::alreadyRunningText(),
                             MessageIcon::Exclamation});
        return false;
    }
    runStep(boxes, kModule, "Main", [&] {
        splash_ = std::make_unique<SplashWindow>();
        splash_->setStatus("Initializing startup procedures...");
        splash_->show();
        splash_->repaint();
    });
    wait();
    runStep(boxes, kModule, "Main", [&] { context_.excel = output::findWorkbookWriter(boxes); });
    // The main window exists before the options dialog so that the dialog belongs to it;
    // it stays hidden until the splash has shown its last text. Creating the dialog loads
    // the options record, the scan result folder among them.
    runStep(boxes, kModule, "Main", [&] { mainWindow_ = std::make_unique<MainWindow>(context_); });
    if (instance_->held() && mainWindow_) {
        channel_ = std::make_unique<InstanceChannel>(socketPath);
        QObject::connect(channel_.get(), &InstanceChannel::openRequested, mainWindow_.get(),
                         &MainWindow::openFromAnotherLaunch);
        channel_->listen();
    }
    runStep(boxes, kModule, "Main", [&] { mainWindow_->optionsDialog().loadHidden(); });
    QCoreApplication::processEvents();
    showSplashStatus("Getting registry settings...");
    wait();
    runStep(boxes, kModule, "Main", [&] {
        context_.session.searchStatus = options::SearchStatusTable::readFrom(context_.store, boxes);
    });
    runStep(boxes, kModule, "Main", [&] {
        const QString marker =
            QString::fromStdString(options::settings::kFirstInstance.readFrom(context_.store));
        bool ok = false;
        const int firstRun = marker.trimmed().toInt(&ok);
        if (!ok) {
            throw QorError("Type mismatch");
        }
        if (firstRun == 0) {
            platform::registerFileAssociation(QCoreApplication::applicationFilePath().toStdString(),
                                              applicationIconSvg(), settings_.dataFolder);
        }
    });
    showSplashStatus("Creating application window...");
    wait();
    runStep(boxes, kModule, "Main", [&] {
        mainWindow_->show();
        if (!commandLineFile.isEmpty()) {
            const std::string path = platform::longFileName(commandLineFile.toStdString());
            // A file that is not there is said, as the open dialog would say it.
            if (path.empty()) {
                throw QorError("File not found: " + commandLineFile.toStdString());
            }
            mainWindow_->openByPath(path);
        }
    });
    QCoreApplication::processEvents();
    splash_.reset();
    return true;
}

}  // namespace qor::gui
