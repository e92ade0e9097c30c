#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/output/workbook_output.h"
#include "core/platform/settings_store.h"
#include "gui/base/desktop.h"

class QCheckBox;
class QScrollArea;
class QTabWidget;

namespace qor::gui {

class CabinetTab;
class DatTab;
class ElementTab;
class GeneralTab;

// "Search Options": thirteen tabs in one row that stays in place (the ten element types with a
// tab of their own, "DAT Elements", "General Options", "Cabinet<->Module"; arrows reach the
// tabs a small screen has no room for), the "Show 'Search Status' dialog" box, "Preview
// Status", "OK" and "Cancel".
//
// Lifetime, as the owner (the main window) keeps it:
// - loadRecord() loads session.options (with session.columns and session.cabinetLabels) from
//   the store; start-up does that, without the dialog. Creating the dialog loads the record too
//   unless it is told to keep the session's. The owner creates it when it is first shown and
//   keeps it: showing it again does not reload. Show it with Desktop::runModal.
// - The boxes edit a draft of session.options, taken each time the dialog is shown; the
//   record, and so the scan, sees the edits only once they are saved.
// - "OK" saves the draft into the record and the store, recomputes session.searchStatus from the
// store and hides the
//   dialog (runModal returns QDialog::Accepted).
// - Closing it any other way ("Cancel", title bar, Escape) marks it discarded(); runModal returns
//   QDialog::Rejected. With unsaved edits of the cabinet-module table it first asks: "Save"
//   saves as "OK" does, "Discard" goes on closing, "Cancel" (Escape) leaves the dialog open. The
//   owner then deletes it and reloads the record from the store (dropping toggles of the
//   search status dialog too).
// - "Preview Status" saves and recomputes the search status like "OK", then calls
//   onPreviewStatus (the owner shows the search status dialog in preview mode) while this
//   dialog stays open, and afterwards shows the record again, with any change that dialog
//   made.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    // Where a new dialog takes the record from.
    enum class Record { LoadFromStore, KeepSession };

    OptionsDialog(output::Session& session, platform::SettingsStore& store, UserInterface& ui,
                  Desktop& desktop, QWidget* parent = nullptr,
                  Record record = Record::LoadFromStore);
    ~OptionsDialog() override;

    // The stored record into the session, the result folder's default being the user's
    // Documents folder; the folder itself is not looked at.
    static void loadRecord(output::Session& session, const platform::SettingsStore& store,
                           UserInterface& ui);
    // Back to the middle of the screen.
    void returnToPosition();
    // Closed without "OK": the owner must throw this dialog away.
    bool discarded() const { return discarded_; }

    QTabWidget& tabs() { return *tabs_; }
    // The edits not yet saved.
    const options::SearchOptions& draft() const { return draft_; }

    std::function<void()> onPreviewStatus;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void acceptOptions();
    // The cabinet-module table of the draft differs from the saved one.
    bool tableEdited() const;
    void previewStatus();
    void saveOptions();
    // The dialog's fixed size: its natural size, or the screen's when that is smaller.
    void fitToScreen();
    // A fresh draft of the record, as it stands now, in every control.
    void showRecord();

    output::Session& session_;
    options::SearchOptions draft_;
    platform::SettingsStore& store_;
    UserInterface& ui_;
    Desktop& desktop_;
    QTabWidget* tabs_;
    QScrollArea* scroll_ = nullptr;
    std::vector<ElementTab*> elementTabs_;
    DatTab* datTab_ = nullptr;
    GeneralTab* generalTab_ = nullptr;
    CabinetTab* cabinetTab_ = nullptr;
    QCheckBox* showStatus_ = nullptr;
    bool discarded_ = false;
};

}  // namespace qor::gui
