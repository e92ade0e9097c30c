#include "gui/options/general_tab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/output/xlsx_workbook.h"
#include "gui/base/widget_helpers.h"
#include "gui/options/folder_page.h"

namespace qor::gui {
namespace {

QPushButton* pageButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

GeneralTab::GeneralTab(options::SearchOptions& options, Desktop& desktop, QWidget* parent)
    : QWidget(parent), options_(options), pages_(new QStackedWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);

    // Page 1: the output choice.
    auto* first = new QWidget(pages_);
    auto* firstLayout = new QVBoxLayout(first);
    firstLayout->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(tr("Save options for search result"), first);
    frame->setObjectName("fraSaveOptions");
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setSpacing(8);
    excelOption_ = new QRadioButton(tr("Save as Excel files only"), frame);
    excelOption_->setObjectName("optSaveToExcelOnly");
    csvOption_ = new QRadioButton(tr("Save as CSV files only"), frame);
    csvOption_->setObjectName("optSaveToCSVOnly");
    htmlOption_ = new QRadioButton(tr("Save as HTML report"), frame);
    htmlOption_->setObjectName("optSaveToHTMLReport");
    oneWorkbook_ = new QCheckBox(tr("Save all in one Excel file (sheets)"), frame);
    oneWorkbook_->setObjectName("chkSaveToOneExcelFile");
    auto* group = new QButtonGroup(this);
    for (QRadioButton* option : {excelOption_, csvOption_, htmlOption_}) {
        group->addButton(option);
    }
    frameLayout->addWidget(excelOption_);
    auto* indented = new QHBoxLayout;
    indented->addSpacing(22);
    indented->addWidget(oneWorkbook_);
    frameLayout->addLayout(indented);
    frameLayout->addWidget(csvOption_);
    frameLayout->addWidget(htmlOption_);
    frameLayout->addSpacing(8);
    auto* versionRow = new QHBoxLayout;
    auto* versionCaption = new QLabel(tr("Workbooks written with:"), frame);
    versionCaption->setObjectName("lblExcelVersionCaption");
    // The workbook writer is built in: its version says which one wrote the workbooks.
    version_ = new QLabel(toQString(output::xlsxWriterVersion()), frame);
    version_->setObjectName("lblExcelVersion");
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(version_, 1);
    frameLayout->addLayout(versionRow);
    firstLayout->addWidget(frame);
    auto* encodingRow = new QHBoxLayout;
    encoding_ = new QComboBox(first);
    encoding_->setObjectName("cboTextEncoding");
    encoding_->addItem(tr("Automatic"));
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1250,
                                        TextEncoding::Windows1252, TextEncoding::Latin1}) {
        encoding_->addItem(toQString(encodingName(encoding)), static_cast<int>(encoding));
    }
    auto* encodingCaption = new QLabel(tr("&Text encoding of exports:"), first);
    encodingCaption->setBuddy(encoding_);
    encodingCaption->setToolTip(
        tr("Automatic reads an export as UTF-8 when it is valid UTF-8, otherwise as "
           "Windows-1250."));
    encodingRow->addWidget(encodingCaption);
    encodingRow->addWidget(encoding_, 1);
    firstLayout->addLayout(encodingRow);
    auto* switches = new QHBoxLayout;
    for (const bool enabled : {true, false}) {
        auto* button =
            new QPushButton(enabled ? tr("E&nable All Types") : tr("&Disable All Types"), first);
        button->setObjectName(enabled ? "cmdEnableAllTypes" : "cmdDisableAllTypes");
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, enabled] {
            for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
                scan::TypeOptions& type = options_.of(info.type);
                type.enabled = enabled;
                type.parameters[0] = type.parameters[0] || enabled;  // NAME comes with a search
            }
            emit typesSwitched();
        });
        switches->addWidget(button);
    }
    switches->addStretch(1);
    // Beside the switches, not on a line of its own: the page stays low enough for a screen
    // made small by a large scale.
    auto* forward = pageButton(QStringLiteral("&>"), "cmdNextPage", first);
    switches->addWidget(forward);
    firstLayout->addLayout(switches);
    // The scan of everything there is, in one click instead of one "Select All" per tab.
    auto* everything = new QPushButton(tr("Select &Every Parameter of Every Type"), first);
    everything->setObjectName("cmdSelectEveryParameter");
    everything->setToolTip(tr("Enables every type and ticks all of its parameters"));
    everything->setAutoDefault(false);
    connect(everything, &QPushButton::clicked, this, [this] {
        for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
            scan::TypeOptions& type = options_.of(info.type);
            type.enabled = true;
            std::fill_n(type.parameters.begin(), info.parameters.size(), true);
        }
        emit typesSwitched();
    });
    auto* everythingRow = new QHBoxLayout;
    everythingRow->addWidget(everything);
    everythingRow->addStretch(1);
    firstLayout->addLayout(everythingRow);
    firstLayout->addStretch(1);
    pages_->addWidget(first);

    // Page 2: the result folder.
    auto* second = new QWidget(pages_);
    auto* secondLayout = new QVBoxLayout(second);
    secondLayout->setContentsMargins(0, 0, 0, 0);
    folder_ = new FolderPage(options, desktop, second);
    secondLayout->addWidget(folder_, 1);
    auto* back = pageButton(QStringLiteral("&<"), "cmdPreviousPage", second);
    secondLayout->addWidget(back, 0, Qt::AlignLeft);
    pages_->addWidget(second);

    connect(forward, &QPushButton::clicked, this, [this] { pages_->setCurrentIndex(1); });
    connect(back, &QPushButton::clicked, this, [this] { pages_->setCurrentIndex(0); });
    connect(excelOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            outputChosen(options::OutputMode::ExcelFilesOnly);
        }
    });
    connect(csvOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            outputChosen(options::OutputMode::CsvFilesOnly);
        }
    });
    connect(htmlOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            outputChosen(options::OutputMode::HtmlReport);
        }
    });
    connect(oneWorkbook_, &QCheckBox::clicked, this,
            [this](bool checked) { options_.oneExcelWorkbook = checked; });
    connect(encoding_, &QComboBox::activated, this, [this](int index) {
        const QVariant chosen = encoding_->itemData(index);
        options_.textEncoding = chosen.isValid()
                                    ? EncodingChoice(static_cast<TextEncoding>(chosen.toInt()))
                                    : EncodingChoice();
    });

    showRecord();
}

