#include "gui/scan/statistics_window.h"

#include <string_view>

#include <QColor>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A count as the total below shows it: grouped as the language groups digits. The statistics
// file keeps the plain digits.
QString shownCount(const std::string& count) {
    bool number = false;
    const qulonglong value = QString::fromStdString(count).toULongLong(&number);
    return number ? QLocale().toString(value) : qtext(count);
}

QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

StatisticsWindow::StatisticsWindow(const output::Session& session, const Clock& clock,
                                   UserInterface& ui, QWidget* parent)
    : QDialog(parent), session_(session), clock_(clock), ui_(ui) {
    setObjectName(QStringLiteral("frmStatistic"));
    setWindowTitle(tr("Search Results Statistics"));

    // The rows scroll when the screen is lower than the window (a large scale).
    counts_ = new QWidget(this);
    counts_->setObjectName(QStringLiteral("fraCounts"));
    auto* grid = new QGridLayout(counts_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(4);

    // Column heads, then a rule under them.
    QFont headFont = font();
    headFont.setBold(true);
    lblModuleNames_[0] =
        makeLabel(this, QStringLiteral("lblModuleNames_0"), tr("DataBase Element:"));
    lblModuleNames_[kRowCount + 1] = makeLabel(
        this, QStringLiteral("lblModuleNames_%1").arg(kRowCount + 1), tr("Found Elements:"));
    for (QLabel* head : {lblModuleNames_[0], lblModuleNames_[kRowCount + 1]}) {
        head->setFont(headFont);
    }
    grid->addWidget(lblModuleNames_[0], 0, 0);
    grid->addWidget(lblModuleNames_[kRowCount + 1], 0, 1);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 1, 0, 1, 2);

    // Rows 1..14: the type's caption and its count or "Search Disabled".
    const auto rows = statisticsRows(session_);
    for (int i = 0; i < kRowCount; ++i) {
        const output::StatisticsRow& row = rows[static_cast<std::size_t>(i)];
        QLabel* name = makeLabel(this, QStringLiteral("lblModuleNames_%1").arg(i + 1),
                                 qtext(scan::shownStatisticsName(scan::elementType(row.type))));
        QLabel* count = makeLabel(this, QStringLiteral("lblFoundElements_%1").arg(i),
                                  row.disabled ? tr("Search Disabled")
                                  : row.kept   ? tr("Kept")
                                               : shownCount(row.count));
        count->setToolTip(row.kept ? tr("The existing results were kept: this scan did not read "
                                        "the type.")
                                   : QString());
        searchDisabled_[static_cast<std::size_t>(i)] = row.disabled;
        kept_[static_cast<std::size_t>(i)] = row.kept;
        lblModuleNames_[static_cast<std::size_t>(i + 1)] = name;
        lblFoundElements_[static_cast<std::size_t>(i)] = count;
        grid->addWidget(name, i + 2, 0);
        grid->addWidget(count, i + 2, 1);
    }
    grid->setColumnStretch(1, 1);
    colourCounts();

    cmdSaveStatistic_ = new QPushButton(tr("&Save To File"), this);
    cmdSaveStatistic_->setObjectName(QStringLiteral("cmdSaveStatistic"));
    cmdSaveStatistic_->setAutoDefault(false);
    cmdClose_ = new QPushButton(tr("&Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setDefault(true);
    cmdOpenFolder_ = new QPushButton(tr("Open &Folder"), this);
    cmdOpenFolder_->setObjectName(QStringLiteral("cmdOpenFolder"));
    cmdOpenReport_ = new QPushButton(tr("Open &Report"), this);
    cmdOpenReport_->setObjectName(QStringLiteral("cmdOpenReport"));
    for (QPushButton* command : {cmdSaveStatistic_, cmdClose_, cmdOpenFolder_, cmdOpenReport_}) {
        command->setMinimumWidth(96);
        command->setAutoDefault(command == cmdClose_);
    }
    cmdOpenFolder_->hide();
    cmdOpenReport_->hide();
    connect(cmdSaveStatistic_, &QPushButton::clicked, this, &StatisticsWindow::saveToFile);
    connect(cmdClose_, &QPushButton::clicked, this, &StatisticsWindow::closeWindow);
    connect(cmdOpenFolder_, &QPushButton::clicked, this,
            [this] { openWithDesktop(session_.lastScan.resultFolder); });
    connect(cmdOpenReport_, &QPushButton::clicked, this, [this] {
        openWithDesktop(platform::joinPath(session_.lastScan.outputFolder, "preview.html"));
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOpenFolder_);
    buttons->addWidget(cmdOpenReport_);
    buttons->addStretch(1);
    buttons->addWidget(cmdSaveStatistic_);
    buttons->addWidget(cmdClose_);

    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblSummary"));
    lblSummary_->setTextFormat(Qt::RichText);
    lblSummary_->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                         Qt::LinksAccessibleByKeyboard);
    lblSummary_->hide();
    connect(lblSummary_, &QLabel::linkActivated, this,
            [this] { openWithDesktop(session_.lastScan.resultFolder); });

    countsScroll_ = new QScrollArea(this);
    countsScroll_->setObjectName(QStringLiteral("scrCounts"));
    countsScroll_->setFrameShape(QFrame::NoFrame);
    countsScroll_->setWidgetResizable(true);
    countsScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    countsScroll_->setWidget(counts_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(countsScroll_);
    layout->addSpacing(12);
    layout->addWidget(lblSummary_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepCaptionWhole(*this, *layout);
    fitScrolledContent(*this, *countsScroll_, *counts_, QWIDGETSIZE_MAX);
}

void StatisticsWindow::showEvent(QShowEvent* event) {
    fitScrolledContent(*this, *countsScroll_, *counts_, QWIDGETSIZE_MAX);
    QDialog::showEvent(event);
}

void StatisticsWindow::colourCounts() {
    for (std::size_t i = 0; i < lblFoundElements_.size(); ++i) {
        if (searchDisabled_[i] || kept_[i] || cancelled_) {
            setCaptionColor(*lblFoundElements_[i], disabledColor(lblFoundElements_[i]->palette()));
        }
    }
}

void StatisticsWindow::offerResults(Desktop& desktop, bool cancelled) {
    desktop_ = &desktop;
    // A stopped scan removes the folders it made: nothing to open then.
    cmdOpenFolder_->setVisible(platform::pathExists(session_.lastScan.resultFolder));
    const bool report =
        !cancelled && session_.options.outputMode == options::OutputMode::HtmlReport &&
        platform::pathExists(platform::joinPath(session_.lastScan.outputFolder, "preview.html"));
    cmdOpenReport_->setVisible(report);
    lblSummary_->setText(summaryText(cancelled));
    lblSummary_->show();
    if (cancelled) {
        cancelled_ = true;
        for (std::size_t i = 0; i < lblFoundElements_.size(); ++i) {
            if (!searchDisabled_[i] && !kept_[i]) {
                lblFoundElements_[i]->setText(tr("Cancelled"));
            }
        }
        colourCounts();
        cmdSaveStatistic_->setEnabled(false);  // nothing was written to count
    }
}

QString StatisticsWindow::summaryText(bool cancelled) const {
    const output::ScanReport& scan = session_.lastScan;
    const QString folder = shownPath(scan.resultFolder);
    // A cancelled first scan removed the folder it made: then there is nothing to open.
    const bool there = platform::pathExists(scan.resultFolder);
    QStringList lines{
        tr("Result folder: %1")
            .arg(there ? QStringLiteral("<a href=\"folder\">%1</a>").arg(folder.toHtmlEscaped())
                       : folder.toHtmlEscaped())};
    if (!cancelled) {
        long long total = 0;
        for (const output::StatisticsRow& row : statisticsRows(session_)) {
            total += row.disabled || row.kept ? 0 : scan.writtenOf(row.type).value_or(0);
        }
        lines << tr("Total: %1 elements").arg(QLocale().toString(total));
    }
    const double seconds = static_cast<double>(scan.elapsed.count()) / 1000.0;
    lines << tr("Time taken: %1 s").arg(QLocale().toString(seconds, 'f', 1));
    if (!cancelled && scan.typesWritten == 0 && session_.options.scansAnyType()) {
        lines << tr("Nothing was replaced: every existing result was kept.");
    }
    return lines.join(QStringLiteral("<br>"));
}

void StatisticsWindow::openWithDesktop(const std::string& path) {
    if (desktop_ != nullptr && !desktop_->openWithApplication(path)) {
        ui_.inform(
            Message{std::string(kApplicationTitle), notOpenedText(path), MessageIcon::Exclamation});
    }
}

void StatisticsWindow::saveToFile() {
    lastSave_ = saveStatisticsFile(session_, clock_, ui_);
    // One save per opening; a failed save is no save, so the user may try again.
    if (*lastSave_ == output::StatisticsSave::Saved) {
        cmdSaveStatistic_->setEnabled(false);
    }
}

void StatisticsWindow::closeWindow() {
    close();
}

}  // namespace qor::gui
