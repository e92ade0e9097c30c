// The three ways a database export file is opened into the document window.
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/platform/input_file.h"
#include "core/scan/export_encoding.h"
#include "core/scan/node_info.h"
#include "gui/base/export_text_encoding.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {
namespace {

// Tells when a window is closed (it is deleted only later, from the event loop).
class CloseWatcher : public QObject {
    Q_OBJECT

public:
    CloseWatcher(QObject& watched, std::function<void()> onClose)
        : QObject(&watched), onClose_(std::move(onClose)) {
        watched.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            onClose_();
        }
        return false;
    }

private:
    std::function<void()> onClose_;
};

}  // namespace

QMdiSubWindow* MainWindow::newDocumentWindow() {
    ++documentCounter_;
    auto* document = new DocumentWindow;
    document->rtfText().setLineNumbersShown(actions_.lineNumbers->isChecked());
    QMdiSubWindow* window = mdiArea_->addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    window->setWindowTitle(tr("Document %1").arg(documentCounter_));
    if (current_ == nullptr) {
        current_ = document;
    }
    new CloseWatcher(*window, [this, document] { documentClosed(document); });
    // The only document fills the frame, as a maximised window, from its first showing.
    window->showMaximized();
    window->repaint();
    return window;
}

void MainWindow::openWithDialog() {
    // The dialog starts where the open file is, or in the home folder.
    const QString current = QString::fromStdString(context_.session.databasePath);
    const QString folder = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const std::string chosen = context_.desktop.chooseFileToOpen(
        this, {{toStdString(tr("Data Base Files (*.qor)")), "*.qor"}},
        toStdString(tr("Open Data Base File...")), folder.toStdString(), "qor");
    if (chosen.empty()) {
        if (DocumentWindow* document = activeDocument(); document && !document->path().isEmpty()) {
            context_.session.databasePath = document->path().toStdString();
        }
        return;
    }
    openFile(OpenFlow::Dialog, QString::fromStdString(chosen));
}

void MainWindow::openDropped(const QString& path) {
    if (!busy()) {
        openFile(OpenFlow::Dialog, path);
    }
}

void MainWindow::openFromAnotherLaunch(const QString& path) {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    if (path.isEmpty()) {
        return;
    }
    if (busy()) {
        context_.boxes.inform(
            Message{std::string(kApplicationTitle),
                    toStdString(tr("A scan is running. Open %1 when it has finished.").arg(path)),
                    MessageIcon::Exclamation});
        return;
    }
    openFile(OpenFlow::Dialog, path);
}

void MainWindow::openRecentFile(int slot) {
    const auto path = recent_->path(slot);
    if (!path) {
        return;
    }
    if (!QFileInfo::exists(*path)) {
        if (context_.boxes.askYesNo(
                Prompt{std::string(kApplicationTitle),
                       toStdString(tr("File does not exist:\r\n%1\r\n\r\nRemove it from the "
                                      "Recent Files list?")
                                       .arg(*path)),
                       MessageIcon::Exclamation})) {
            recent_->remove(slot);
        }
        return;
    }
    openFile(OpenFlow::RecentFile, *path);
}

void MainWindow::clearRecentFiles() {
    recent_->clear();
}

void MainWindow::openByPath(const std::string& path) {
    if (!path.empty()) {
        openFile(OpenFlow::CommandLine, QString::fromStdString(path));
    }
}

void MainWindow::openFile(OpenFlow flow, const QString& path) {
    // Every step below opens the file; a pipe or device would hold the first of them for ever.
    // A file that cannot be read is said once, before anything changes: the window keeps
    // showing the file that is actually open.
    if (!runStep(context_.boxes, "modMain", "GetNodeInfo", [&] {
            platform::refuseSpecialFile(path.toStdString(), "database file");
            QFile file(path);
            if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
                throw QorError(
                    toStdString(tr("Cannot open '%1': %2")
                                    .arg(path, QFileInfo(path).isDir() ? tr("it is a folder")
                                                                       : file.errorString())));
            }
        })) {
        return;
    }
    const bool dialog = flow == OpenFlow::Dialog;
    const bool recent = flow == OpenFlow::RecentFile;
    // The recent-file flow skips a failing step; the dialog flow ends silently; the
    // command-line flow lets the error reach start-up, which reports it.
    auto step = [recent](auto&& action) {
        if (!recent) {
            action();
            return;
        }
        try {
            action();
        } catch (...) {
            // The recent-file flow goes on with its next step whatever the step's failure;
            // the view and the status bar then show what could be read.
        }
    };
    auto showProgress = [&] {
        progress_->setStatus(ProgressWindow::openingText());
        progress_->show();
        progress_->repaint();
    };
    try {
        if (dialog) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        context_.session.databasePath = path.toStdString();
        step(showProgress);
        step([&] {
            if (activeDocument() == nullptr) {
                newDocumentWindow();
            }
        });
        step([&] {
            auto* window = qobject_cast<QMdiSubWindow*>(activeDocument()->parentWidget());
            window->setWindowTitle(path);
            // In front of a window of changes, where the file can be seen.
            mdiArea_->setActiveSubWindow(window);
        });
        if (!recent) {
            setDocumentCommandsEnabled(true);
        }
        // The file is read below on this thread, a second or two for a large export: the
        // progress window and the document window must be on screen first, and a window the
        // system has just been asked to show is painted only from the event loop. Input waits,
        // so no command can start meanwhile. This goes once the file is read off this thread.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        step([&] {
            context_.session.exportEvidence = {};
            context_.session.exportEvidence =
                scan::readEncodingEvidence(context_.session.databasePath);
        });
        step([&] {
            context_.session.nodeInfo =
                scan::readNodeInfo(context_.session.databasePath, context_.session.nodeInfo,
                                   context_.boxes, context_.session.textEncoding().encoding);
        });
        step([&] {
            activeDocument()->setExport(path, context_.session.nodeInfo,
                                        context_.session.exportEvidence);
        });
        step([&] {
            DocumentWindow* document = activeDocument();
            document->rtfText().setTextEncoding(context_.session.textEncoding());
            document->loadFile(path);
            if (!recent) {
                document->rtfText().viewport()->repaint();
            }
        });
        if (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
        if (recent) {
            setDocumentCommandsEnabled(true);
        }
        step([&] { recent_->addRecentFile(path); });
        step([&] { showNodeInformation(); });
        if (recent) {
            statusBar_->resetProgressBar();
            progress_->hide();
        } else {
            progress_->hide();
            if (dialog) {
                statusBar_->resetProgressBar();
            }
        }
        // Shown all the same, so that the person sees what the file is.
        if (context_.session.nodeInfo.notAnExport) {
            context_.boxes.inform(
                Message{std::string(kApplicationTitle),
                        toStdString(tr("'%1' is not a node export: it holds neither node "
                                       "information nor any element. It is shown as it is, "
                                       "but it cannot be scanned.")
                                        .arg(path)),
                        MessageIcon::Exclamation});
        }
    } catch (...) {
        // Tidies the window whatever failed; the command-line flow passes the error on.
        progress_->hide();
        if (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
        if (!dialog) {
            throw;
        }
        if (DocumentWindow* document = activeDocument(); document && !document->path().isEmpty()) {
            context_.session.databasePath = document->path().toStdString();
            document->parentWidget()->setWindowTitle(document->path());
        }
    }
}

}  // namespace qor::gui

#include "main_window_open.moc"
