#include "gui/checks/checks_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/date_time.h"
#include "core/base/standard_error.h"
#include "core/checks/findings_file.h"
#include "core/platform/user_environment.h"
#include "gui/base/skipped_files_text.h"
#include "gui/base/table_export.h"
#include "gui/base/widget_helpers.h"
#include "gui/checks/findings_table_model.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmChecks";
constexpr int kAllChecks = -1;

}  // namespace

ChecksWindow::ChecksWindow(AppContext& context, CheckedExports checked, QString source,
                           QWidget* parent)
    : QWidget(parent),
      context_(context),
      checked_(std::move(checked)),
      input_{*checked_.table, checked_.cabinets ? &*checked_.cabinets : nullptr},
      source_(std::move(source)),
      model_(new FindingsTableModel(input_, checked_.result, this)),
      tableView_(new QTableView(this)) {
    setObjectName("frmChecks");
    tableView_->setObjectName("tblFindings");
    tableView_->setModel(model_);
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setWordWrap(false);
    tableView_->verticalHeader()->hide();
    // Rows of one height need no measuring: a hundred thousand findings scroll at once.
    tableView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tableView_->horizontalHeader()->setStretchLastSection(true);
    const int character = fontMetrics().averageCharWidth();
    const std::pair<int, int> widths[] = {
        {FindingsTableModel::kSeverity, 14},    {FindingsTableModel::kCheck, 24},
        {FindingsTableModel::kNode, 8},         {FindingsTableModel::kType, 10},
        {FindingsTableModel::kDesignation, 16}, {FindingsTableModel::kLine, 8},
        {FindingsTableModel::kMessage, 70}};
    for (const auto& [column, characters] : widths) {
        tableView_->setColumnWidth(column, character * characters);
    }

    copy_ = new QAction(tr("&Copy"), tableView_);
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tableView_->addAction(copy_);
    tableView_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy_, &QAction::triggered, this, &ChecksWindow::copySelectedRows);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newFilterBar());
    if (QLabel* notes = newNotesLine()) {
        layout->addWidget(notes);
    }
    layout->addWidget(tableView_, 1);
    layout->addWidget(newButtonBar());
    connect(tableView_, &QTableView::doubleClicked, this, &ChecksWindow::requestElement);
    applyFilter();
}

ChecksWindow::~ChecksWindow() = default;

QString ChecksWindow::caption() const {
    return tr("Checks: %1").arg(QFileInfo(source_).fileName());
}

