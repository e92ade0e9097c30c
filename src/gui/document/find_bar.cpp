#include "gui/document/find_bar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/document/export_text_view.h"

namespace qor::gui {

FindBar::FindBar(ExportTextView& view, QWidget* parent)
    : QWidget(parent),
      view_(view),
      text_(new QLineEdit(this)),
      matchCase_(new QCheckBox(tr("Match &Case"), this)),
      result_(new QLabel(this)) {
    setObjectName("fraFind");
    text_->setObjectName("txtFind");
    text_->setClearButtonEnabled(true);
    text_->installEventFilter(this);
    matchCase_->setObjectName("chkMatchCase");
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
    layout->addWidget(matchCase_);
    layout->addWidget(result_);
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(text_, &QLineEdit::textChanged, this, &FindBar::updateHighlight);
    connect(matchCase_, &QCheckBox::toggled, this, &FindBar::updateHighlight);
    hide();
}

void FindBar::open() {
    show();
    text_->setFocus();
    text_->selectAll();
    updateHighlight();
}

void FindBar::updateHighlight() {
    result_->clear();
    view_.setHighlightedText(text_->text(), matchCase_->isChecked());
}

void FindBar::hideEvent(QHideEvent* event) {
    view_.setHighlightedText({}, false);
    QWidget::hideEvent(event);
}

bool FindBar::findNext(bool backward) {
    const bool matchCase = matchCase_->isChecked();
    const bool found = view_.find(text_->text(), backward, matchCase);
    if (!found) {
        result_->setText(text_->text().isEmpty() ? QString() : tr("Not found"));
        return false;
    }
    const ExportTextView::MatchCount count = view_.countMatches(text_->text(), matchCase);
    const QString total = count.capped ? tr("%1+").arg(count.total) : QString::number(count.total);
    result_->setText(count.current > 0 ? tr("%1 of %2").arg(count.current).arg(total)
                                       : tr("%1 matches").arg(total));
    return true;
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
