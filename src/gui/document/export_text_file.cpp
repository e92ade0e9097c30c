#include "gui/document/export_text_file.h"

#include <QCoreApplication>
#include <QFile>
#include <limits>
#include <new>

#include "core/base/qor_error.h"
#include "core/platform/input_file.h"

namespace qor::gui {
namespace {

// Line starts are kept as 32-bit offsets, which halves the index of a file with short lines.
constexpr qint64 kMaxFileBytes = std::numeric_limits<quint32>::max();
// Large enough that the reads cost nothing beside the copying, small enough that a stop is soon.
constexpr qint64 kPieceBytes = qint64{8} << 20;

std::string tooLargeText() {
    return QCoreApplication::translate("qor::gui::ExportTextView", "The file is too large to show.")
        .toStdString();
}

}  // namespace

std::optional<ExportText> readExportText(const QString& path, const ReadProgress& progress) {
    platform::refuseSpecialFile(path.toStdString(), "database file");  // QFile would wait on it
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw QorError(file.errorString().toStdString());
    }
    const qint64 size = file.size();
    if (size > kMaxFileBytes) {
        throw QorError(tooLargeText());
    }
    // The bytes are read rather than mapped: a mapped file cut short by another program while it
    // is shown would crash the painting.
    ExportText text;
    try {
        text.bytes.resize(size);
        qint64 done = 0;
        for (;;) {
            if (done == text.bytes.size()) {
                // The file may have grown since its size was taken: read on until its end.
                if (text.bytes.size() > kMaxFileBytes - kPieceBytes) {
                    char probe = 0;
                    if (file.read(&probe, 1) > 0) {
                        throw QorError(tooLargeText());
                    }
                    break;
                }
                text.bytes.resize(done + kPieceBytes);
            }
            const qint64 read = file.read(text.bytes.data() + done,
                                          std::min(kPieceBytes, text.bytes.size() - done));
            if (read < 0) {
                throw QorError(file.errorString().toStdString());
            }
            if (read == 0) {
                break;
            }
            done += read;
            if (progress && !progress(done, std::max(size, done))) {
                return std::nullopt;
            }
        }
        text.bytes.resize(done);
        text.index = indexLines(text.bytes);
    } catch (const std::bad_alloc&) {
        throw QorError(
            QCoreApplication::translate("qor::gui::ExportTextView", "Out of memory").toStdString());
    }
    return text;
}

}  // namespace qor::gui