QWidget* ChecksWindow::newFilterBar() {
    auto* bar = new QWidget(this);
    auto* summary = new QLabel(bar);
    summary->setObjectName("lblSummary");
    summary->setText(
        model_->findingCount() == 0
            ? tr("No findings: the checks found nothing wrong.")
            : tr("%1 findings: %2 errors, %3 warnings, %4 notes")
                  .arg(static_cast<qulonglong>(model_->findingCount()))
                  .arg(static_cast<qulonglong>(model_->countOf(checks::Severity::Error)))
                  .arg(static_cast<qulonglong>(model_->countOf(checks::Severity::Warning)))
                  .arg(static_cast<qulonglong>(model_->countOf(checks::Severity::Note))));
    severityChooser_ = new QComboBox(bar);
    severityChooser_->setObjectName("cboSeverity");
    severityChooser_->addItem(tr("Errors, Warnings and Notes"),
                              static_cast<int>(checks::Severity::Note));
    severityChooser_->addItem(tr("Errors and Warnings"),
                              static_cast<int>(checks::Severity::Warning));
    severityChooser_->addItem(tr("Errors Only"), static_cast<int>(checks::Severity::Error));
    checkChooser_ = new QComboBox(bar);
    checkChooser_->setObjectName("cboCheck");
    checkChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    checkChooser_->addItem(
        tr("All Checks (%1)").arg(static_cast<qulonglong>(model_->findingCount())), kAllChecks);
    const auto registry = checks::checkRegistry();
    for (std::size_t i = 0; i < registry.size(); ++i) {
        if (!checked_.result.ran[i]) {
            continue;
        }
        const QString id = QString::fromLatin1(registry[i]->id.data(),
                                               static_cast<qsizetype>(registry[i]->id.size()));
        checkChooser_->addItem(
            tr("%1 (%2)").arg(id).arg(static_cast<qulonglong>(model_->countsPerCheck()[i])),
            static_cast<int>(i));
        checkChooser_->setItemData(checkChooser_->count() - 1,
                                   QCoreApplication::translate("Checks", registry[i]->description),
                                   Qt::ToolTipRole);
    }
    shown_ = new QLabel(bar);
    shown_->setObjectName("lblShown");

    auto* severity = new QLabel(tr("&Show:"), bar);
    severity->setBuddy(severityChooser_);
    auto* check = new QLabel(tr("C&heck:"), bar);
    check->setBuddy(checkChooser_);
    // The summary above the choices, so that a narrow window still shows them all.
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addWidget(summary);
    auto* layout = new QHBoxLayout;
    rows->addLayout(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(severity);
    layout->addWidget(severityChooser_);
    layout->addWidget(check);
    layout->addWidget(checkChooser_);
    layout->addStretch(1);
    layout->addWidget(shown_);
    connect(severityChooser_, &QComboBox::currentIndexChanged, this, &ChecksWindow::applyFilter);
    connect(checkChooser_, &QComboBox::currentIndexChanged, this, &ChecksWindow::applyFilter);
    return bar;
}

// What was left out: the files that were skipped, and the cabinet checks without a table.
QLabel* ChecksWindow::newNotesLine() {
    QStringList notes;
    const SkippedFilesText skipped = skippedFilesText(checked_.skipped);
    if (!skipped.line.isEmpty()) {
        notes << skipped.line;
    }
    if (!checked_.cabinets) {
        notes << tr(
            "The cabinet checks did not run: no cabinet-module table is applied "
            "(Tools > Options).");
    }
    if (notes.isEmpty()) {
        return nullptr;
    }
    auto* line = new QLabel(notes.join(QLatin1Char('\n')), this);
    line->setObjectName("lblNotes");
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->setToolTip(skipped.tip);
    return line;
}

QWidget* ChecksWindow::newButtonBar() {
    auto* bar = new QWidget(this);
    auto* exportFindings = new QPushButton(tr("&Export..."), bar);
    exportFindings->setObjectName("cmdExportFindings");
    exportFindings->setToolTip(tr("Write the findings shown as a CSV file or a workbook"));
    written_ = new QLabel(bar);
    written_->setObjectName("lblWritten");
    written_->setTextFormat(Qt::PlainText);
    written_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(written_, 1);
    layout->addWidget(exportFindings);
    connect(exportFindings, &QPushButton::clicked, this, &ChecksWindow::exportFindings);
    return bar;
}

void ChecksWindow::setFilter(checks::Severity minimum, std::optional<std::size_t> check) {
    severityChooser_->setCurrentIndex(severityChooser_->findData(static_cast<int>(minimum)));
    checkChooser_->setCurrentIndex(
        std::max(0, checkChooser_->findData(check ? static_cast<int>(*check) : kAllChecks)));
}

void ChecksWindow::applyFilter() {
    FindingsFilter filter;
    filter.minimum = static_cast<checks::Severity>(severityChooser_->currentData().toInt());
    if (const int check = checkChooser_->currentData().toInt(); check != kAllChecks) {
        filter.check = static_cast<std::size_t>(check);
    }
    model_->setFilter(filter);
    shown_->setText(tr("%1 of %2 findings")
                        .arg(model_->rowCount())
                        .arg(static_cast<qulonglong>(model_->findingCount())));
}

void ChecksWindow::requestElement(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const checks::Finding& finding = model_->findingAt(index.row());
    if (finding.row == checks::kTableRow) {
        return;  // a row of the cabinet table: no element to show
    }
    emit elementRequested(pathText(checked_.table->fileOf(finding.row).path),
                          static_cast<qsizetype>(checked_.table->record(finding.row).line) - 1);
}

void ChecksWindow::copySelectedRows() {
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

void ChecksWindow::exportFindings() {
    constexpr std::string_view procedure = "cmdExportFindings_Click";
    // Named as the scan names its files, in English whatever the language.
    const std::optional<ExportTarget> target = chooseExportTarget(
        this, context_, kModule, procedure,
        QStringLiteral("Checks_") + QFileInfo(source_).completeBaseName(), tr("Export Findings"));
    if (!target) {
        return;
    }
    const std::vector<checks::Finding> shown = model_->shownFindings();
    runStep(context_.boxes, kModule, procedure, [&] {
        const bool written =
            target->workbook
                ? checks::writeFindingsWorkbook(shown, input_, target->path, context_.boxes,
                                                toTimeT(context_.clock.now()))
                : checks::writeFindingsCsv(shown, input_, target->path, context_.boxes);
        written_->setText(exportOutcomeText(written, target->path));
    });
}

}  // namespace qor::gui
