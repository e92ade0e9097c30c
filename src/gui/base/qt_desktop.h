#pragma once

#include "gui/base/desktop.h"

namespace qor::gui {

// The desktop through Qt: QFileDialog, QDesktopServices and QProcess.
class QtDesktop : public Desktop {
public:
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
};

}  // namespace qor::gui
