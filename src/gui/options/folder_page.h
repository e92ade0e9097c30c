#pragma once

#include <QString>
#include <QWidget>

#include "core/options/search_options.h"
#include "gui/base/desktop.h"

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTreeView;

namespace qor::gui {

// "Search result folder location": a folder tree of the whole file system, the "Current folder
// path:" box and "Browse...". A folder chosen in the tree or the folder dialog, or typed into
// the box, is the scan result folder; beside the box a line says when it is missing or cannot
// be written to.
class FolderPage : public QWidget {
    Q_OBJECT

public:
    FolderPage(options::SearchOptions& options, Desktop& desktop, QWidget* parent = nullptr);

    // Shows the record's folder in the box and selects it in the tree.
    void showRecord();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void folderChosen(const QModelIndex& index);
    void folderLoaded(const QString& folder);
    void folderTyped(const QString& folder);
    void browse();
    void showFolderState();

    options::SearchOptions& options_;
    Desktop& desktop_;
    QFileSystemModel* model_;
    QTreeView* tree_;
    QLineEdit* path_;
    QLabel* state_;
    bool showingRecord_ = false;
    QString scrollPendingFor_;  // the folder whose listing the initial selection waits for
};

}  // namespace qor::gui
