#include "gui/options/cabinet_import_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

using options::ImportVerdict;

bool hasVerdict(const options::CabinetImport& import, ImportVerdict verdict) {
    return std::any_of(
        import.lines.begin(), import.lines.end(),
        [verdict](const options::ImportLine& line) { return line.verdict == verdict; });
}

// A line's text on one row of the table: its line ends and tabs shown as spaces.
QString oneLine(const std::string& text) {
    QString shown = toQString(text);
    for (QChar& c : shown) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            c = QLatin1Char(' ');
        }
    }
    return shown;
}

}  // namespace

CabinetImportModel::CabinetImportModel(const options::CabinetImport& import, QObject* parent)
    : QAbstractTableModel(parent), import_(import) {}

void CabinetImportModel::setChoices(const options::ImportChoices& choices) {
    choices_ = choices;
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
}

bool CabinetImportModel::taken(int row) const {
    return options::takes(import_.lines[static_cast<std::size_t>(row)], choices_);
}

QString CabinetImportModel::note(int row) const {
    const options::ImportLine& line = import_.lines[static_cast<std::size_t>(row)];
    if (line.verdict == ImportVerdict::Heading && !choices_.skipHeading) {
        return tr("taken as a row");
    }
    if (line.verdict == ImportVerdict::Semicolons && choices_.takeSemicolonPairs) {
        return tr("taken as a pair separated by ';'");
    }
    return toQString(options::verdictText(line));
}

int CabinetImportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(import_.lines.size());
}

int CabinetImportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CabinetImportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const options::ImportLine& line = import_.lines[static_cast<std::size_t>(index.row())];
    const bool isTaken = taken(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
            case LineColumn:
                return static_cast<qulonglong>(line.line);
            case TextColumn:
                return role == Qt::ToolTipRole ? toQString(line.text) : oneLine(line.text);
            case CabinetColumn:
                return isTaken ? oneLine(line.row.cabinet) : QString();
            case ModuleColumn:
                return isTaken ? oneLine(line.row.module) : QString();
            case NoteColumn:
                return note(index.row());
            default:
                return {};
        }
    }
    if (role == Qt::ForegroundRole) {
        // What is left out is greyed; a second cabinet for a module stands out.
        const QPalette palette;
        if (!isTaken) {
            return palette.color(QPalette::Disabled, QPalette::Text);
        }
        if (line.verdict == ImportVerdict::Conflict) {
            return disabledColor(palette);
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == LineColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant CabinetImportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case LineColumn:
            return tr("Line");
        case TextColumn:
            return tr("Text in the file");
        case CabinetColumn:
            return tr("Cabinet Name");
        case ModuleColumn:
            return tr("Module Skeleton Name");
        case NoteColumn:
            return tr("Note");
        default:
            return {};
    }
}

CabinetImportDialog::CabinetImportDialog(const options::CabinetFile& file, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      file_(file),
      model_(new CabinetImportModel(file.import, this)),
      view_(new QTableView(this)),
      summary_(new QLabel(this)) {
    setObjectName("frmImportPreview");
    setWindowTitle(tr("Import Preview"));
    summary_->setObjectName("lblImportSummary");
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);

    view_->setObjectName("tblImportLines");
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->resizeColumnsToContents();
    // The notes say the most: the other columns keep to a reading width, the notes take the rest.
    const int character = fontMetrics().averageCharWidth();
    for (const int column :
         {int(CabinetImportModel::TextColumn), int(CabinetImportModel::CabinetColumn),
          int(CabinetImportModel::ModuleColumn)}) {
        view_->setColumnWidth(column, std::min(view_->columnWidth(column), character * 24));
    }
    // Room for the notes and a dozen lines, as far as the screen has it (a large scale).
    const QSize room = screenRoom(*this);
    view_->setMinimumSize(std::min(character * 150, room.width() - 40),
                          std::min((fontMetrics().height() + 6) * 14, room.height() / 2));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(view_, 1);
    // Boxes only for what the file holds.
    if (hasVerdict(file.import, ImportVerdict::Heading)) {
        skipHeading_ = new QCheckBox(tr("Skip the first line: it names the columns"), this);
        skipHeading_->setObjectName("chkSkipHeading");
        skipHeading_->setChecked(model_->choices().skipHeading);
        connect(skipHeading_, &QCheckBox::toggled, this, &CabinetImportDialog::choose);
        layout->addWidget(skipHeading_);
    }
    if (hasVerdict(file.import, ImportVerdict::Semicolons)) {
        semicolonPairs_ = new QCheckBox(tr("Take lines separated by ';' as pairs"), this);
        semicolonPairs_->setObjectName("chkSemicolonPairs");
        semicolonPairs_->setChecked(model_->choices().takeSemicolonPairs);
        connect(semicolonPairs_, &QCheckBox::toggled, this, &CabinetImportDialog::choose);
        layout->addWidget(semicolonPairs_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    showSummary();
}

std::vector<scan::CabinetRow> CabinetImportDialog::rows() const {
    return file_.import.rows(model_->choices());
}

void CabinetImportDialog::choose() {
    options::ImportChoices choices = model_->choices();
    if (skipHeading_ != nullptr) {
        choices.skipHeading = skipHeading_->isChecked();
    }
    if (semicolonPairs_ != nullptr) {
        choices.takeSemicolonPairs = semicolonPairs_->isChecked();
    }
    model_->setChoices(choices);
    showSummary();
}

void CabinetImportDialog::showSummary() {
    int left = 0;
    for (int row = 0; row < model_->rowCount(); ++row) {
        left += model_->taken(row) ? 0 : 1;
    }
    const int taken = static_cast<int>(rows().size());
    QString text = tr("Rows from %1 that will replace the table: %2.")
                       .arg(toQString(file_.fileName))
                       .arg(taken);
    if (left > 0) {
        text += QLatin1Char(' ') + tr("Lines that give no row: %1 (see the notes).").arg(left);
    }
    summary_->setText(text);
}

}  // namespace qor::gui
