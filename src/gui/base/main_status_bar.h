#pragma once

#include <QStatusBar>
#include <array>

class QLabel;
class QProgressBar;

namespace qor::gui {

// The main window's status bar: four panels (the status text, the node number, the node
// description, and the panel that holds the progress bar `pbMain`). Each panel's tooltip is its
// text.
class MainStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    // Panels 1 to 4.
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    QProgressBar& progressBar() { return *pbMain_; }
    // `resetProgressBar`: the bar sits in panel 4, hidden until a type is read.
    void resetProgressBar();
    // The readers show the bar and its panel while they read; the scan run hides both.
    void showProgress(bool visible);
    bool progressShown() const;
    void setProgress(long long value, long long maximum);

private:
    std::array<QLabel*, 3> labels_{};
    QWidget* panel4_ = nullptr;
    QProgressBar* pbMain_ = nullptr;
};

}  // namespace qor::gui
