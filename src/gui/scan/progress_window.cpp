#include "gui/scan/progress_window.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/output/scan_run.h"
#include "core/output/workbook_output.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {
namespace {

constexpr int kMinimumLabelWidth = 320;
constexpr int kMargin = 16;

// The longest line the window is given, in the running language: the readers' and the
// writers' status texts of every type, and those of opening a file, preparing a scan and a
// comparison.
int widestStatusText(const QFontMetrics& metrics) {
    int widest = 0;
    const auto measure = [&](const QString& text) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    };
    for (const scan::ElementTypeInfo& type : scan::elementTypes()) {
        measure(toQString(output::readingStatusText(type)));
        measure(toQString(output::htmlWritingStatusText(type)));
        for (const bool oneWorkbook : {false, true}) {
            measure(toQString(output::workbookWritingStatusText(type, oneWorkbook)));
        }
    }
    for (const QString& text :
         {ProgressWindow::openingText(), ProgressWindow::preparingText(),
          ProgressWindow::comparingText(), ProgressWindow::cancellingText()}) {
        measure(text);
    }
    return widest;
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      lblStatus_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(),
                                     static_cast<qsizetype>(kApplicationTitle.size())));
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblStatus_->setTextFormat(Qt::PlainText);
    bar_->setObjectName(QStringLiteral("pbScan"));
    bar_->setTextVisible(true);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::cancelRequested);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(lblStatus_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keepCaptionWhole(*this, *layout);
    lblStatus_->setFixedWidth(
        std::max(kMinimumLabelWidth, widestStatusText(lblStatus_->fontMetrics()) + 8));
    setScanning(false);
}

void ProgressWindow::setScanning(bool scanning) {
    bar_->setVisible(scanning);
    cancel_->setVisible(scanning);
    cancel_->setEnabled(scanning);
    if (scanning) {
        bar_->setRange(0, 1);
        bar_->setValue(0);
    }
}

void ProgressWindow::setProgress(long long value, long long maximum) {
    showScaledProgress(*bar_, value, maximum);
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && cancel_->isVisible()) {
        emit cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::setStatus(const QString& text) {
    lblStatus_->setText(text);
}

void ProgressWindow::setStatus(std::string_view text) {
    setStatus(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString ProgressWindow::openingText() {
    return tr("Opening Data Base file...");
}

QString ProgressWindow::preparingText() {
    return tr("Preparing the result files...");
}

QString ProgressWindow::comparingText() {
    return tr("Comparing the two exports...");
}

QString ProgressWindow::cancellingText() {
    return tr("Cancelling...");
}

QString ProgressWindow::status() const {
    return lblStatus_->text();
}

void ProgressWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    centreOverParent();
}

void ProgressWindow::centreOverParent() {
    QRect area;
    if (parentWidget() != nullptr) {
        area = parentWidget()->window()->frameGeometry();
    } else if (const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen()) {
        area = shown->availableGeometry();
    } else {
        return;
    }
    const QSize size = frameGeometry().size();
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 2);
}

}  // namespace qor::gui
