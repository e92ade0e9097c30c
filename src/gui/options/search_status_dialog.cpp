#include "gui/options/search_status_dialog.h"

#include <algorithm>

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/options/search_options.h"
#include "core/scan/column_data.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

// A status label that reacts to a click of the left button released over it.
class StatusCell : public QLabel {
    Q_OBJECT

public:
    explicit StatusCell(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

    std::function<void()> clicked;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            clicked) {
            clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

bool isDatType(scan::ElementType type) {
    return type == scan::ElementType::DATB || type == scan::ElementType::DATI ||
           type == scan::ElementType::DATIL || type == scan::ElementType::DATR;
}

QLabel* headerLabel(const QString& caption, const QString& name, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

SearchStatusDialog::SearchStatusDialog(output::Session& session, UserInterface& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      session_(session),
      ui_(ui),
      home_(parent) {
    setObjectName("frmSearchStatus");
    setWindowTitle(tr("Search Status"));

    auto* explanation = new QLabel(
        tr("Current search status for database element selected in 'Search Options' dialog "
           "window. In order to change this settings click 'Change Settings' button, otherwise "
           "click 'Scan Now'. To dismiss this dialog uncheck 'Show Search Status dialog' check "
           "box in 'Search Options' window."),
        this);
    explanation->setObjectName("lblExplanation");
    explanation->setWordWrap(true);

    QFrame* table = buildTable();
    table_ = table;
    tableScroll_ = new QScrollArea(this);
    tableScroll_->setObjectName("scrStatus");
    tableScroll_->setFrameShape(QFrame::NoFrame);
    tableScroll_->setWidgetResizable(true);
    tableScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableScroll_->setWidget(table);
    // The texts wrap to the width of the table, or to a comfortable reading width.
    const int textWidth =
        std::max(table->sizeHint().width(), fontMetrics().averageCharWidth() * 58);
    explanation_ = explanation;
    textWidth_ = textWidth;
    hint_ = buildHint();
    QHBoxLayout* buttons = buildButtons();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(explanation);
    layout->addWidget(tableScroll_);
    output_ = new QLabel(this);
    output_->setObjectName("lblOutput");
    output_->setTextFormat(Qt::PlainText);
    output_->setWordWrap(true);
    layout->addWidget(output_);
    layout->addWidget(hint_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepCaptionWhole(*this, *layout);

    prepare(mode_);
    fitToScreen();
}

void SearchStatusDialog::fitToScreen() {
    const QMargins margins = layout()->contentsMargins();
    const int textWidth =
        std::min(textWidth_, screenRoom(*this).width() - margins.left() - margins.right());
    explanation_->setFixedWidth(textWidth);
    output_->setFixedWidth(textWidth);
    hintText_->setFixedWidth(textWidth - hintIndent_);
    fitScrolledContent(*this, *tableScroll_, *table_, textWidth);
}

void SearchStatusDialog::showEvent(QShowEvent* event) {
    fitToScreen();
    QDialog::showEvent(event);
}

// The fifteen rows of names and statuses, under their headers.
QFrame* SearchStatusDialog::buildTable() {
    auto* table = new QFrame(this);
    table->setObjectName("fraStatus");
    table->setFrameShape(QFrame::StyledPanel);
    table->setFrameShadow(QFrame::Sunken);
    table->setBackgroundRole(QPalette::Base);
    table->setAutoFillBackground(true);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(3);
    grid->addWidget(headerLabel(tr("DataBase Element:"), "lblElementHeader", table), 0, 0);
    grid->addWidget(headerLabel(tr("Current Status:"), "lblStatusHeader", table), 0, 1);
    auto* rule = new QFrame(table);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 1, 0, 1, 2);

    // Wide enough for the header and for either status, whichever is the widest.
    int statusWidth = 0;
    for (const QString& caption : {tr("Current Status:"), tr("Enabled"), tr("Disabled")}) {
        statusWidth = std::max(statusWidth, fontMetrics().horizontalAdvance(caption) + 8);
    }
    for (int row = 1; row <= kRowCount; ++row) {
        const scan::ElementTypeInfo& info = scan::elementType(typeOfRow(row));
        auto* name = new QLabel(toQString(scan::shownStatisticsName(info)), table);
        name->setObjectName(QString("lblElement_%1").arg(row));
        auto* cell = new StatusCell(table);
        cell->setObjectName(QString("lblStatus_%1").arg(row));
        cell->setMinimumWidth(statusWidth);
        cell->clicked = [this, row] { toggleStatus(row); };
        statusCells_[static_cast<std::size_t>(row - 1)] = cell;
        grid->addWidget(name, row + 1, 0);
        grid->addWidget(cell, row + 1, 1);
    }
    grid->setColumnStretch(1, 1);
    return table;
}

// What to do when nothing is enabled, right above the button that does it.
QWidget* SearchStatusDialog::buildHint() {
    auto* hint = new QWidget(this);
    hint->setObjectName("fraNothingEnabled");
    auto* icon = new QLabel(hint);
    const int extent = style()->pixelMetric(QStyle::PM_ToolBarIconSize);
    icon->setPixmap(QIcon::fromTheme("dialog-information",
                                     style()->standardIcon(QStyle::SP_MessageBoxInformation))
                        .pixmap(QSize(extent, extent), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(tr("Current search status for every DataBase element is Disabled. "
                               "Click 'Change Settings' to enable any DataBase element / "
                               "parameters on property tabs."),
                            hint);
    text->setObjectName("lblNothingEnabled");
    text->setWordWrap(true);
    auto* line = new QHBoxLayout(hint);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(icon, 0, Qt::AlignTop);
    line->addWidget(text, 1);
    hintText_ = text;
    hintIndent_ = extent + line->spacing();
    hint->hide();
    return hint;
}

// "Cancel", "Change Settings" and "Scan Now", from left to right.
QHBoxLayout* SearchStatusDialog::buildButtons() {
    cmdCancel_ = new QPushButton(tr("&Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdChangeSettings_ = new QPushButton(tr("C&hange Settings"), this);
    cmdChangeSettings_->setObjectName("cmdChangeSettings");
    cmdScanNow_ = new QPushButton(tr("&Scan Now"), this);
    cmdScanNow_->setObjectName("cmdScanNow");
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cancel(); });
    connect(cmdChangeSettings_, &QPushButton::clicked, this, [this] { changeSettings(); });
    connect(cmdScanNow_, &QPushButton::clicked, this, [this] { scanNow(); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(cmdChangeSettings_);
    buttons->addWidget(cmdScanNow_);
    return buttons;
}

scan::ElementType SearchStatusDialog::typeOfRow(int row) {
    return scan::statusOrder()[static_cast<std::size_t>(row - 1)];
}

void SearchStatusDialog::prepare(SearchStatusMode mode, QWidget* owner) {
    mode_ = mode;
    const bool preview = mode == SearchStatusMode::PreviewFromOptions ||
                         mode == SearchStatusMode::PreviewFromMainWindow;
    cmdCancel_->setText(preview ? tr("&OK") : tr("&Cancel"));
    cmdChangeSettings_->setEnabled(!preview);
    offerScan();
    for (int row = 1; row <= kRowCount; ++row) {
        showScanStatus(row);
    }
    output_->setText(outputText());
    QWidget* target = owner != nullptr ? owner : home_.data();
    if (parentWidget() != target) {
        setParent(target, windowFlags());
    }
    setResult(QDialog::Rejected);
}

QString SearchStatusDialog::outputText() const {
    const options::SearchOptions& record = session_.options;
    QString format;
    switch (record.outputMode) {
        case options::OutputMode::ExcelFilesOnly:
            format = record.writesOneWorkbook() ? tr("one Excel file (sheets)") : tr("Excel files");
            break;
        case options::OutputMode::CsvFilesOnly:
            format = tr("CSV files");
            break;
        case options::OutputMode::HtmlReport:
            format = tr("HTML report");
            break;
        case options::OutputMode::None:
            format = tr("none");
            break;
    }
    return tr("Output: %1, into %2")
        .arg(format, QString::fromStdString(record.scanResultFolderPath));
}

// The cell says what the coming scan reads, in the words of the one rule the scan follows.
void SearchStatusDialog::showScanStatus(int row) {
    const bool scanned = session_.options.scans(typeOfRow(row));
    showStatus(row, scanned ? tr("Enabled") : tr("Disabled"), scanned);
}

void SearchStatusDialog::showStatus(int row, const QString& caption, bool blue) {
    QLabel* cell = statusCells_[static_cast<std::size_t>(row - 1)];
    cell->setText(caption);
    QPalette palette = cell->palette();
    palette.setColor(cell->foregroundRole(), blue ? enabledColor(palette) : disabledColor(palette));
    cell->setPalette(palette);
}

void SearchStatusDialog::toggleStatus(int row) {
    const scan::ElementType type = typeOfRow(row);
    const scan::ElementTypeInfo& info = scan::elementType(type);
    scan::TypeOptions& typeOptions = session_.options.of(type);
    typeOptions.enabled = !typeOptions.enabled;
    if (isDatType(type)) {
        typeOptions.parameters[0] = typeOptions.enabled;  // NAME follows "Enable Search"
    }
    // The scan takes its columns from the column data, so a NAME switched on here must
    // reach them before "Scan Now".
    session_.columns[scan::indexOf(type)] = scan::buildColumnData(
        info, typeOptions, info.channel && session_.options.applyCabinetLabels);
    showStatus(row, typeOptions.enabled ? tr("Enabled") : tr("Disabled"), typeOptions.enabled);
    offerScan();
}

void SearchStatusDialog::offerScan() {
    // "Scan Now" is there exactly when the cells show something to scan; otherwise the scan
    // command points at "Change Settings".
    const bool fromScanCommand =
        mode_ == SearchStatusMode::FromScanCommand || mode_ == SearchStatusMode::NothingEnabled;
    const bool anyType = session_.options.scansAnyType();
    cmdScanNow_->setEnabled(fromScanCommand && anyType);
    hint_->setVisible(fromScanCommand && !anyType);
    // Enter presses the default button, wherever the focus is: "Scan Now" whenever a type is
    // enabled, else the button that enables one.
    QPushButton* defaultButton = cmdScanNow_->isEnabled()          ? cmdScanNow_
                                 : cmdChangeSettings_->isEnabled() ? cmdChangeSettings_
                                                                   : cmdCancel_;
    for (QPushButton* button : {cmdCancel_, cmdChangeSettings_, cmdScanNow_}) {
        button->setAutoDefault(false);
        button->setDefault(button == defaultButton);
    }
    defaultButton->setFocus();
}

void SearchStatusDialog::cancel() {
    leave(QDialog::Rejected);
}

void SearchStatusDialog::changeSettings() {
    leave(kChangeSettingsResult);
    // A copy: the owner may replace the callback, or this dialog, while it runs.
    const std::function<void()> showOptions = onChangeSettings;
    if (showOptions) {
        runStep(ui_, "frmSearchStatus", "cmdChangeSettings_Click", showOptions);
    }
}

void SearchStatusDialog::scanNow() {
    leave(QDialog::Accepted);
    const std::function<void()> scan = onScanNow;
    if (scan) {
        runStep(ui_, "frmSearchStatus", "cmdScanNow_Click", scan);
    }
}

void SearchStatusDialog::leave(int result) {
    done(result);
    if (parentWidget() != home_.data()) {
        setParent(home_.data(), windowFlags());
    }
}

void SearchStatusDialog::reject() {
    cancel();
}

}  // namespace qor::gui

#include "search_status_dialog.moc"
