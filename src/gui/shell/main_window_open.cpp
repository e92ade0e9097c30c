// The ways a database export file is opened into the document window.
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

#include "core/base/standard_error.h"
#include "core/scan/node_info.h"
#include "gui/base/export_text_encoding.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
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
    document->textView().setLineNumbersShown(actions_.lineNumbers->isChecked());
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
    openFile(QString::fromStdString(chosen));
}

void MainWindow::openDropped(const QString& path) {
    if (!busy()) {
        openFile(path);
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
        context_.boxes.inform(Message{
            std::string(kApplicationTitle),
            toStdString(
                tr("A scan is running. Open %1 when it has finished.").arg(shownPath(path))),
            MessageIcon::Exclamation});
        return;
    }
    openFile(path);
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
                                       .arg(shownPath(*path))),
                       MessageIcon::Exclamation})) {
            recent_->remove(slot);
        }
        return;
    }
    openFile(*path);
}

void MainWindow::clearRecentFiles() {
    recent_->clear();
}

void MainWindow::openByPath(const std::string& path) {
    if (!path.empty()) {
        openFile(QString::fromStdString(path));
    }
}

bool MainWindow::opening() const {
    return opener_->running();
}

void MainWindow::openFile(const QString& path, bool beside) {
    // What showDocument waits for belongs to its own open only.
    showAfterOpen_.clear();
    afterOpen_ = nullptr;
    openBeside_ = false;
    tmrSwitchText_->stop();
    // The file is read off this thread; the window answers meanwhile and changes nothing until
    // the file is read, so that a cancelled or failed open leaves it as it was. A window of its
    // own keeps nothing of the current document's node.
    opener_->open({path, context_.session.options.textEncoding,
                   beside ? scan::NodeInfo{} : context_.session.nodeInfo});
    // The commands on the shown export wait: the session turns to the new one when it shows.
    setDocumentCommandsEnabled(false);
    actions_.cancelScan->setEnabled(true);
    statusBar_->setPanelText(1, tr("Opening %1... (Esc cancels)").arg(shownPath(path)));
    statusBar_->setProgress(0, 1000);
    statusBar_->showProgress(true);
}

void MainWindow::showOpenProgress(int perMille) {
    if (!busy()) {
        statusBar_->setProgress(perMille, 1000);
    }
}

void MainWindow::exportOpened(const OpenOutcome& outcome) {
    const QString wanted = std::exchange(showAfterOpen_, QString());
    const std::function<void(DocumentWindow&)> then = std::exchange(afterOpen_, nullptr);
    const bool beside = std::exchange(openBeside_, false) && wanted == outcome.path;
    const QPointer<QMdiSubWindow> asking = std::exchange(askingWindow_, nullptr);
    // Work that started meanwhile cancelled the open and owns the status bar now.
    if (!busy()) {
        actions_.cancelScan->setEnabled(false);
        statusBar_->showProgress(false);
    }
    if (outcome.opened && !busy()) {
        // Beside a current document that is still there; else as any open.
        DocumentWindow* document = nullptr;
        if (beside && current_ != nullptr && !current_->path().isEmpty()) {
            document = &showOpenedBeside(*outcome.opened, asking);
        } else {
            showOpened(*outcome.opened);
            document = activeDocument();
            if (then && wanted == outcome.path && document != nullptr) {
                document->textView().setFocus();
            }
        }
        if (then && wanted == outcome.path && document != nullptr) {
            then(*document);
        }
    } else {
        setDocumentCommandsEnabled(current_ != nullptr && !current_->path().isEmpty());
        if (!busy()) {
            showNodeInformation();
        }
        if (outcome.error) {
            runStep(context_.boxes, "modMain", "GetNodeInfo",
                    [&] { std::rethrow_exception(outcome.error); });
        }
    }
    emit openFinished();
}

void MainWindow::fillDocument(DocumentWindow& document, OpenedExport& opened) {
    document.parentWidget()->setWindowTitle(shownPath(opened.path));
    document.setExport(opened.path, opened.nodeInfo, opened.evidence);
    document.textView().setTextEncoding(
        decideEncoding(context_.session.options.textEncoding, opened.evidence));
    document.textView().showText(std::move(opened.text));
    recent_->addRecentFile(opened.path);
}

void MainWindow::reportOpened(const OpenedExport& opened) {
    for (const StandardError& error : opened.errors) {
        context_.boxes.reportError(error);
    }
    // Shown all the same, so that the person sees what the file is.
    if (opened.nodeInfo.notAnExport) {
        context_.boxes.inform(Message{
            std::string(kApplicationTitle),
            toStdString(tr("'%1' is not a node export: it holds neither node information nor any "
                           "element. It is shown as it is, but it cannot be scanned.")
                            .arg(shownPath(opened.path))),
            MessageIcon::Exclamation});
    }
}

void MainWindow::showOpened(OpenedExport& opened) {
    output::Session& session = context_.session;
    session.databasePath = opened.path.toStdString();
    session.exportEvidence = opened.evidence;
    session.nodeInfo = opened.nodeInfo;
    if (activeDocument() == nullptr) {
        newDocumentWindow();
    }
    DocumentWindow* document = activeDocument();
    fillDocument(*document, opened);
    // In front of a window of changes, where the file can be seen.
    mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(document->parentWidget()));
    setDocumentCommandsEnabled(true);
    showNodeInformation();
    reportOpened(opened);
}

}  // namespace qor::gui

#include "main_window_open.moc"
