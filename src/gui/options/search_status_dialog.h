#pragma once

#include <array>
#include <functional>

#include <QDialog>
#include <QPointer>

#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/scan/element_types.h"

class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollArea;

namespace qor::gui {

// Why the dialog is about to be shown; decides its buttons.
enum class SearchStatusMode {
    FromScanCommand,        // some type enabled: "Cancel", "Change Settings", "Scan Now"
    NothingEnabled,         // scan command with every type disabled: "Scan Now" unusable
    PreviewFromOptions,     // "Preview Status" of the options dialog: only "OK"
    PreviewFromMainWindow,  // "Preview Search Status...": only "OK"
};

// "Search Status": which element types the coming scan reads. Each cell shows
// the live options record (session.options), so it never claims a type the scan will skip. A
// click on a status toggles that type in the record only (a DAT type's NAME box with it) and
// rebuilds the type's column data for the coming scan; nothing is written to the settings
// store, so the toggle lasts until the options are loaded or saved.
//
// What the owner does:
// - Before every showing call prepare() with the mode, then show the dialog through
//   Desktop::runModal. prepare() refreshes the status cells, the captions and the
//   buttons, so one instance may serve the whole run; a dialog hidden by "Change Settings"
//   comes back current rather than as it was left.
// - While the scan command shows it with nothing enabled, a hint above the buttons says that
//   "Change Settings" enables types; it goes as soon as a click enables one.
// - PreviewFromOptions: pass the options dialog as `owner`; the dialog returns to its own
//   parent when it is left.
// - "Cancel" (or "OK" in preview), Escape and the window's close all close the dialog:
//   runModal returns QDialog::Rejected.
// - "Scan Now" closes the dialog, then calls onScanNow, which runs the scan (runScan reads
//   session.options, including the toggles). It does not check again that a type is enabled.
//   runModal returns QDialog::Accepted.
// - "Change Settings" hides the dialog, then calls onChangeSettings, which shows the options
//   dialog modally, owned by the main window. runModal returns kChangeSettingsResult; the scan
//   command shows this dialog again when the options were left with "OK".
// - Enter presses "Scan Now" whenever a type is enabled, else "Change Settings".
// - A click changes the record under any window that shows it: such a window (the options
//   dialog) re-reads its boxes from session.options once this dialog has closed.
// An exception escaping a callback is reported with the standard error message instead of
// crossing the event loop.
class SearchStatusDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kChangeSettingsResult = 2;
    static constexpr int kRowCount = static_cast<int>(scan::kElementTypeCount);

    SearchStatusDialog(output::Session& session, UserInterface& ui, QWidget* parent);

    void prepare(SearchStatusMode mode, QWidget* owner = nullptr);
    SearchStatusMode mode() const { return mode_; }

    // Status row 1..14 in the order of the search status table.
    static scan::ElementType typeOfRow(int row);

    std::function<void()> onScanNow;
    std::function<void()> onChangeSettings;

public slots:
    // Escape and the window's close: "Cancel".
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QFrame* buildTable();
    QWidget* buildHint();
    QHBoxLayout* buildButtons();
    // The table scrolls when the screen is lower than the dialog (a large scale), so that the
    // buttons stay in reach.
    void fitToScreen();

    void toggleStatus(int row);
    void offerScan();
    void cancel();
    void changeSettings();
    void scanNow();

    void showScanStatus(int row);
    // What the scan writes and where: "Output: HTML report, into <folder>".
    QString outputText() const;
    void showStatus(int row, const QString& text, bool blue);
    // Closes or hides the dialog with `result` and gives it back to its own parent.
    void leave(int result);

    output::Session& session_;
    UserInterface& ui_;
    QPointer<QWidget> home_;
    SearchStatusMode mode_ = SearchStatusMode::FromScanCommand;
    std::array<QLabel*, scan::kElementTypeCount> statusCells_{};
    QWidget* hint_ = nullptr;
    QFrame* table_ = nullptr;
    QLabel* explanation_ = nullptr;
    QLabel* output_ = nullptr;
    QLabel* hintText_ = nullptr;
    int textWidth_ = 0;   // the texts' width where the screen has room for it
    int hintIndent_ = 0;  // the hint's icon and the space after it
    QScrollArea* tableScroll_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdChangeSettings_ = nullptr;
    QPushButton* cmdScanNow_ = nullptr;
};

}  // namespace qor::gui
