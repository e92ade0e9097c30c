#include "gui/options/folder_page.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/base/standard_error.h"
#include "core/platform/user_environment.h"
#include "gui/base/widget_helpers.h"

namespace qor::gui {

FolderPage::FolderPage(options::SearchOptions& options, Desktop& desktop, QWidget* parent)
    : QWidget(parent),
      options_(options),
      desktop_(desktop),
      model_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)),
      path_(new QLineEdit(this)),
      state_(new QLabel(this)) {
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
    caption->setBuddy(path_);
    path_->setObjectName("txtFolderPath");
    path_->setToolTip(tr("Scan Result Folder Path"));
    path_->setMouseTracking(true);
    path_->installEventFilter(this);
    auto* browseButton = new QPushButton(tr("&Browse..."), frame);
    browseButton->setObjectName("cmdBrowseFolder");
    browseButton->setAutoDefault(false);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browseButton);
    layout->addLayout(pathRow);
    state_->setObjectName("lblFolderState");
    setCaptionColor(*state_, disabledColor(state_->palette()));
    layout->addWidget(state_);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { folderChosen(current); });
    connect(model_, &QFileSystemModel::directoryLoaded, this,
            [this](const QString& folder) { folderLoaded(folder); });
    connect(path_, &QLineEdit::textEdited, this,
            [this](const QString& text) { folderTyped(text); });
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    showRecord();
}

void FolderPage::showRecord() {
    const QString folder = toQString(options_.scanResultFolderPath);
    path_->setText(folder);
    showFolderState();
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
    showFolderState();
}

void FolderPage::folderTyped(const QString& folder) {
    options_.scanResultFolderPath = toStdString(folder);
    showFolderState();
    const QFileInfo typed(folder);
    if (typed.isAbsolute() && typed.isDir()) {
        showingRecord_ = true;  // the box keeps what was typed
        tree_->setCurrentIndex(model_->index(folder));
        showingRecord_ = false;
        tree_->scrollTo(tree_->currentIndex());
    }
}

void FolderPage::browse() {
    const std::string chosen = desktop_.chooseFolder(
        this, toStdString(tr("Choose the Scan Result Folder")), options_.scanResultFolderPath);
    if (!chosen.empty()) {
        options_.scanResultFolderPath = chosen;
        showRecord();
    }
}

// Said as the path is typed or chosen: the scan would stop at a folder it cannot write into.
void FolderPage::showFolderState() {
    const QString folder = path_->text();
    const QFileInfo info(folder);
    QString state;
    if (folder.trimmed().isEmpty()) {
        state = tr("No folder is chosen.");
    } else if (!info.isAbsolute()) {
        state = tr("The path must start at the top of the file system.");
    } else if (!info.exists()) {
        // The Documents folder a fresh account may lack is made when a scan needs it.
        state = toStdString(folder) == platform::defaultResultFolder()
                    ? tr("This folder will be created by the first scan.")
                    : tr("This folder does not exist.");
    } else if (!info.isDir()) {
        state = tr("This is a file, not a folder.");
    } else if (!info.isWritable()) {
        state = tr("This folder cannot be written to.");
    }
    state_->setText(state);
}

bool FolderPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == path_) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            path_->setToolTip(path_->text());
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qor::gui
