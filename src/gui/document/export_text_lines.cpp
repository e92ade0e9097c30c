#include "gui/document/export_text_lines.h"

#include "gui/base/export_text_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>

#include "core/base/ascii.h"

namespace qor::gui {
namespace {

constexpr int kTabWidth = 8;

const char* find(const char* from, const char* end, char wanted) {
    return static_cast<const char*>(std::memchr(from, wanted, static_cast<size_t>(end - from)));
}

bool hasTab(const char* data, qsizetype size) {
    return size > 0 && find(data, data + size, '\t') != nullptr;
}

qint64 nextColumn(char c, qint64 column, bool utf8 = false) {
    if (utf8 && continuesCharacter(c)) {
        return column;
    }
    return c == '\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
}

// Lines whose columns are their byte offsets: no tab, one byte a character.
bool columnsAreBytes(const char* data, qsizetype size, bool utf8) {
    return !utf8 && !hasTab(data, size);
}

// The screen column where the character at `index` begins, tabs expanded.

// The character boundary nearest to a screen column given in fractions of a column.

// C0 and C1 controls have no glyph in a fixed-pitch font and would shift the columns after them.

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// The characters shown in screen columns [first, first + count) of a line.

// The length of a line once its end (CR LF, CR or LF) is cut off; no line holds a CR or LF.

template <typename Found>

void forEachLineEnd(const char* data, const char* end, Found found) {
    const char* cr = find(data, end, '\r');
    const char* lf = find(data, end, '\n');
    while (cr != nullptr || lf != nullptr) {
        const char* stop = (cr != nullptr && (lf == nullptr || cr < lf)) ? cr : lf;
        const char* next = stop + 1;
        if (stop == cr && next < end && *next == '\n') {
            ++next;
        }
        found(stop, next);
        if (cr != nullptr && cr < next) {
            cr = find(next, end, '\r');
        }
        if (lf != nullptr && lf < next) {
            lf = find(next, end, '\n');
        }
    }
}

// Sized from the line count of the first megabyte, so that the index of a big file is neither

// copied while it grows nor left with a large unused tail; capped for files whose start is

// unlike the rest.

size_t expectedLines(const char* data, qsizetype size) {
    const qsizetype sample = std::min<qsizetype>(size, qsizetype{1} << 20);
    qsizetype ends = 0;
    forEachLineEnd(data, data + sample, [&](const char*, const char*) { ++ends; });
    const double estimate = static_cast<double>(ends + 1) * static_cast<double>(size) /
                            static_cast<double>(sample) * 1.05;
    return static_cast<size_t>(std::min(estimate, static_cast<double>(size) / 8)) + 16;
}

}  // namespace

qint64 columnOf(const char* data, qsizetype index, bool utf8) {
    if (columnsAreBytes(data, index, utf8)) {
        return index;
    }
    qint64 column = 0;
    for (qsizetype i = 0; i < index; ++i) {
        column = nextColumn(data[i], column, utf8);
    }
    return column;
}

qsizetype indexNear(const char* data, qsizetype size, double column, bool utf8) {
    if (column <= 0) {
        return 0;
    }
    if (columnsAreBytes(data, size, utf8)) {
        return static_cast<qsizetype>(
            std::min<double>(static_cast<double>(size), std::round(column)));
    }
    qint64 start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (utf8 && continuesCharacter(data[i])) {
            continue;  // only character starts are boundaries
        }
        const qint64 next = nextColumn(data[i], start, utf8);
        if (column < static_cast<double>(start + next) / 2) {
            return i;
        }
        start = next;
    }
    return size;
}

