#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <string_view>
#include <vector>

#include "core/base/text_encoding.h"

// How the export text view finds its lines and columns: line starts indexed once, tabs
// expanded to every eighth column, control characters shown as a substitute. A line read as
// UTF-8 (`utf8`, see export_text_encoding.h) gives each character one column, whatever its
// bytes; any other line, each byte.
namespace qor::gui {

struct LineIndex {
    std::vector<quint32> starts;  // one past the last line: the end of the text
    qint64 widestColumns = 0;
};

// The start of every line (CR LF, CR or LF ends one) and the widest line in screen columns.
LineIndex indexLines(const QByteArray& bytes);

// The screen column where the character at `index` begins, tabs expanded.
qint64 columnOf(const char* data, qsizetype index, bool utf8 = false);
// The character boundary nearest to a screen column given in fractions of a column.
qsizetype indexNear(const char* data, qsizetype size, double column, bool utf8 = false);
// The characters shown in screen columns [first, first + count) of a line read in `encoding`.
QString visibleText(const char* data, qsizetype size, qint64 first, qint64 count, QChar substitute,
                    TextEncoding encoding = TextEncoding::Latin1);
// Where `needle` starts in `bytes` at or after `from` (before `from`, `backward`); -1 for
// nowhere. ASCII letters match in any case unless `matchCase`; a large file is searched without
// a copy.
qsizetype search(std::string_view bytes, const QByteArray& needle, qsizetype from, bool backward,
                 bool matchCase);
// The length of a line once its end (CR LF, CR or LF) is cut off.
qsizetype withoutLineEnd(const char* data, qsizetype size);

}  // namespace qor::gui
