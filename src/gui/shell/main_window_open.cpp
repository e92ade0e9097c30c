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

DocumentWindow* MainWindow::activeDocument() const {
    // There is at most one document window; it counts as active even while the frame or a
    // comparison window is.
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* document = dynamic_cast<DocumentWindow*>(window->widget())) {
            return document;
        }
    }
    return nullptr;
}

QMdiSubWindow* MainWindow::newDocumentWindow() {
    ++documentCounter_;
    auto* document = new DocumentWindow;
    document->rtfText().setLineNumbersShown(actions_.lineNumbers->isChecked());
    QMdiSubWindow* window = mdiArea_->addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    window->setWindowTitle(tr("Document %1").arg(documentCounter_));
    // Closing the document window takes the scan and compare commands and the file's status
    // texts away; the current file path stays.
    new CloseWatcher(*window, [this] {
        if (!closing_) {
            setDocumentCommandsEnabled(false);
            clearNodeInformation();
        }
    });
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
        if (DocumentWindow* document = activeDocument()) {
            context_.session.databasePath = document->parentWidget()->windowTitle().toStdString();
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
        context_.boxes.inform(
            Message{std::string(kApplicationTitle),
                    toStdString(tr("A scan is running. Open %1 when it has finished.").arg(path)),
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
                                       .arg(*path)),
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

void MainWindow::showNodeInformation() {
    if (activeDocument() == nullptr) {
        clearNodeInformation();
        return;
    }
    const scan::NodeInfo& node = context_.session.nodeInfo;
    const bool none =
        node.nodeNumber.empty() && node.nodeDescription.empty() && node.generationDate.empty();
    // The export's bytes read as the document window reads them.
    const ExportEncoding encoding = context_.session.textEncoding();
    QString about = tr("Data Base file (*.qor) generated with Online Builder on: %1")
                        .arg(exportText(node.generationDate, encoding));
    if (node.notAnExport) {
        about = tr("Not a node export: no node information and no element");
    } else if (none) {
        about = tr("This file holds no node information");
    }
    statusBar_->setPanelText(1, about);
    statusBar_->setPanelText(2, tr("Node Number:  %1").arg(exportText(node.nodeNumber, encoding)));
    statusBar_->setPanelText(
        3, tr("Node Descr.:  %1").arg(exportText(node.nodeDescription, encoding)));
}

void MainWindow::clearNodeInformation() {
    tmrSwitchText_->stop();
    statusBar_->setPanelText(1, tr("For Help, press F1"));
    statusBar_->setPanelText(2, QString());
    statusBar_->setPanelText(3, QString());
}

bool MainWindow::opening() const {
    return opener_->running();
}

void MainWindow::openFile(const QString& path) {
    // What showDocument waits for belongs to its own open only.
    showAfterOpen_.clear();
    afterOpen_ = nullptr;
    tmrSwitchText_->stop();
    // The file is read off this thread; the window answers meanwhile and changes nothing until
    // the file is read, so that a cancelled or failed open leaves it as it was.
    opener_->open({path, context_.session.options.textEncoding, context_.session.nodeInfo});
    // The commands on the shown export wait: the session turns to the new one when it shows.
    setDocumentCommandsEnabled(false);
    actions_.cancelScan->setEnabled(true);
    statusBar_->setPanelText(1, tr("Opening %1... (Esc cancels)").arg(path));
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
    // Work that started meanwhile cancelled the open and owns the status bar now.
    if (!busy()) {
        actions_.cancelScan->setEnabled(false);
        statusBar_->showProgress(false);
    }
    if (outcome.opened && !busy()) {
        showOpened(*outcome.opened);
        DocumentWindow* document = activeDocument();
        if (then && wanted == outcome.path && document != nullptr) {
            document->rtfText().setFocus();
            then(*document);
        }
    } else {
        setDocumentCommandsEnabled(activeDocument() != nullptr);
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

void MainWindow::showOpened(OpenedExport& opened) {
    output::Session& session = context_.session;
    session.databasePath = opened.path.toStdString();
    session.exportEvidence = opened.evidence;
    session.nodeInfo = opened.nodeInfo;
    if (activeDocument() == nullptr) {
        newDocumentWindow();
    }
    DocumentWindow* document = activeDocument();
    auto* window = qobject_cast<QMdiSubWindow*>(document->parentWidget());
    window->setWindowTitle(opened.path);
    // In front of a window of changes, where the file can be seen.
    mdiArea_->setActiveSubWindow(window);
    document->rtfText().setTextEncoding(session.textEncoding());
    document->rtfText().showText(std::move(opened.text));
    setDocumentCommandsEnabled(true);
    recent_->addRecentFile(opened.path);
    showNodeInformation();
    for (const StandardError& error : opened.errors) {
        context_.boxes.reportError(error);
    }
    // Shown all the same, so that the person sees what the file is.
    if (session.nodeInfo.notAnExport) {
        context_.boxes.inform(Message{
            std::string(kApplicationTitle),
            toStdString(tr("'%1' is not a node export: it holds neither node information nor any "
                           "element. It is shown as it is, but it cannot be scanned.")
                            .arg(opened.path)),
            MessageIcon::Exclamation});
    }
}

}  // namespace qor::gui

#include "main_window_open.moc"
