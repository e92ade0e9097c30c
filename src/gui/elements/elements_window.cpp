#include "gui/elements/elements_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/standard_error.h"
#include "core/platform/user_environment.h"
#include "gui/base/flow_layout.h"
#include "gui/base/skipped_files_text.h"
#include "gui/base/table_export.h"
#include "gui/base/widget_helpers.h"
#include "gui/elements/element_findings.h"
#include "gui/elements/elements_table_model.h"
#include "gui/elements/visible_rows_file.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmElements";
constexpr int kAllTypes = -1;

}  // namespace

ElementsWindow::ElementsWindow(AppContext& context,
                               std::shared_ptr<const elements::ElementTable> table, QString source,
                               bool plant, std::vector<elements::SkippedFile> skipped,
                               QWidget* parent)
    : QWidget(parent),
      context_(context),
      table_(std::move(table)),
      source_(std::move(source)),
      plant_(plant),
      model_(new ElementsTableModel(table_, this)),
      tableView_(new QTableView(this)) {
    setObjectName("frmElements");
    tableView_->setObjectName("tblElements");
    tableView_->setModel(model_);
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setWordWrap(false);
    tableView_->verticalHeader()->hide();
    // Rows of one height need no measuring: four hundred thousand of them scroll at once.
    tableView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tableView_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tableView_->horizontalHeader()->setSectionsMovable(false);
    tableView_->setSortingEnabled(true);
    tableView_->horizontalHeader()->setStretchLastSection(true);

    copy_ = new QAction(tr("&Copy"), tableView_);
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tableView_->addAction(copy_);
    tableView_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy_, &QAction::triggered, this, &ElementsWindow::copySelectedRows);

    // In a small window (tiled, at a large scale) the rows scroll in a short table rather than
    // the filter bar's lines being covered: the heading and a row at the least.
    tableView_->setMinimumHeight(tableView_->horizontalHeader()->sizeHint().height() +
                                 tableView_->verticalHeader()->defaultSectionSize());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newFilterBar());
    if (!skipped.empty()) {
        layout->addWidget(newSkippedLine(skipped));
    }
    layout->addWidget(tableView_, 1);
    layout->addWidget(newButtonBar());
    connect(tableView_, &QTableView::doubleClicked, this, &ElementsWindow::requestElement);
    connect(model_, &ElementsTableModel::columnsShown, this, &ElementsWindow::showColumns);
    connect(model_, &ElementsTableModel::rowsShown, this, &ElementsWindow::showCount);
    applyView();

    std::optional<checks::CabinetSource> cabinets;
    if (context_.session.options.applyCabinetLabels && !context_.session.cabinetLabels.empty()) {
        cabinets = checks::cabinetSourceOf(context_.session.cabinetLabels, {});
    }
    findings_ = std::make_unique<ElementFindings>(*table_, std::move(cabinets));
    connect(findings_.get(), &ElementFindings::found, this,
            [this] { model_->setFindings(findings_.get()); });
}

ElementsWindow::~ElementsWindow() {
    model_->setFindings(nullptr);
}

QString ElementsWindow::caption() const {
    return tr("Elements: %1").arg(QFileInfo(source_).fileName());
}

QWidget* ElementsWindow::newFilterBar() {
    auto* bar = new QWidget(this);
    typeChooser_ = new QComboBox(bar);
    typeChooser_->setObjectName("cboType");
    typeChooser_->addItem(tr("All Types (%1)").arg(static_cast<qulonglong>(table_->rowCount())),
                          kAllTypes);
    for (const scan::ElementTypeInfo& type : scan::elementTypes()) {
        typeChooser_->addItem(
            tr("%1 (%2)")
                .arg(
                    QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())))
                .arg(static_cast<qulonglong>(table_->typeCounts()[scan::indexOf(type.type)])),
            static_cast<int>(scan::indexOf(type.type)));
    }
    selectedOnly_ = new QCheckBox(tr("Selected &Parameters Only"), bar);
    selectedOnly_->setObjectName("chkSelectedOnly");
    selectedOnly_->setToolTip(tr("Only the parameters selected in the options"));
    filterText_ = new QLineEdit(bar);
    filterText_->setObjectName("txtFilter");
    filterText_->setPlaceholderText(tr("Filter: a designation, name or value (* and ? allowed)"));
    filterText_->setClearButtonEnabled(true);
    filterText_->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    filterColumn_ = new QComboBox(bar);
    filterColumn_->setObjectName("cboFilterColumn");
    // Narrow enough for a tiled window; a long heading is cut in the box, whole in the list.
    filterColumn_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    filterColumn_->setMinimumContentsLength(12);

    auto* type = new QLabel(tr("&Type:"), bar);
    type->setBuddy(typeChooser_);
    auto* in = new QLabel(tr("&in"), bar);
    in->setBuddy(filterColumn_);
    // The bar wraps in a narrow window (tiled, or at a large scale): a label stays with its box.
    const auto pair = [bar](QWidget* label, QWidget* box) {
        auto* both = new QWidget(bar);
        auto* layout = new QHBoxLayout(both);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(label);
        layout->addWidget(box);
        return both;
    };
    auto* layout = new FlowLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pair(type, typeChooser_));
    layout->addWidget(selectedOnly_);
    layout->addWidget(filterText_, true);
    layout->addWidget(pair(in, filterColumn_));
    connect(typeChooser_, &QComboBox::currentIndexChanged, this, &ElementsWindow::applyView);
    connect(selectedOnly_, &QCheckBox::toggled, this, &ElementsWindow::applyView);
    connect(filterText_, &QLineEdit::textChanged, this, &ElementsWindow::applyFilter);
    connect(filterColumn_, &QComboBox::currentIndexChanged, this, &ElementsWindow::applyFilter);
    return bar;
}

