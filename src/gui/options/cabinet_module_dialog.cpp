#include "gui/options/cabinet_module_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/scan/text_rules.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {

CabinetModuleDialog::CabinetModuleDialog(options::CabinetModuleTable& table, UserInterface& ui,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      table_(table),
      ui_(ui),
      cabinet_(new QLineEdit(this)),
      module_(new QLineEdit(this)),
      apply_(new QPushButton(tr("&Apply"), this)),
      close_(new QPushButton(tr("&Close"), this)) {
    setObjectName("frmCabinetModule");
    setWindowTitle(tr("Cabinet | Module Assignment"));

    auto* layout = new QVBoxLayout(this);
    auto* cabinetLabel = new QLabel(tr("New Cabinet Name, e.g. CB801"), this);
    auto* moduleLabel = new QLabel(tr("New Module Skeleton, e.g. AI800_1"), this);
    cabinet_->setObjectName("txtNewCabinet");
    module_->setObjectName("txtNewModule");
    cabinetLabel->setBuddy(cabinet_);
    moduleLabel->setBuddy(module_);
    for (QLineEdit* box : {cabinet_, module_}) {
        box->setMinimumWidth(260);
    }
    layout->addWidget(cabinetLabel);
    layout->addWidget(cabinet_);
    layout->addSpacing(6);
    layout->addWidget(moduleLabel);
    layout->addWidget(module_);
    layout->addSpacing(10);

    apply_->setObjectName("cmdApply");
    close_->setObjectName("cmdClose");
    apply_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepCaptionWhole(*this, *layout);

    connect(apply_, &QPushButton::clicked, this, [this] { applyRow(); });
    connect(close_, &QPushButton::clicked, this, [this] { accept(); });
}

void CabinetModuleDialog::modifyRow(const CurrentCabinetRow& row) {
    modifying_ = true;
    rowNumber_ = row.number;
    cabinet_->setText(toQString(row.cabinet));
    module_->setText(toQString(row.module));
    apply_->setText(tr("&Modify"));
    close_->hide();
}

void CabinetModuleDialog::applyRow() {
    if (modifying_) {
        modifyRow();
    } else {
        appendRow();
    }
}

void CabinetModuleDialog::appendRow() {
    runStep(ui_, "frmCabinetModule", "AddNewItems", [&] {
        const std::string cabinet = toStdString(cabinet_->text());
        const std::string module = toStdString(module_->text());
        if (cabinet.empty() || module.empty()) {
            ui_.inform(Message{std::string(kApplicationTitle),
                               toStdString(tr("Put both 'New Cabinet Name' and 'New Module "
                                              "Skeleton'.")),
                               MessageIcon::Information});
            return;
        }
        table_.rows.push_back({scan::upperCaseAscii(cabinet), scan::upperCaseAscii(module)});
        emit tableChanged();
    });
}

void CabinetModuleDialog::modifyRow() {
    // The row may have gone since it was made current (an import, a shorter table): then
    // nothing is written anywhere.
    if (rowNumber_ >= 1 && rowNumber_ <= table_.rows.size()) {
        table_.rows[rowNumber_ - 1] = {scan::upperCaseAscii(toStdString(cabinet_->text())),
                                       scan::upperCaseAscii(toStdString(module_->text()))};
        emit tableChanged();
    }
    modifying_ = false;
    accept();
}

}  // namespace qor::gui
