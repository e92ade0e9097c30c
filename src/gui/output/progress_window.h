#pragma once

#include <string_view>

#include <QString>
#include <QWidget>

class QLabel;

namespace qor::gui {

// frmProgress: the small modeless window that the scan run, the element readers and the
// open commands keep up to date with one status line. It stays above all other windows,
// carries the application title and centres itself over its parent (over the screen when
// it has none) each time it is shown.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Sets lblStatus and repaints at once: the caller may keep the event loop waiting.
    void setStatus(const QString& text);
    void setStatus(std::string_view text);
    QString status() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOverParent();

    QLabel* lblStatus_;
};

}  // namespace qor::gui
