#pragma once

#include <QWidget>
#include <vector>

#include "core/options/search_options.h"
#include "core/scan/element_types.h"

class QCheckBox;

namespace qor::gui {

// Box `box` (1 = NAME) of a type: captioned with its parameter name, NAME in dark red,
// named after the type's settings section ("chkAISParameters_1").
QCheckBox* makeParameterBox(const scan::ElementTypeInfo& type, int box, QWidget* parent);
// The type's "Enable Search" box ("chkAISEnableSearch").
QCheckBox* makeEnableSearchBox(const scan::ElementTypeInfo& type, QWidget* parent);

// The tab of one of the ten types with a tab of their own: "Only most valuable parameters
// for:" and what the type is, the type's parameter boxes with "Select All" and "Clear All",
// and its "Enable Search" box. The boxes edit the live record, so a scan reads them before
// they are saved. NAME cannot be cleared by hand: any parameter box clicked, either button and
// "Enable Search" ticked check it.
class ElementTab : public QWidget {
    Q_OBJECT

public:
    ElementTab(scan::ElementType type, options::SearchOptions& options, QWidget* parent = nullptr);

    // Shows the record's selection as it is, a clear NAME included.
    void showRecord();

private:
    void parameterClicked(std::size_t box, bool checked);
    // Every parameter box ticked, or every one but NAME cleared.
    void selectAll(bool selected);

    scan::ElementType type_;
    options::SearchOptions& options_;
    std::vector<QCheckBox*> parameterBoxes_;
    QCheckBox* enableBox_;
};

}  // namespace qor::gui
