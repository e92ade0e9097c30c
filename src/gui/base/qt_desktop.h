#pragma once

#include <QObject>
#include <QUrl>

#include "core/base/user_interface.h"
#include "gui/base/desktop.h"

namespace qor::gui {

// The desktop through Qt: QFileDialog, QDesktopServices and QProcess. Where the desktop opens
// files through xdg-open, it is run and watched: xdg-open that finds no program for the type
// fails after it started, and that is said through `ui`, naming what to open by hand.
class QtDesktop : public Desktop {
public:
    explicit QtDesktop(UserInterface& ui) : ui_(ui) {}

    std::string chooseFileToOpen(QWidget* owner, const std::vector<FileFilter>& filters,
                                 const std::string& title, const std::string& folder,
                                 const std::string& defaultSuffix) override;
    std::string chooseFileToSave(QWidget* owner, const std::vector<FileFilter>& filters,
                                 const std::string& title, const std::string& path,
                                 const std::string& defaultSuffix) override;
    std::string chooseFolder(QWidget* owner, const std::string& title,
                             const std::string& folder) override;
    bool openWithApplication(const std::string& path) override;
    bool openUrl(const std::string& url) override;
    int runModal(QDialog& dialog) override;

    // How many openers have not ended yet (their failure is still to be said).
    int openersRunning() const;

private:
    // `shown` is what the message names: the path, or the web address.
    bool open(const QUrl& url, const std::string& shown);

    UserInterface& ui_;
    QObject openers_;  // the running xdg-open processes
};

}  // namespace qor::gui