int GeneralTab::currentPage() const {
    return pages_->currentIndex() + 1;
}

void GeneralTab::showRecord() {
    const QSignalBlocker blockExcel(excelOption_);
    const QSignalBlocker blockCsv(csvOption_);
    const QSignalBlocker blockHtml(htmlOption_);
    auto* group = excelOption_->group();
    // An exclusive group cannot show "none selected"; a record with no output mode can.
    group->setExclusive(false);
    excelOption_->setChecked(options_.outputMode == options::OutputMode::ExcelFilesOnly);
    csvOption_->setChecked(options_.outputMode == options::OutputMode::CsvFilesOnly);
    htmlOption_->setChecked(options_.outputMode == options::OutputMode::HtmlReport);
    group->setExclusive(true);
    showOneWorkbookState();
    encoding_->setCurrentIndex(
        options_.textEncoding ? encoding_->findData(static_cast<int>(*options_.textEncoding)) : 0);
    folder_->showRecord();
}

void GeneralTab::showOneWorkbookState() {
    const bool locked = options_.outputMode == options::OutputMode::CsvFilesOnly ||
                        options_.outputMode == options::OutputMode::HtmlReport;
    oneWorkbook_->setEnabled(!locked);
    oneWorkbook_->setChecked(options_.oneExcelWorkbook);
}

void GeneralTab::outputChosen(options::OutputMode mode) {
    // The one-workbook box keeps its state for when workbooks are chosen again; only with them
    // does it count (SearchOptions::writesOneWorkbook).
    options_.outputMode = mode;
    showOneWorkbookState();
}

}  // namespace qor::gui
