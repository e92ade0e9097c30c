#include "gui/options/cabinet_tab.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <utility>

#include "core/base/standard_error.h"
#include "core/options/settings_table.h"
#include "gui/base/widget_helpers.h"
#include "gui/options/cabinet_import_dialog.h"

namespace qor::gui {
namespace {

QLabel* captionLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

CabinetTab::CabinetTab(options::SearchOptions& options, platform::SettingsStore& store,
                       UserInterface& ui, Desktop& desktop, QWidget* parent)
    : QWidget(parent),
      options_(options),
      store_(store),
      ui_(ui),
      desktop_(desktop),
      list_(new QTreeWidget(this)),
      fileName_(valueLabel("lblImportedFile", this)),
      count_(valueLabel("lblItemsCount", this)),
      apply_(new QCheckBox(tr("Apply above values to search results"), this)) {
    setObjectName("tabCabinetModule");
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(10);

    auto* facts = new QHBoxLayout;
    facts->setSpacing(6);
    facts->addWidget(captionLabel(tr("Imported File:"), "lblImportedFileCaption", this));
    facts->addWidget(fileName_, 1);
    facts->addSpacing(16);
    facts->addWidget(captionLabel(tr("Items Count:"), "lblItemsCountCaption", this));
    facts->addWidget(count_);
    layout->addLayout(facts, 0, 0, 1, 2);

    list_->setObjectName("lvwCabinetModule");
    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("Cabinet Name"), tr("Module Skeleton Name")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->header()->resizeSection(0, 170);
    list_->setMinimumSize(380, 170);
    layout->addWidget(list_, 1, 0);

    // The list's context menu; Delete also answers the Delete key while the list has the focus.
    modifyAction_ = new QAction(tr("&Modify"), list_);
    modifyAction_->setObjectName("actModifyRow");
    deleteAction_ = new QAction(tr("&Delete"), list_);
    deleteAction_->setObjectName("actDeleteRow");
    deleteAction_->setShortcut(QKeySequence::Delete);
    deleteAction_->setShortcutContext(Qt::WidgetShortcut);
    list_->addActions({modifyAction_, deleteAction_});
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName("cmdAdd");
    add->setToolTip(tr("Add new item to the list"));
    add->setAutoDefault(false);
    delete_ = new QPushButton(tr("&Delete"), this);
    delete_->setObjectName("cmdDelete");
    delete_->setToolTip(tr("Delete the selected item from the list"));
    delete_->setAutoDefault(false);
    auto* import = new QPushButton(tr("&Import"), this);
    import->setObjectName("cmdImport");
    import->setToolTip(tr("Import CSV file"));
    import->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(delete_);
    buttons->addWidget(import);
    buttons->addStretch(1);
    layout->addLayout(buttons, 1, 1);

    apply_->setObjectName("chkApplyCabinetModule");
    apply_->setToolTip(tr("Apply these 'Cabinet|Module' values to search results"));
    layout->addWidget(apply_, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);

    connect(add, &QPushButton::clicked, this, &CabinetTab::addRow);
    connect(delete_, &QPushButton::clicked, this, &CabinetTab::deleteRow);
    connect(import, &QPushButton::clicked, this, &CabinetTab::importTable);
    connect(modifyAction_, &QAction::triggered, this, &CabinetTab::editRow);
    connect(deleteAction_, &QAction::triggered, this, &CabinetTab::deleteRow);
    connect(apply_, &QCheckBox::clicked, this,
            [this](bool checked) { options_.applyCabinetLabels = checked; });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CabinetTab::offerRowCommands);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        list_->setCurrentItem(item);
        editRow();
    });

    showTable();
}

void CabinetTab::showTable() {
    const int selected = selectedIndex();
    const options::CabinetModuleTable& table = options_.cabinetTable;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(table.rows.size()));
    for (const scan::CabinetRow& row : table.rows) {
        items.append(new QTreeWidgetItem({toQString(row.cabinet), toQString(row.module)}));
    }
    list_->addTopLevelItems(items);
    fileName_->setText(toQString(table.importedFileName));
    count_->setText(QString::number(items.size()));
    // Without rows there is nothing to apply: the box is cleared, as loading such a table
    // clears it.
    if (items.isEmpty()) {
        options_.applyCabinetLabels = false;
    }
    apply_->setEnabled(!items.isEmpty());
    apply_->setChecked(options_.applyCabinetLabels);
    selectIndex(std::min(selected, static_cast<int>(items.size()) - 1));
    offerRowCommands();
}

int CabinetTab::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CabinetTab::selectIndex(int index) {
    if (QTreeWidgetItem* item = list_->topLevelItem(index)) {
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
}

CurrentCabinetRow CabinetTab::currentRow() const {
    const int index = selectedIndex();
    const auto& rows = options_.cabinetTable.rows;
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) {
        return {};
    }
    const scan::CabinetRow& row = rows[static_cast<std::size_t>(index)];
    return {row.cabinet, row.module, static_cast<std::size_t>(index) + 1};
}

void CabinetTab::offerRowCommands() {
    const bool selected = selectedIndex() >= 0;
    delete_->setEnabled(selected);
    modifyAction_->setEnabled(selected);
    deleteAction_->setEnabled(selected);
}

void CabinetTab::editRow() {
    const CurrentCabinetRow row = currentRow();
    if (row.number == 0) {
        return;
    }
    CabinetModuleDialog dialog(options_.cabinetTable, ui_, window());
    dialog.modifyRow(row);
    connect(&dialog, &CabinetModuleDialog::tableChanged, this, &CabinetTab::showTable);
    desktop_.runModal(dialog);
}

void CabinetTab::deleteRow() {
    const int index = selectedIndex();
    auto& rows = options_.cabinetTable.rows;
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) {
        return;
    }
    rows.erase(rows.begin() + index);
    showTable();  // the row below, or the new last one, is selected in its place
}

void CabinetTab::addRow() {
    // The options dialog stays where the person has it.
    CabinetModuleDialog dialog(options_.cabinetTable, ui_, window());
    connect(&dialog, &CabinetModuleDialog::tableChanged, this, &CabinetTab::showTable);
    desktop_.runModal(dialog);
}

void CabinetTab::importTable() {
    if (!ui_.askYesNo(Prompt{std::string(kApplicationTitle),
                             toStdString(tr("Do you really want to import values from an external "
                                            "file? Current contents will be cleared.")),
                             MessageIcon::Exclamation})) {
        return;
    }
    // The dialog starts where the last import came from, at first in the home folder.
    const std::string folder =
        options::settings::kLastImportFolder.readFrom(store_, toStdString(QDir::homePath()));
    const std::string path =
        desktop_.chooseFileToOpen(window(),
                                  {{toStdString(tr("Comma Separated Values (*.csv)")), "*.csv"},
                                   {toStdString(tr("Text Files (*.txt)")), "*.txt"}},
                                  toStdString(tr("Select File to Import...")), folder, "");
    if (path.empty()) {
        return;  // cancelled: the table stays as it was
    }
    options::settings::kLastImportFolder.writeTo(
        store_, toStdString(QFileInfo(toQString(path)).absolutePath()));
    const std::optional<options::CabinetFile> file = options::importCabinetFile(path, ui_);
    if (!file) {
        return;  // reported; the table stays as it was
    }
    // What each line gives, and what is left out, before the table changes.
    CabinetImportDialog preview(*file, window());
    if (desktop_.runModal(preview) != QDialog::Accepted) {
        return;
    }
    options_.cabinetTable = {preview.rows(), file->fileName};
    list_->clearSelection();
    showTable();
}

}  // namespace qor::gui
