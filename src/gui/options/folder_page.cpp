#include "gui/options/folder_page.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {

FolderPage::FolderPage(options::SearchOptions& options, UserInterface& ui, QWidget* parent)
    : QWidget(parent),
      options_(options),
      ui_(ui),
      model_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)),
      path_(new QLineEdit(this)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QGroupBox(tr("Search result folder location"), this);
    frame->setObjectName("fraFolderLocation");
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);

    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setRootPath(QDir::rootPath());
    model_->setReadOnly(true);
    tree_->setObjectName("dirFolders");
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column) {
        tree_->hideColumn(column);
    }
    tree_->setUniformRowHeights(true);
    tree_->setAnimated(false);
    tree_->setMinimumHeight(150);
    layout->addWidget(tree_);

    auto* caption = new QLabel(tr("Current folder path:"), frame);
    caption->setObjectName("lblCurrentFolder");
    layout->addWidget(caption);
    path_->setObjectName("txtFolderPath");
    path_->setReadOnly(true);
    path_->setToolTip(tr("Scan Result Folder Path"));
    path_->setMouseTracking(true);
    path_->installEventFilter(this);
    layout->addWidget(path_);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { folderChosen(current); });
    connect(model_, &QFileSystemModel::directoryLoaded, this,
            [this](const QString& folder) { folderLoaded(folder); });
    showRecord();
}

void FolderPage::showRecord() {
    const QString folder = toQString(options_.scanResultFolderPath);
    path_->setText(folder);
    const QModelIndex index = folder.isEmpty() ? QModelIndex() : model_->index(folder);
    showingRecord_ = true;
    tree_->setCurrentIndex(index);
    showingRecord_ = false;
    if (index.isValid()) {
        tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
        // The tree fills in the parent's listing later; centre again once it is there.
        scrollPendingFor_ = QFileInfo(model_->filePath(index)).absolutePath();
    }
}

void FolderPage::folderLoaded(const QString& folder) {
    if (!scrollPendingFor_.isEmpty() && folder == scrollPendingFor_) {
        scrollPendingFor_.clear();
        tree_->scrollTo(tree_->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
}

void FolderPage::folderChosen(const QModelIndex& index) {
    if (showingRecord_ || !index.isValid()) {
        return;
    }
    scrollPendingFor_.clear();
    const QString folder = QDir::toNativeSeparators(model_->filePath(index));
    path_->setText(folder);
    options_.scanResultFolderPath = toStdString(folder);
}

bool FolderPage::isEditingKey(const QKeyEvent& event) const {
    // Moving through the box, copying from it and leaving it stay possible.
    if (event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll)) {
        return false;
    }
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return false;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return true;
        default:
            return !event.text().isEmpty();
    }
}

bool FolderPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == path_) {
        if (event->type() == QEvent::KeyPress && isEditingKey(*static_cast<QKeyEvent*>(event))) {
            ui_.inform(
                Message{std::string(kApplicationTitle),
                        toStdString(tr("Change this folder location with directory list above.")),
                        MessageIcon::Information});
            return true;
        }
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            path_->setToolTip(path_->text());
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qor::gui
