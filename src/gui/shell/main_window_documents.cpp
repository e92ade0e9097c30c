// The document windows: which one is current (the scan target), the status bar that follows the
// active window, and the jump from a window of changes or an Elements window to an element.
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/base/text_encoding.h"
#include "gui/base/export_text_encoding.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/elements/elements_window.h"
#include "gui/shell/main_window.h"

namespace qor::gui {

DocumentWindow* MainWindow::activeDocument() const {
    return current_.data();
}

void MainWindow::windowActivated(QMdiSubWindow* window) {
    // The area says "none" while a dialog or another program has the keyboard, and the same
    // window again after it: that changes nothing ("Convert Completed" stays its while).
    if (window == nullptr || window == lastActive_) {
        return;
    }
    lastActive_ = window;
    auto* document = window != nullptr ? qobject_cast<DocumentWindow*>(window->widget()) : nullptr;
    if (document != nullptr && document != current_ && !holdCurrent_) {
        followDocument(document);
    } else if (!busy()) {
        showNodeInformation();
    }
}

void MainWindow::followDocument(DocumentWindow* document) {
    current_ = document;
    if (!busy()) {
        adoptExport(*document);
        showNodeInformation();
    }
    setDocumentCommandsEnabled(!document->path().isEmpty());
}

void MainWindow::adoptExport(const DocumentWindow& document) {
    if (document.path().isEmpty()) {
        return;
    }
    context_.session.databasePath = document.path().toStdString();
    context_.session.nodeInfo = document.node();
    context_.session.exportEvidence = document.evidence();
}

void MainWindow::documentClosed(DocumentWindow* document) {
    if (closing_ || document != current_) {
        return;
    }
    // The newest in the activation history comes last.
    const QList<QMdiSubWindow*> history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto window = history.rbegin(); window != history.rend(); ++window) {
        auto* other = qobject_cast<DocumentWindow*>((*window)->widget());
        if (other != nullptr && other != document && !other->path().isEmpty()) {
            followDocument(other);
            return;
        }
    }
    // The last one: the commands on a document go, and the current file path stays.
    current_ = nullptr;
    setDocumentCommandsEnabled(false);
    clearNodeInformation();
}

DocumentWindow* MainWindow::documentOf(const QString& path) const {
    const QFileInfo wanted(path);
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        auto* document = qobject_cast<DocumentWindow*>(window->widget());
        if (document != nullptr && !document->path().isEmpty() &&
            QFileInfo(document->path()) == wanted) {
            return document;
        }
    }
    return nullptr;
}

void MainWindow::showDocument(const QString& path, std::function<void(DocumentWindow&)> then) {
    if (busy()) {
        return;
    }
    QMdiSubWindow* asking = mdiArea_->activeSubWindow();
    DocumentWindow* document = documentOf(path);
    if (document == nullptr) {
        // Beside the current document, which stays the scan target; the first one otherwise.
        const bool beside = current_ != nullptr && !current_->path().isEmpty();
        openFile(path, beside);
        showAfterOpen_ = path;
        afterOpen_ = std::move(then);
        openBeside_ = beside;
        askingWindow_ = asking;
        return;
    }
    // The export asked for shows already: an open of another one under way gives way.
    opener_->cancel();
    if (document == current_) {
        mdiArea_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(document->parentWidget()));
        document->textView().setFocus();
    } else {
        showBeside(*document, asking);
    }
    then(*document);
}

DocumentWindow& MainWindow::showOpenedBeside(OpenedExport& opened, QMdiSubWindow* asking) {
    // A new window is activated as it shows: it must not become current meanwhile.
    holdCurrent_ = true;
    auto* document = qobject_cast<DocumentWindow*>(newDocumentWindow()->widget());
    fillDocument(*document, opened);
    holdCurrent_ = false;
    adoptExport(*current_);
    setDocumentCommandsEnabled(true);
    showNodeInformation();
    showBeside(*document, asking);
    reportOpened(opened);
    return *document;
}

void MainWindow::showBeside(DocumentWindow& document, QMdiSubWindow* asking) {
    auto* window = qobject_cast<QMdiSubWindow*>(document.parentWidget());
    bool maximised = false;
    for (QMdiSubWindow* shown : mdiArea_->subWindowList()) {
        maximised = maximised || shown->isMaximized();
    }
    if (maximised || window->isMinimized()) {
        tileVertically();
    }
    if (asking != nullptr && asking != window) {
        mdiArea_->setActiveSubWindow(asking);
    }
}

void MainWindow::showNodeInformation() {
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    auto* elements = active != nullptr ? qobject_cast<ElementsWindow*>(active->widget()) : nullptr;
    if (elements != nullptr && elements->plant()) {
        tmrSwitchText_->stop();
        statusBar_->setPanelText(1, tr("Plant folder: %1").arg(shownPath(elements->source())));
        statusBar_->setPanelText(2, tr("Exports: %1")
                                        .arg(QLocale().toString(static_cast<qulonglong>(
                                            elements->table().files().size()))));
        statusBar_->setPanelText(
            3, tr("Elements: %1")
                   .arg(QLocale().toString(static_cast<qulonglong>(elements->table().rowCount()))));
        return;
    }
    const DocumentWindow* document = activeDocument();
    if (document == nullptr || document->path().isEmpty()) {
        clearNodeInformation();
        return;
    }
    const scan::NodeInfo& node = document->node();
    const bool none =
        node.nodeNumber.empty() && node.nodeDescription.empty() && node.generationDate.empty();
    // The export's bytes read as the document window reads them.
    const ExportEncoding encoding =
        decideEncoding(context_.session.options.textEncoding, document->evidence());
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

}  // namespace qor::gui
