#include "gui/options/cabinet_module_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/options/cabinet_table.h"
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

// Whether `row` may go into the table in place of row `except` (none: added): a row that is
// there already is refused with a message; a module that another row puts into another cabinet
// is asked about, and when the new cabinet wins, those rows go. False leaves the table as it was.
bool CabinetModuleDialog::admit(const scan::CabinetRow& row, std::optional<std::size_t> except) {
    const options::RowClash clash = options::clashOf(table_.rows, row, except);
    if (clash.kind == options::RowClashKind::Duplicate) {
        ui_.inform(Message{std::string(kApplicationTitle),
                           toStdString(tr("The row %1 | %2 is in the list already.")
                                           .arg(toQString(row.cabinet), toQString(row.module))),
                           MessageIcon::Information});
        return false;
    }
    if (clash.kind == options::RowClashKind::Conflict) {
        const std::string other = table_.rows[clash.index].cabinet;
        const bool moved = ui_.askYesNo(Prompt{
            std::string(kApplicationTitle),
            toStdString(tr("The module %1 is in the cabinet %2 already. Should the cabinet %3 "
                           "take it instead?\n\nYes: %3 takes it. No: it stays in %2.")
                            .arg(toQString(row.module), toQString(other), toQString(row.cabinet))),
            MessageIcon::Exclamation});
        if (!moved) {
            return false;
        }
        // One cabinet per module: every other row of the module goes.
        for (std::size_t i = table_.rows.size(); i-- > 0;) {
            if (i != except && scan::equalsNoCase(table_.rows[i].module, row.module)) {
                table_.rows.erase(table_.rows.begin() + static_cast<std::ptrdiff_t>(i));
                if (except && i < *except) {
                    --*except;
                }
            }
        }
        if (except) {
            rowNumber_ = *except + 1;
        }
    }
    return true;
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
        const scan::CabinetRow row{scan::upperCaseAscii(cabinet), scan::upperCaseAscii(module)};
        if (!admit(row, std::nullopt)) {
            cabinet_->setFocus();
            cabinet_->selectAll();
            return;
        }
        table_.rows.push_back(row);
        emit tableChanged();
        // Ready for the next row.
        cabinet_->clear();
        module_->clear();
        cabinet_->setFocus();
    });
}

void CabinetModuleDialog::modifyRow() {
    // The row may have gone since it was made current (an import, a shorter table): then
    // nothing is written anywhere.
    if (rowNumber_ >= 1 && rowNumber_ <= table_.rows.size()) {
        const scan::CabinetRow row{scan::upperCaseAscii(toStdString(cabinet_->text())),
                                   scan::upperCaseAscii(toStdString(module_->text()))};
        if (!admit(row, rowNumber_ - 1)) {
            return;  // the dialog stays open for another try, or Escape
        }
        table_.rows[rowNumber_ - 1] = row;
        emit tableChanged();
    }
    modifying_ = false;
    accept();
}

}  // namespace qor::gui
