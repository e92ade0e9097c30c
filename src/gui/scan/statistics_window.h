#pragma once

#include <array>
#include <optional>

#include <QColor>
#include <QDialog>

#include "core/base/date_time.h"
#include "core/base/user_interface.h"
#include "core/output/session.h"
#include "core/output/statistics.h"
#include "gui/base/desktop.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace qor::gui {

// "Search Results Statistics": the element counts of the scan that just ended,
// one row per type in the order of the search status table ("Kept" for a type whose existing
// results the user kept), with "Save To File" and "Close". The session, clock and user
// interface must outlive the window.
class StatisticsWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRowCount = static_cast<int>(scan::kElementTypeCount);

    StatisticsWindow(const output::Session& session, const Clock& clock, UserInterface& ui,
                     QWidget* parent = nullptr);

    // After a scan: "Open Folder" opens the node's result folder and, after an HTML scan,
    // "Open Report" its report; below the counts, the result folder (a link that opens it, unless
    // a cancelled scan removed it), the total, the time taken and, when every existing result
    // was kept, that nothing was replaced. A cancelled scan marks every type it was reading
    // "Cancelled" and has no statistics to save. Counts and total are grouped alike.
    void offerResults(Desktop& desktop, bool cancelled);

    // What the last "Save To File" of this opening did; nothing before the first.
    std::optional<output::StatisticsSave> lastSave() const { return lastSave_; }

protected:
    void showEvent(QShowEvent* event) override;

public slots:
    // "Save To File": writes the statistics file. Only a file actually saved disables the
    // button; a kept file (the user said No) and a failed save leave it as it was.
    void saveToFile();
    void closeWindow();

private:
    // The count labels that read "Search Disabled", "Kept" or "Cancelled" turn dark red.
    void colourCounts();
    void openWithDesktop(const std::string& path);
    QString summaryText(bool cancelled) const;

    const output::Session& session_;
    const Clock& clock_;
    UserInterface& ui_;
    std::array<QLabel*, kRowCount + 2> lblModuleNames_{};  // 0 and 15 are the column heads
    std::array<QLabel*, kRowCount> lblFoundElements_{};
    std::array<bool, kRowCount> searchDisabled_{};  // the rows that read "Search Disabled"
    std::array<bool, kRowCount> kept_{};            // the rows that read "Kept"
    bool cancelled_ = false;
    QPushButton* cmdSaveStatistic_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QPushButton* cmdOpenFolder_ = nullptr;
    QPushButton* cmdOpenReport_ = nullptr;
    QLabel* lblSummary_ = nullptr;
    QWidget* counts_ = nullptr;
    QScrollArea* countsScroll_ = nullptr;
    Desktop* desktop_ = nullptr;
    std::optional<output::StatisticsSave> lastSave_;
};

}  // namespace qor::gui
