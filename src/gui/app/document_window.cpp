#include "gui/app/document_window.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QResizeEvent>

#include "gui/app/export_text_view.h"
#include "gui/app/twips.h"

namespace qor::gui {

DocumentWindow::DocumentWindow(QWidget* parent)
    : QWidget(parent), rtfText_(new ExportTextView(this)) {
    setObjectName("frmDocument");
    rtfText_->setObjectName("rtfText");
    QFont font("Courier");
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    rtfText_->setFont(font);
    setMinimumSize(120, 80);
}

void DocumentWindow::loadFile(const QString& path) {
    rtfText_->loadFile(path);
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The text sits 100 twips inside the window.
    const int margin = twipsToPixels(100, twipsPerPixel(this));
    const QSize inner = event->size();
    rtfText_->setGeometry(margin, margin, std::max(0, inner.width() - 2 * margin),
                          std::max(0, inner.height() - 2 * margin));
}

}  // namespace qor::gui
