#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "gui/document/export_text_lines.h"

namespace qor::gui {

// An export's bytes as the text view shows them, with the index of their lines: read and
// indexed off the window's thread, then handed to the view (ExportTextView::showText).
struct ExportText {
    QByteArray bytes;
    LineIndex index;
};

// Told the bytes read so far and the file's size while a read goes on; returns false to stop it.
using ReadProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads the whole export at `path` and indexes its lines; any thread may call it. Nothing when
// `progress` stopped it. Throws QorError with the file error text when the file cannot be opened
// or read, is a pipe or device (opening one would wait for ever), or is too large to show.
std::optional<ExportText> readExportText(const QString& path, const ReadProgress& progress = {});

}  // namespace qor::gui
