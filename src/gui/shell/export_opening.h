#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/base/standard_error.h"
#include "core/base/text_encoding.h"
#include "core/scan/node_info.h"
#include "gui/document/export_text_file.h"

namespace qor::gui {

// What opening an export needs of the window: a snapshot taken when it is asked for.
struct OpenRequest {
    QString path;
    EncodingChoice encoding;  // the options' text encoding
    scan::NodeInfo previous;  // what a node information field that cannot be read keeps
};

// Everything the window shows of an export, read before anything on screen changes.
struct OpenedExport {
    QString path;
    EncodingEvidence evidence;  // of the export's first bytes
    scan::NodeInfo nodeInfo;
    ExportText text;
    // What reading the node information reported, for the window to say once it shows the file.
    std::vector<StandardError> errors;
};

// Reads what the window shows of the export `request.path`; any thread may call it. Nothing
// when `progress` stopped it. Throws QorError naming the file when it is missing, a folder, a
// pipe or device, or cannot be read.
std::optional<OpenedExport> readExportToOpen(const OpenRequest& request,
                                             const ReadProgress& progress = {});

// How an open ended: `opened` holds the export, or `error` what failed, or neither when it was
// cancelled.
struct OpenOutcome {
    QString path;
    std::shared_ptr<OpenedExport> opened;
    std::exception_ptr error;
};

// Opens exports off the window's thread (Qt's thread pool), one at a time: open() cancels the
// open under way, whose outcome is dropped. The latest open ends in finished(), on this
// object's thread from the event loop, with progress() before; nothing else is changed, so that
// a cancelled or failed open leaves the window as it was. Destroyed while an open runs, it
// cancels it; the read ends soon after on its thread, touching nothing of this object.
class ExportOpener : public QObject {
    Q_OBJECT

public:
    using Reader = std::function<std::optional<OpenedExport>(const OpenRequest& request,
                                                             const ReadProgress& progress)>;

    explicit ExportOpener(QObject* parent = nullptr);
    ~ExportOpener() override;

    void open(OpenRequest request);
    // Asks the open under way to stop; finished() follows when it has. False when none runs.
    bool cancel();
    bool running() const { return current_ != nullptr; }
    // What reads the export: readExportToOpen unless replaced (a test holds it so).
    void setReader(Reader reader) { reader_ = std::move(reader); }

signals:
    // How much of the export is read, in thousandths.
    void progress(int perMille);
    void finished(const qor::gui::OpenOutcome& outcome);

private:
    void drop();

    Reader reader_ = readExportToOpen;
    QFutureWatcher<OpenOutcome>* current_ = nullptr;
    QString path_;
};

}  // namespace qor::gui
