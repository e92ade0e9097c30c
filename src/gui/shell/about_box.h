#pragma once

#include <string>
#include <string_view>

#include <QDialog>

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

// "About .QOR Reader": picture, title, version and the buttons "OK" and "System Info...".
// The desktop must outlive the box.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(Desktop& desktop, QWidget* parent = nullptr);

public slots:
    // Shows the system information; the box stays open.
    void showSystemInformation();

private:
    Desktop& desktop_;
};

}  // namespace qor::gui
