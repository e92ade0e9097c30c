#include "gui/output/progress_window.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

#include "core/base/standard_error.h"
#include "core/base/strings.h"

namespace qor::gui {
namespace {

constexpr int kMinimumLabelWidth = 320;
constexpr int kMargin = 16;

// The longest line the window is given: the readers' status texts (IDs 170..183), the open
// command's text (132) and the HTML writer's "Writing to HTML report files - 'PIDCON'
// elements..." (196 + a type text + 197).
int widestStatusText(const QFontMetrics& metrics) {
    int widest = 0;
    const auto measure = [&](std::string_view text) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(
                                      text.data(), static_cast<qsizetype>(text.size()))));
    };
    for (int id = str::kReadingAI; id < str::kReadingAI + 14; ++id) {
        measure(loadString(id));
    }
    measure(loadString(str::kOpeningDataBaseFile));
    for (int id = str::kTypeTextAI; id < str::kTypeTextAI + 14; ++id) {
        measure(std::string(loadString(str::kWritingHtmlReport)) + std::string(loadString(id)) +
                std::string(loadString(str::kElementsEllipsis)));
    }
    return widest;
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      lblStatus_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle.data(),
                                     static_cast<qsizetype>(kApplicationTitle.size())));
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblStatus_->setTextFormat(Qt::PlainText);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(lblStatus_);

    const int labelWidth =
        std::max(kMinimumLabelWidth, widestStatusText(lblStatus_->fontMetrics()) + 8);
    setFixedWidth(labelWidth + 2 * kMargin);
    setFixedHeight(lblStatus_->fontMetrics().height() + 2 * kMargin + 4);
}

void ProgressWindow::setStatus(const QString& text) {
    lblStatus_->setText(text);
    // The scan keeps the event loop waiting between its yields: paint now, not later.
    if (isVisible()) {
        lblStatus_->repaint();
    }
}

void ProgressWindow::setStatus(std::string_view text) {
    setStatus(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
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