QString visibleText(const char* data, qsizetype size, qint64 first, qint64 count, QChar substitute,
                    TextEncoding encoding) {
    const bool utf8 = encoding == TextEncoding::Utf8;
    QString text;
    qsizetype i = 0;
    qint64 column = 0;
    const qsizetype prefix = static_cast<qsizetype>(std::min<qint64>(size, first));
    if (columnsAreBytes(data, prefix, utf8)) {
        i = prefix;
        column = prefix;
    }
    const qint64 end = first + count;
    text.reserve(static_cast<qsizetype>(count));
    for (; i < size && column < end; ++i) {
        const qint64 next = nextColumn(data[i], column, utf8);
        const auto byte = static_cast<uchar>(data[i]);
        if (byte == '\t') {
            const qint64 spaces = std::min(next, end) - std::max(column, first);
            if (spaces > 0) {
                text.append(QString(static_cast<qsizetype>(spaces), QLatin1Char(' ')));
            }
        } else if (utf8 && byte >= 0x80) {
            qsizetype length = 1;
            while (i + length < size && continuesCharacter(data[i + length])) {
                ++length;
            }
            if (column >= first && !continuesCharacter(data[i])) {
                text.append(QString::fromUtf8(data + i, length));
            }
            i += length - 1;
        } else if (column >= first) {
            const char32_t c = codePageCharacter(byte, encoding);
            text.append(isControl(c) ? substitute : QChar(static_cast<char16_t>(c)));
        }
        column = next;
    }
    return text;
}

qsizetype withoutLineEnd(const char* data, qsizetype size) {
    if (size > 0 && data[size - 1] == '\n') {
        --size;
    }
    if (size > 0 && data[size - 1] == '\r') {
        --size;
    }
    return size;
}

LineIndex indexLines(const QByteArray& bytes) {
    LineIndex index;
    if (bytes.isEmpty()) {
        return index;
    }
    const char* const data = bytes.constData();
    const char* const end = data + bytes.size();
    index.starts.reserve(expectedLines(data, bytes.size()));
    index.starts.push_back(0);
    const char* lineStart = data;
    forEachLineEnd(data, end, [&](const char* stop, const char* next) {
        index.widestColumns = std::max<qint64>(index.widestColumns, stop - lineStart);
        lineStart = next;
        if (next < end) {  // a line end at the very end starts no further line
            index.starts.push_back(static_cast<quint32>(next - data));
        }
    });
    index.widestColumns = std::max<qint64>(index.widestColumns, end - lineStart);
    index.starts.push_back(static_cast<quint32>(bytes.size()));
    if (index.starts.capacity() > index.starts.size() + index.starts.size() / 4 + 1024) {
        index.starts.shrink_to_fit();
    }

    // Tabs are rare in exports: widen only the lines that hold one.
    for (const char* tab = find(data, end, '\t'); tab != nullptr;) {
        const auto offset = static_cast<quint32>(tab - data);
        const auto after = std::upper_bound(index.starts.begin(), index.starts.end() - 1, offset);
        const char* begin = data + *(after - 1);
        const char* limit = data + *after;
        const qsizetype size = withoutLineEnd(begin, limit - begin);
        index.widestColumns = std::max(index.widestColumns, columnOf(begin, size));
        tab = find(limit, end, '\t');
    }
    return index;
}

// Where `needle` starts in `bytes` at or after `from` (before `from`, `backward`); -1 for
// nowhere. ASCII letters match in any case unless `matchCase`; a large file is searched without
// a copy.
qsizetype search(std::string_view bytes, const QByteArray& needle, qsizetype from, bool backward,
                 bool matchCase) {
    const auto fold = [matchCase](char c) { return matchCase ? c : foldAscii(c); };
    const auto same = [fold](char a, char b) { return fold(a) == fold(b); };
    const auto hash = [fold](char c) { return std::hash<char>()(fold(c)); };
    const auto size = static_cast<qsizetype>(bytes.size());
    if (!backward) {
        const auto begin = bytes.begin() + std::clamp<qsizetype>(from, 0, size);
        const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end(), hash, same);
        const auto found = std::search(begin, bytes.end(), searcher);
        return found == bytes.end() ? -1 : found - bytes.begin();
    }
    const std::string reversed(needle.rbegin(), needle.rend());
    const auto end =
        std::make_reverse_iterator(bytes.begin() + std::clamp<qsizetype>(from, 0, size));
    const std::boyer_moore_horspool_searcher searcher(reversed.begin(), reversed.end(), hash, same);
    const auto found = std::search(end, bytes.rend(), searcher);
    return found == bytes.rend() ? -1 : (bytes.rend() - found) - needle.size();
}

}  // namespace qor::gui
