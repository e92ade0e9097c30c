#include "gui/options/dat_tab.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/base/widget_helpers.h"
#include "gui/options/element_tab.h"

namespace qor::gui {

DatTab::DatTab(options::SearchOptions& options, QWidget* parent)
    : QWidget(parent), options_(options) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(6);
    int line = 0;
    for (std::size_t row = 0; row < kTypes.size(); ++row) {
        const scan::ElementTypeInfo& info = scan::elementType(kTypes[row]);
        if (row > 0) {
            auto* rule = new QFrame(this);
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            grid->addWidget(rule, line++, 0, 1, 4);
        }
        auto* heading = new QLabel(toQString(info.name), this);
        heading->setObjectName("lbl" + toQString(info.filePrefix).chopped(1));
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
        heading->setMinimumWidth(heading->fontMetrics().horizontalAdvance("DAT(IL)") + 16);
        nameBoxes_[row] = makeParameterBox(info, 1, this);
        enableBoxes_[row] = makeEnableSearchBox(info, this);
        grid->addWidget(heading, line, 0);
        grid->addWidget(nameBoxes_[row], line, 1);
        grid->addWidget(enableBoxes_[row], line, 2);
        ++line;
        connect(nameBoxes_[row], &QCheckBox::clicked, this,
                [this, row](bool checked) { rowClicked(row, checked); });
        connect(enableBoxes_[row], &QCheckBox::clicked, this,
                [this, row](bool checked) { rowClicked(row, checked); });
    }
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    showRecord();
}

void DatTab::showRecord() {
    for (std::size_t row = 0; row < kTypes.size(); ++row) {
        const scan::TypeOptions& record = options_.of(kTypes[row]);
        nameBoxes_[row]->setChecked(record.parameters[0]);
        enableBoxes_[row]->setChecked(record.enabled);
    }
}

void DatTab::rowClicked(std::size_t row, bool checked) {
    scan::TypeOptions& record = options_.of(kTypes[row]);
    record.parameters[0] = checked;
    record.enabled = checked;
    nameBoxes_[row]->setChecked(checked);
    enableBoxes_[row]->setChecked(checked);
}

}  // namespace qor::gui
