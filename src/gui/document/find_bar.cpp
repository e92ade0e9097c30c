#include "gui/document/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/document/export_text_view.h"

namespace qor::gui {

FindBar::FindBar(ExportTextView& view, QWidget* parent)
    : QWidget(parent), view_(view), text_(new QLineEdit(this)), result_(new QLabel(this)) {
    setObjectName("fraFind");
    text_->setObjectName("txtFind");
    text_->setClearButtonEnabled(true);
    text_->installEventFilter(this);
    result_->setObjectName("lblFindResult");
    auto* caption = new QLabel(tr("F&ind:"), this);
    caption->setBuddy(text_);
    auto* next = new QPushButton(tr("&Next"), this);
    next->setObjectName("cmdFindNext");
    auto* previous = new QPushButton(tr("&Previous"), this);
    previous->setObjectName("cmdFindPrevious");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(text_, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(result_);
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(text_, &QLineEdit::textEdited, result_, &QLabel::clear);
    hide();
}

void FindBar::open() {
    show();
    text_->setFocus();
    text_->selectAll();
}

bool FindBar::findNext(bool backward) {
    const bool found = view_.find(text_->text(), backward);
    result_->setText(found || text_->text().isEmpty() ? QString() : tr("Not found"));
    return found;
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            view_.setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qor::gui
