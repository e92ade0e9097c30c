#include "gui/base/main_status_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "gui/base/widget_helpers.h"

namespace qor::gui {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("sbStatusBar");
    setSizeGripEnabled(true);
    // The panels share the width in the proportions of their widths in twips.
    const std::array<QString, 3> initial{tr("Status"), tr("Node Number:"), tr("Node Descr.:")};
    const std::array<int, 3> stretch{10054, 3175, 7056};
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        auto* label = new QLabel(initial[i], this);
        label->setObjectName(QString("sbStatusBar_Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(40);
        label->setToolTip(label->text());
        addWidget(label, stretch[i] / 100);
        labels_[i] = label;
    }
    panel4_ = new QWidget(this);
    panel4_->setObjectName("sbStatusBar_Panel4");
    auto* layout = new QHBoxLayout(panel4_);
    layout->setContentsMargins(3, 1, 3, 1);
    pbMain_ = new QProgressBar(panel4_);
    pbMain_->setObjectName("pbMain");
    pbMain_->setMinimum(0);
    pbMain_->setTextVisible(false);
    pbMain_->setMaximumHeight(16);
    QPalette palette = pbMain_->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
    pbMain_->setPalette(palette);
    layout->addWidget(pbMain_);
    addWidget(panel4_, 5292 / 100);
    resetProgressBar();
    panel4_->setVisible(false);
}

void MainStatusBar::setPanelText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) {
        QLabel* label = labels_[panel - 1];
        label->setText(text);
        label->setToolTip(text);
        // The node number is short and says which node this is: it is never cut; the
        // longer texts beside it give way (their tooltips hold them whole).
        if (panel == 2) {
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) +
                                   2 * label->frameWidth() + 8);
        }
    }
}

QString MainStatusBar::panelText(int panel) const {
    return panel >= 1 && panel <= 3 ? labels_[panel - 1]->text() : QString();
}

void MainStatusBar::resetProgressBar() {
    pbMain_->setVisible(false);
}

void MainStatusBar::showProgress(bool visible) {
    panel4_->setVisible(visible);
    pbMain_->setVisible(visible);
}

bool MainStatusBar::progressShown() const {
    return !pbMain_->isHidden() && !panel4_->isHidden();
}

void MainStatusBar::setProgress(long long value, long long maximum) {
    showScaledProgress(*pbMain_, value, maximum);
}

}  // namespace qor::gui
