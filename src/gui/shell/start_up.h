#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/output/session.h"
#include "gui/base/app_context.h"

namespace qor::services {
class SingleInstance;
}

namespace qor::gui {

class MainWindow;
class SplashWindow;
class InstanceChannel;

// Where start-up looks for its lock and where it registers the file association.
struct StartUpSettings {
    std::string lockFolder;  // empty: the user's runtime folder
    std::string dataFolder;  // file association; empty: the user's data folder
};

// The program's start: refuses a second copy, then shows the splash while the options and the
// search status load, creates and shows the main window (opening the command-line file) and
// removes the splash. Each step runs from the event loop once the splash shows its text, so the
// splash says what really happens and start-up never waits for it. On a first run the file
// association is registered after that, off this thread: the desktop's databases take a while
// to rebuild, and the window does not wait for them.
class StartUp : public QObject {
    Q_OBJECT

public:
    StartUp(AppContext& context, StartUpSettings settings);
    ~StartUp() override;

    // False when another copy is running: it was handed the file (or, when it could not be
    // reached, the message was shown) and no window exists here. True: the splash is up and
    // the steps follow from the event loop; finished() is emitted after the last and the
    // file association.
    bool run(const QString& commandLineFile);
    bool done() const {
        return nextStep_ >= steps_.size() && !steps_.empty() && !association_.isRunning();
    }

    MainWindow* mainWindow() const { return mainWindow_.get(); }

signals:
    void finished();

private:
    struct Step {
        QString status;  // on the splash while the step runs; empty: the one before stays
        std::function<void()> work;
    };

    void runNextStep();
    void createMainWindow();
    // The options and the search status.
    void loadSettings();
    void showMainWindow(const QString& commandLineFile);
    // On a first run, starts registering the file association; finished() follows it.
    void registerAssociation();

    AppContext& context_;
    StartUpSettings settings_;
    std::unique_ptr<services::SingleInstance> instance_;
    QString socketPath_;
    std::unique_ptr<InstanceChannel> channel_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::vector<Step> steps_;
    std::size_t nextStep_ = 0;
    // What failed while the association was registered, if anything.
    QFutureWatcher<std::exception_ptr> association_;
};

}  // namespace qor::gui
