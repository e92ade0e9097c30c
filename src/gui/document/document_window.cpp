#include "gui/document/document_window.h"

#include <QAction>
#include <QResizeEvent>

#include "gui/document/export_text_view.h"
#include "gui/document/find_bar.h"

namespace qor::gui {

DocumentWindow::DocumentWindow(QWidget* parent)
    : QWidget(parent),
      textView_(new ExportTextView(this)),
      findBar_(new FindBar(*textView_, this)) {
    setObjectName("frmDocument");
    textView_->setObjectName("rtfText");
    setMinimumSize(120, 80);
    auto* find = new QAction(tr("Find"), this);
    find->setObjectName("actFind");
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(find);
    findBar_->installEventFilter(this);
    connect(find, &QAction::triggered, this, [this] {
        findBar_->open();
        layOut();
    });
}

void DocumentWindow::loadFile(const QString& path) {
    textView_->loadFile(path);
}

void DocumentWindow::setExport(QString path, scan::NodeInfo node, EncodingEvidence evidence) {
    path_ = std::move(path);
    node_ = std::move(node);
    evidence_ = evidence;
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == findBar_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        layOut();
    }
    return QWidget::eventFilter(watched, event);
}

void DocumentWindow::layOut() {
    // The text sits a few pixels inside the window (they scale with the screen); the find bar,
    // when open, below it.
    constexpr int margin = 7;
    const int bar = findBar_->isVisible() ? findBar_->sizeHint().height() : 0;
    const int width = std::max(0, this->width() - 2 * margin);
    const int height = std::max(0, this->height() - 2 * margin - bar);
    textView_->setGeometry(margin, margin, width, height);
    findBar_->setGeometry(margin, margin + height, width, bar);
}

}  // namespace qor::gui
