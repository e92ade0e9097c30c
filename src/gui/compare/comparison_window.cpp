#include "gui/compare/comparison_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/output/result_folder.h"
#include "core/platform/file_system.h"
#include "core/platform/folder_handle.h"
#include "core/platform/user_environment.h"
#include "gui/base/export_text_encoding.h"
#include "gui/base/widget_helpers.h"
#include "gui/compare/changes_table_model.h"
#include "gui/compare/comparison_summary.h"

namespace qor::gui {
namespace {

constexpr std::string_view kModule = "frmChanges";
constexpr int kAllTypes = -2;
constexpr int kNodeType = -1;

QString fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

QString exportLine(const std::string& path, const scan::NodeInfo& node,
                   const ExportEncoding& encoding) {
    return ComparisonWindow::tr("%1   Node %2, %3, generated %4")
        .arg(shownPath(path), exportText(node.nodeNumber, encoding),
             exportText(node.nodeDescription, encoding), exportText(node.generationDate, encoding));
}

}  // namespace

ComparisonWindow::ComparisonWindow(AppContext& context,
                                   std::unique_ptr<const compare::Comparison> comparison,
                                   compare::ChangesPageHeading heading, QWidget* parent)
    : QWidget(parent),
      context_(context),
      comparison_(std::move(comparison)),
      heading_(std::move(heading)),
      model_(new ChangesTableModel(
          comparison_->changes,
          [this](const std::string& description) {
              // Told after the paint or sort that met it, not inside it.
              QTimer::singleShot(0, this, [this, description] {
                  reportStandardError(context_.boxes, kModule, "tblChanges_Read", description);
              });
          },
          this, comparison_->oldEncoding, comparison_->newEncoding)),
      table_(new QTableView(this)) {
    setObjectName("frmChanges");
    table_->setObjectName("tblChanges");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Rows of one height need no measuring: a hundred thousand of them scroll at once.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
    // A long value (an element's other line) would push the columns after it out of sight.
    const int widest = fontMetrics().averageCharWidth() * 30;
    for (int column = 0; column < ChangesTableModel::kColumnCount; ++column) {
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), widest));
    }
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(newFilterBar());
    rightLayout->addWidget(table_, 1);
    if (!comparison_->differs()) {
        // An empty table with "0 of 0 changes" leaves the reader to guess whether anything was
        // compared at all.
        auto* identical = new QLabel(tr("The two exports are identical"), right);
        identical->setObjectName("lblIdentical");
        identical->setAlignment(Qt::AlignCenter);
        rightLayout->insertWidget(0, identical, 1);
        rightLayout->itemAt(1)->widget()->hide();  // the filter bar
        table_->hide();
    }
    rightLayout->addWidget(newButtonBar());

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    QTableWidget* summary = newComparisonSummary(*comparison_, left);
    leftLayout->addWidget(summary);
    leftLayout->addStretch();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newHeading());
    layout->addWidget(splitter, 1);
    applyFilter();
    connect(table_, &QTableView::doubleClicked, this, &ComparisonWindow::requestElement);
    connect(summary, &QTableWidget::cellClicked, this, [this](int row, int) {
        const scan::ElementType type = scan::statusOrder()[static_cast<std::size_t>(row)];
        typeFilter_->setCurrentIndex(typeFilter_->findData(static_cast<int>(scan::indexOf(type))));
    });
}

ComparisonWindow::~ComparisonWindow() = default;

QString ComparisonWindow::caption() const {
    return tr("Changes: %1 → %2").arg(fileName(heading_.oldPath), fileName(heading_.newPath));
}

QWidget* ComparisonWindow::newHeading() {
    auto* heading = new QWidget(this);
    auto* layout = new QGridLayout(heading);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& [title, text] :
         {std::pair{tr("Older:"),
                    exportLine(heading_.oldPath, comparison_->oldNode, comparison_->oldEncoding)},
          std::pair{tr("Newer:"), exportLine(heading_.newPath, comparison_->newNode,
                                             comparison_->newEncoding)}}) {
        auto* value = new QLabel(text, heading);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(new QLabel(title, heading), row, 0);
        layout->addWidget(value, row++, 1);
    }
    return heading;
}

QWidget* ComparisonWindow::newFilterBar() {
    auto* bar = new QWidget(this);
    typeFilter_ = new QComboBox(bar);
    typeFilter_->setObjectName("cboType");
    typeFilter_->addItem(tr("All types"), kAllTypes);
    typeFilter_->addItem(QString::fromLatin1(compare::kNodeTypeName.data()), kNodeType);
    for (const scan::ElementType type : scan::statusOrder()) {
        const std::string_view name = scan::elementType(type).name;
        typeFilter_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                             static_cast<int>(scan::indexOf(type)));
    }
    kindFilter_ = new QComboBox(bar);
    kindFilter_->setObjectName("cboKind");
    kindFilter_->addItem(tr("All changes"), -1);
    for (const compare::ChangeKind kind :
         {compare::ChangeKind::Added, compare::ChangeKind::Removed, compare::ChangeKind::Changed}) {
        kindFilter_->addItem(ChangesTableModel::kindName(kind), static_cast<int>(kind));
    }
    textFilter_ = new QLineEdit(bar);
    textFilter_->setObjectName("txtSearch");
    textFilter_->setPlaceholderText(tr("Search designations, parameters and values"));
    textFilter_->setClearButtonEnabled(true);
    textFilter_->setMinimumWidth(fontMetrics().averageCharWidth() * 16);
    shown_ = new QLabel(bar);
    shown_->setObjectName("lblShown");

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(typeFilter_);
    layout->addWidget(kindFilter_);
    layout->addWidget(textFilter_, 1);
    layout->addWidget(shown_);
    connect(typeFilter_, &QComboBox::currentIndexChanged, this, &ComparisonWindow::applyFilter);
    connect(kindFilter_, &QComboBox::currentIndexChanged, this, &ComparisonWindow::applyFilter);
    connect(textFilter_, &QLineEdit::textChanged, this, &ComparisonWindow::applyFilter);
    return bar;
}

