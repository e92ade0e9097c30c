#include "gui/options/cabinet_tab.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/options/settings_table.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

// How far "Add" lifts the options dialog, so that the assignment dialog leaves the list
// in view.
constexpr double kAddLiftTwips = 2200.0;

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

CabinetTab::CabinetTab(options::SearchOptions& options, scan::CabinetLabels& labels,
                       platform::SettingsStore& store, UserInterface& ui, Desktop& desktop,
                       QWidget* parent)
    : QWidget(parent),
      options_(options),
      labels_(labels),
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
    list_->installEventFilter(this);
    layout->addWidget(list_, 1, 0);

    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName("cmdAdd");
    add->setToolTip(tr("Add new item to the list"));
    add->setAutoDefault(false);
    auto* import = new QPushButton(tr("&Import"), this);
    import->setObjectName("cmdImport");
    import->setToolTip(tr("Import CSV file"));
    import->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(import);
    buttons->addStretch(1);
    layout->addLayout(buttons, 1, 1);

    apply_->setObjectName("chkApplyCabinetModule");
    apply_->setToolTip(tr("Apply these 'Cabinet|Module' values to search results"));
    layout->addWidget(apply_, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);

    connect(add, &QPushButton::clicked, this, [this] { addRow(); });
    connect(import, &QPushButton::clicked, this, [this] { importTable(); });
    connect(apply_, &QCheckBox::clicked, this,
            [this](bool checked) { options_.applyCabinetLabels = checked; });
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { selectRow(item); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        // The row double-clicked is the row to modify, whatever its cabinet name holds.
        makeCurrent(list_->indexOfTopLevelItem(item));
        editRow();
    });

    showTable();
    refreshCountAndApply();
}

void CabinetTab::showTable() {
    const options::CabinetModuleTable& table = options_.cabinetTable;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(table.rows.size()));
    for (const scan::CabinetRow& row : table.rows) {
        items.append(new QTreeWidgetItem({toQString(row.cabinet), toQString(row.module)}));
    }
    list_->addTopLevelItems(items);
    fileName_->setText(toQString(table.importedFileName));
    apply_->setChecked(options_.applyCabinetLabels);
}

void CabinetTab::refreshCountAndApply() {
    const std::size_t rows = options_.cabinetTable.rows.size();
    count_->setText(QString::number(rows));
    apply_->setEnabled(rows > 0);
}

void CabinetTab::makeCurrent(int index) {
    const auto& rows = options_.cabinetTable.rows;
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) {
        return;
    }
    const scan::CabinetRow& row = rows[static_cast<std::size_t>(index)];
    current_ = {row.cabinet, row.module, static_cast<std::size_t>(index) + 1};
}

void CabinetTab::selectRow(QTreeWidgetItem* item) {
    const int index = list_->indexOfTopLevelItem(item);
    const auto& rows = options_.cabinetTable.rows;
    if (index >= 0 && static_cast<std::size_t>(index) < rows.size() &&
        !rows[static_cast<std::size_t>(index)].cabinet.empty()) {
        makeCurrent(index);
    }
}

void CabinetTab::editRow() {
    if (current_.number < 1 || current_.number > options_.cabinetTable.rows.size()) {
        return;
    }
    CabinetModuleDialog dialog(options_.cabinetTable, ui_, window());
    dialog.modifyRow(current_);
    connect(&dialog, &CabinetModuleDialog::tableChanged, this, [this] { showTable(); });
    desktop_.runModal(dialog);
}

void CabinetTab::addRow() {
    QWidget& options = *window();
    centreAboveMiddle(options, kAddLiftTwips);
    CabinetModuleDialog dialog(options_.cabinetTable, ui_, &options);
    connect(&dialog, &CabinetModuleDialog::tableChanged, this, [this] { showTable(); });
    desktop_.runModal(dialog);
    centreOnScreen(options);  // returnToPosition
}

void CabinetTab::importTable() {
    if (!ui_.askYesNo(Prompt{std::string(kApplicationTitle),
                             toStdString(tr("Do you really want to import values from external "
                                            "file ?. Current contents will be cleared.")),
                             MessageIcon::Exclamation})) {
        return;
    }
    options::CabinetModuleTable& table = options_.cabinetTable;
    // The stored table goes before a file is chosen: cancelling leaves no table at all.
    table.clear(store_);
    labels_.clear();
    showTable();
    // The dialog starts where the last import came from, at first in the home folder.
    const std::string folder =
        options::settings::kLastImportFolder.readFrom(store_, toStdString(QDir::homePath()));
    const std::string path =
        desktop_.chooseFileToOpen(window(),
                                  {{toStdString(tr("Comma Separated Values (*.csv)")), "*.csv"},
                                   {toStdString(tr("Text Files (*.txt)")), "*.txt"}},
                                  toStdString(tr("Select File to Inport...")), folder, "");
    if (path.empty()) {
        options::settings::kLastImportedFile.writeTo(store_, "");
    } else {
        options::settings::kLastImportFolder.writeTo(
            store_, toStdString(QFileInfo(toQString(path)).absolutePath()));
        table = options::importCabinetFile(path, store_, ui_);
        labels_ = table.rows;
    }
    showTable();
    refreshCountAndApply();
}

bool CabinetTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::FocusOut) {
        list_->clearSelection();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qor::gui
