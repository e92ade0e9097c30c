#pragma once

#include <QString>
#include <memory>
#include <string>

#include "core/output/session.h"
#include "gui/app/app_context.h"

namespace qor::platform {
class SingleInstance;
}

namespace qor::gui {

class MainWindow;
class SplashWindow;
class InstanceChannel;

// Where start-up looks and how long the splash shows each step.
struct StartUpSettings {
    std::string lockFolder;  // empty: the user's runtime folder
    std::string dataFolder;  // file association; empty: the user's data folder
    int splashWaitMs = 800;
};

// `modSplash`: refuses a second copy, shows the splash while the options and the search
// status load, registers the file association on a first run, creates and shows the main
// window (opening the command-line file) and removes the splash.
class StartUp {
public:
    StartUp(AppContext& context, StartUpSettings settings);
    ~StartUp();

    // False when another copy is running: it was handed the file (or, when it could not be
    // reached, the message was shown) and no window exists here.
    bool run(const QString& commandLineFile);

    MainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    void wait() const;
    void showSplashStatus(const QString& text);

    AppContext& context_;
    StartUpSettings settings_;
    std::unique_ptr<platform::SingleInstance> instance_;
    std::unique_ptr<InstanceChannel> channel_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> mainWindow_;
};

}  // namespace qor::gui