QLabel* ElementsWindow::newSkippedLine(const std::vector<elements::SkippedFile>& skipped) {
    const SkippedFilesText text = skippedFilesText(skipped);
    auto* line = new QLabel(text.line, this);
    line->setObjectName("lblSkipped");
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->setToolTip(text.tip);
    return line;
}

QWidget* ElementsWindow::newButtonBar() {
    auto* bar = new QWidget(this);
    auto* exportRows = new QPushButton(tr("&Export Visible Rows..."), bar);
    exportRows->setObjectName("cmdExportRows");
    written_ = new QLabel(bar);
    written_->setObjectName("lblWritten");
    written_->setTextFormat(Qt::PlainText);
    // A long path is cut, not allowed to push the button out of the window; the tooltip has it.
    written_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    written_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The count beside the button that writes what it counts, on a line of its own in a narrow
    // window rather than squeezing the button's text.
    shown_ = new QLabel(bar);
    shown_->setObjectName("lblShown");
    auto* layout = new FlowLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(shown_);
    layout->addWidget(written_, true);
    layout->addWidget(exportRows);
    connect(exportRows, &QPushButton::clicked, this, &ElementsWindow::exportVisibleRows);
    return bar;
}

void ElementsWindow::chooseType(std::optional<scan::ElementType> type) {
    typeChooser_->setCurrentIndex(
        typeChooser_->findData(type ? static_cast<int>(scan::indexOf(*type)) : kAllTypes));
}

void ElementsWindow::focusFilter() {
    filterText_->setFocus();
}

void ElementsWindow::setFilter(const QString& text, int column) {
    filterColumn_->setCurrentIndex(std::max(0, column + 1));
    filterText_->setText(text);
}

void ElementsWindow::applyView() {
    ElementsView view;
    if (const int type = typeChooser_->currentData().toInt(); type != kAllTypes) {
        view.type = scan::elementTypes()[static_cast<std::size_t>(type)].type;
    }
    if (selectedOnly_->isChecked()) {
        view.selected = &context_.session.options.types;
    }
    view.plant = plant_;
    model_->setView(view);
    // The rows come back in the table's order, the filter as it was.
    tableView_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void ElementsWindow::showColumns() {
    fillColumnChooser();
    tableView_->resizeColumnsToContents();
    // A long value (a description, a path) would push the columns after it out of sight.
    const int widest = fontMetrics().averageCharWidth() * 36;
    for (int column = 0; column < model_->columnCount(); ++column) {
        tableView_->setColumnWidth(column, std::min(tableView_->columnWidth(column), widest));
    }
}

void ElementsWindow::fillColumnChooser() {
    const QSignalBlocker quiet(filterColumn_);
    filterColumn_->clear();
    filterColumn_->addItem(tr("Any Column"));
    for (int column = 0; column < model_->columnCount(); ++column) {
        filterColumn_->addItem(model_->heading(column));
    }
    filterColumn_->setCurrentIndex(model_->filterColumn() + 1);
}

void ElementsWindow::applyFilter() {
    model_->setFilter(filterText_->text(), filterColumn_->currentIndex() - 1);
}

void ElementsWindow::showCount() {
    shown_->setText(tr("%1 of %2 elements").arg(model_->rowCount()).arg(model_->elementCount()));
}

void ElementsWindow::requestElement(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const elements::RowIndex element = model_->elementAt(index.row());
    emit elementRequested(pathText(table_->fileOf(element).path),
                          static_cast<qsizetype>(table_->record(element).line) - 1);
}

void ElementsWindow::copySelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : tableView_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    if (rows.empty()) {
        return;
    }
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(model_->tabSeparated(rows));
}

void ElementsWindow::exportVisibleRows() {
    constexpr std::string_view procedure = "cmdExportRows_Click";
    // Named as the scan names its files, in English whatever the language.
    const std::optional<ExportTarget> target = chooseExportTarget(
        this, context_, kModule, procedure,
        QStringLiteral("Elements_") +
            (plant_ ? QFileInfo(source_).fileName() : QFileInfo(source_).completeBaseName()),
        tr("Export Visible Rows"));
    if (!target) {
        return;
    }
    std::vector<elements::RowIndex> rows(static_cast<std::size_t>(model_->rowCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = model_->elementAt(static_cast<int>(row));
    }
    const VisibleRows visible{*table_, model_->columns(), std::move(rows)};
    runStep(context_.boxes, kModule, procedure, [&] {
        const bool written = target->workbook
                                 ? writeVisibleRowsWorkbook(visible, target->path, context_.boxes,
                                                            toTimeT(context_.clock.now()))
                                 : writeVisibleRowsCsv(visible, target->path, context_.boxes);
        const QString said = exportOutcomeText(written, target->path);
        written_->setText(said);
        written_->setToolTip(said);
    });
}

}  // namespace qor::gui
