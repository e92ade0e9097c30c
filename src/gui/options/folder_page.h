#pragma once

#include <QString>
#include <QWidget>

#include "core/base/user_interface.h"
#include "core/options/search_options.h"

class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QTreeView;

namespace qor::gui {

// "Search result folder location": a folder tree of the whole file system and the read-only
// "Current folder path:" box. Choosing a folder in the tree makes it the scan result folder;
// the box cannot be typed into, and says so.
class FolderPage : public QWidget {
    Q_OBJECT

public:
    FolderPage(options::SearchOptions& options, UserInterface& ui, QWidget* parent = nullptr);

    // Shows the record's folder in the box and selects it in the tree.
    void showRecord();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void folderChosen(const QModelIndex& index);
    void folderLoaded(const QString& folder);
    bool isEditingKey(const QKeyEvent& event) const;

    options::SearchOptions& options_;
    UserInterface& ui_;
    QFileSystemModel* model_;
    QTreeView* tree_;
    QLineEdit* path_;
    bool showingRecord_ = false;
    QString scrollPendingFor_;  // the folder whose listing the initial selection waits for
};

}  // namespace qor::gui