QWidget* ComparisonWindow::newButtonBar() {
    auto* bar = new QWidget(this);
    auto* save = new QPushButton(tr("Save as &CSV"), bar);
    save->setObjectName("cmdSaveCsv");
    auto* report = new QPushButton(tr("Open HTML &Report"), bar);
    report->setObjectName("cmdOpenReport");
    written_ = new QLabel(bar);
    written_->setObjectName("lblWritten");
    written_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(written_, 1);
    layout->addWidget(save);
    layout->addWidget(report);
    connect(save, &QPushButton::clicked, this, &ComparisonWindow::saveCsv);
    connect(report, &QPushButton::clicked, this, &ComparisonWindow::openHtmlReport);
    return bar;
}

void ComparisonWindow::applyFilter() {
    ChangeFilter filter;
    const int type = typeFilter_->currentData().toInt();
    filter.allTypes = type == kAllTypes;
    if (type >= 0) {
        filter.type = scan::elementTypes()[static_cast<std::size_t>(type)].type;
    }
    if (const int kind = kindFilter_->currentData().toInt(); kind >= 0) {
        filter.kind = static_cast<compare::ChangeKind>(kind);
    }
    filter.text = textFilter_->text();
    model_->setFilter(std::move(filter));
    shown_->setText(tr("%1 of %2 changes")
                        .arg(model_->rowCount())
                        .arg(static_cast<qulonglong>(comparison_->changes.size())));
}

void ComparisonWindow::requestElement(const QModelIndex& index) {
    std::string path;
    QByteArray designation;
    runStep(context_.boxes, kModule, "tblChanges_DblClick", [&] {
        const compare::ChangeView change = model_->changeIn(index.row());
        path = change.kind == compare::ChangeKind::Removed ? heading_.oldPath : heading_.newPath;
        if (change.type) {
            designation = QByteArray(change.designation.data(),
                                     static_cast<qsizetype>(change.designation.size()));
        }
    });
    if (!path.empty()) {
        emit elementRequested(QString::fromStdString(path), designation);
    }
}

void ComparisonWindow::saveCsv() {
    constexpr std::string_view procedure = "cmdSaveCsv_Click";
    const std::string& resultFolder = context_.session.options.scanResultFolderPath;
    const std::string& node = comparison_->newNode.nodeNumber;
    const std::string dateStamp = formatDateStamp(context_.clock.now(), context_.session.months);
    std::string offered;
    runStep(context_.boxes, kModule, procedure, [&] {
        platform::createMissingDocumentsFolder(resultFolder);
        // Today's Changes folder, where the file went before anyone was asked, so that Enter
        // keeps doing what it did.
        const platform::FolderHandle changes =
            platform::FolderHandle::open(resultFolder)
                .subfolder(output::nodeFolderName(node, dateStamp), true)
                .subfolder("Changes", true);
        offered = changes.pathOf(compare::ChangesFolder::csvName(node, dateStamp));
    });
    if (offered.empty()) {
        return;
    }
    const std::string chosen =
        context_.desktop.chooseFileToSave(this, {{toStdString(tr("CSV Files (*.csv)")), "*.csv"}},
                                          toStdString(tr("Save Changes as CSV")), offered, "csv");
    if (chosen.empty()) {
        return;
    }
    if (chosen == offered) {
        write({.csv = true, .html = false}, procedure);
        return;
    }
    runStep(context_.boxes, kModule, procedure, [&] {
        const bool written = compare::writeChangesCsvAt(*comparison_, chosen, context_.boxes);
        written_->setText(
            (written ? tr("Written: %1") : tr("Kept: %1")).arg(QString::fromStdString(chosen)));
    });
}

void ComparisonWindow::openHtmlReport() {
    const std::string page = write({.csv = false, .html = true}, "cmdOpenReport_Click");
    if (!page.empty() && !context_.desktop.openWithApplication(page)) {
        context_.boxes.inform(
            Message{std::string(kApplicationTitle), notOpenedText(page), MessageIcon::Exclamation});
    }
}

std::string ComparisonWindow::write(compare::ChangesFiles files, std::string_view procedure) {
    std::string path;
    runStep(context_.boxes, kModule, procedure, [&] {
        const std::string& resultFolder = context_.session.options.scanResultFolderPath;
        platform::createMissingDocumentsFolder(resultFolder);
        const DateTime now = context_.clock.now();
        compare::ChangesFolder folder(resultFolder, comparison_->newNode.nodeNumber,
                                      formatDateStamp(now, context_.session.months), context_.boxes,
                                      files);
        folder.write(*comparison_, heading_);
        path = files.csv ? folder.csvPath() : folder.htmlPath();
        const bool written = files.csv ? folder.writesCsv() : folder.writesHtml();
        written_->setText((written ? tr("Written: %1") : tr("Kept: %1")).arg(shownPath(path)));
    });
    return path;
}

}  // namespace qor::gui
