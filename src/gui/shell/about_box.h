#pragma once

#include <string>
#include <string_view>

#include <QDialog>

#include "gui/base/desktop.h"

class QLabel;
class QPushButton;

namespace qor::gui {

// The version of this build as the about box, the splash and --version show it: the
// project's version, whole.
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
