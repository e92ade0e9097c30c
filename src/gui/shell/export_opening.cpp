#include "gui/shell/export_opening.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QtConcurrent>

#include "core/base/qor_error.h"
#include "core/base/user_interface.h"
#include "core/platform/input_file.h"
#include "core/scan/export_encoding.h"

namespace qor::gui {
namespace {

// Keeps what the node information reads report, for the window to say later: they run where
// no message box can be shown.
class KeptReports : public UserInterface {
public:
    std::vector<StandardError> errors;

    bool askYesNo(const Prompt&) override { return false; }
    void inform(const Message&) override {}
    void reportError(const StandardError& error) override { errors.push_back(error); }
    void setStatus(std::string_view) override {}
    void setProgress(long long, long long) override {}
};

}  // namespace

std::optional<OpenedExport> readExportToOpen(const OpenRequest& request,
                                             const ReadProgress& progress) {
    const QString& path = request.path;
    const std::string bytesPath = path.toStdString();
    // Every read below opens the file; a pipe or device would hold the first of them for ever.
    platform::refuseSpecialFile(bytesPath, "database file");
    {
        QFile file(path);
        const bool folder = QFileInfo(path).isDir();
        if (folder || !file.open(QIODevice::ReadOnly)) {
            // In the words of the window that asked for the file.
            const QString why =
                folder ? QCoreApplication::translate("qor::gui::MainWindow", "it is a folder")
                       : file.errorString();
            throw QorError(
                QCoreApplication::translate("qor::gui::MainWindow", "Cannot open '%1': %2")
                    .arg(path, why)
                    .toStdString());
        }
    }
    OpenedExport opened;
    opened.path = path;
    opened.evidence = scan::readEncodingEvidence(bytesPath);
    KeptReports reports;
    opened.nodeInfo =
        scan::readNodeInfo(bytesPath, request.previous, reports,
                           decideEncoding(request.encoding, opened.evidence).encoding);
    opened.errors = std::move(reports.errors);
    std::optional<ExportText> text = readExportText(path, progress);
    if (!text) {
        return std::nullopt;
    }
    opened.text = std::move(*text);
    return opened;
}

ExportOpener::ExportOpener(QObject* parent) : QObject(parent) {}

ExportOpener::~ExportOpener() {
    drop();
}

void ExportOpener::drop() {
    if (current_ != nullptr) {
        current_->disconnect(this);
        current_->cancel();
        current_->deleteLater();
        current_ = nullptr;
    }
}

void ExportOpener::open(OpenRequest request) {
    drop();
    path_ = request.path;
    auto* watcher = new QFutureWatcher<OpenOutcome>(this);
    current_ = watcher;
    connect(watcher, &QFutureWatcherBase::progressValueChanged, this,
            [this](int value) { emit progress(value); });
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        current_ = nullptr;
        watcher->deleteLater();
        // A cancelled future holds no result, whatever the read came to.
        OpenOutcome outcome{path_, nullptr, nullptr};
        if (!watcher->isCanceled() && watcher->future().resultCount() > 0) {
            outcome = watcher->result();
        }
        emit finished(outcome);
    });
    // The read gets its own copies: it may outlive this object.
    watcher->setFuture(QtConcurrent::run(
        [reader = reader_, request = std::move(request)](QPromise<OpenOutcome>& promise) {
            promise.setProgressRange(0, 1000);
            OpenOutcome outcome{request.path, nullptr, nullptr};
            try {
                std::optional<OpenedExport> opened =
                    reader(request, [&promise](qint64 done, qint64 total) {
                        if (total > 0) {
                            promise.setProgressValue(static_cast<int>(done * 1000 / total));
                        }
                        return !promise.isCanceled();
                    });
                if (opened) {
                    outcome.opened = std::make_shared<OpenedExport>(std::move(*opened));
                }
            } catch (...) {
                outcome.error = std::current_exception();  // said on the window's thread
            }
            promise.addResult(std::move(outcome));
        }));
}

bool ExportOpener::cancel() {
    if (current_ == nullptr) {
        return false;
    }
    current_->cancel();
    return true;
}

}  // namespace qor::gui
