#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QDialog>

#include "core/base/user_interface.h"
#include "gui/base/desktop.h"

class QLabel;
class QPushButton;

namespace qor::gui {

// The version as the about box and the splash show it: major, minor and revision (the fourth
// component) joined by ".", without leading zeros; a missing or non-numeric component counts
// as 0. "2.2.0.11" gives "2.2.11", "2.2.0" gives "2.2.0".
std::string versionText(std::string_view version);

// The version of this build (the project's version) as versionText shows it.
std::string buildVersionText();

// The system information tools startSystemInformation looks for, in the order it tries them.
const std::vector<std::string>& systemInformationTools();

// "About .QOR Reader": picture, title, version and the buttons "OK" and
// "System Info...". The user interface and the desktop must outlive the box.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    AboutBox(UserInterface& ui, Desktop& desktop, QWidget* parent = nullptr);

public slots:
    // Starts the first system information tool found on the search path or, when there is
    // none or it cannot be started, says that system information is unavailable. The box
    // stays open either way.
    void startSystemInformation();

private:
    UserInterface& ui_;
    Desktop& desktop_;
};

}  // namespace qor::gui
