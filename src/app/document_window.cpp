#include "app/document_window.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include "app/twips.h"
#include "core/qor_error.h"

namespace qor::app {

DocumentWindow::DocumentWindow(QWidget* parent)
    : QWidget(parent), rtfText_(new QPlainTextEdit(this)) {
    setObjectName("frmDocument");
    rtfText_->setObjectName("rtfText");
    rtfText_->setReadOnly(true);
    rtfText_->setUndoRedoEnabled(false);
    QFont font("Courier");
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    rtfText_->setFont(font);
    rtfText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    setMinimumSize(120, 80);
}

void DocumentWindow::loadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw QorError(file.errorString().toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw QorError(file.errorString().toStdString());
    }
    // Each byte is one character of the 8-bit code page; every line end becomes one break.
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    rtfText_->setPlainText(text);
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The text sits 100 twips inside the window; long lines wrap at its width.
    const int margin = twipsToPixels(100, twipsPerPixel(this));
    const QSize inner = event->size();
    rtfText_->setGeometry(margin, margin, std::max(0, inner.width() - 2 * margin),
                          std::max(0, inner.height() - 2 * margin));
}

}  // namespace qor::app
