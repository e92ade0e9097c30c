// The read-only text view of export files: line splitting, failed loads, selection, its
// painting and copy, scrolling and the speed of indexing a large file.
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>
#include <string>

#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/document/find_bar.h"
#include "support/temp_dir.h"
#include "support/thrown.h"

using qor::gui::ExportTextView;
using qor::testing::TempDir;

namespace {

void load(ExportTextView& view, const TempDir& dir, const std::string& bytes) {
    view.loadFile(QString::fromStdString(dir.write("export.qor", bytes)));
}

QStringList shownLines(const ExportTextView& view) {
    QStringList lines;
    for (qsizetype i = 0; i < view.lineCount(); ++i) {
        lines << view.lineText(i);
    }
    return lines;
}

// A point inside the left half of a character cell, which selects the boundary before it.
QPoint cellPoint(const ExportTextView& view, int line, int column) {
    const QFontMetrics metrics(view.font());
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    return {column * width + width / 2, line * metrics.lineSpacing() + metrics.lineSpacing() / 2};
}

// Pixels painted in the highlight colour, as a selection is drawn.
int highlightedPixels(ExportTextView& view) {
    const QRgb highlight = view.palette().color(QPalette::Highlight).rgb();
    const QImage image = view.viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == highlight ? 1 : 0;
        }
    }
    return count;
}

void drag(ExportTextView& view, QPoint from, QPoint to) {
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view.viewport(), to);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
}

}  // namespace

class ExportTextViewTest : public QObject {
    Q_OBJECT

private slots:
    // Lines of exports in each encoding, read as the export's decision ("Automatic" or the
    // encoding chosen) reads them; a line of a UTF-8 export that is not UTF-8 in Windows-1250.
    void splitsAndDecodesLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, const char* bytes, const char* encoding,
                            const QStringList& lines) {
            QTest::newRow(name) << QByteArray(bytes) << QString(encoding) << lines;
        };
        row("mixed", "a\r\nb\rc\nd\r\r\ne", "Automatic", {"a", "b", "c", "d", "", "e"});
        row("LF before CR", "\n\r", "Automatic", {"", ""});
        row("empty file", "", "Automatic", {});
        row("tab and control kept", "k\t=\x01v\n", "Automatic", {"k\t=\u0001v"});
        row("UTF-8 detected",
            "caf\xC3\xA9 \xE2\x82\xAC\r\nSpeisewasser \xC2\xB0"
            "C",
            "Automatic", {"caf\u00E9 \u20AC", "Speisewasser \u00B0C"});
        row("UTF-8 chosen, a stray line in Windows-1250", "caf\xC3\xA9\r\n\xC3\x28", "UTF-8",
            {"caf\u00E9", "\u0102("});
        row("Windows-1250 detected",
            "\xC8"
            "erpadlo \x96 \xB0"
            "C\r\n\x8A",
            "Automatic", {"\u010Cerpadlo \u2013 \u00B0C", "\u0160"});
        row("Windows-1252 chosen", "\xD6lbrenner \x96 \x80\r\n\x8A", "Windows-1252",
            {"\u00D6lbrenner \u2013 \u20AC", "\u0160"});
    }
    void splitsAndDecodesLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QStringList, lines);
        TempDir dir;
        ExportTextView view;
        qor::EncodingEvidence evidence;
        evidence.add(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        view.setTextEncoding(
            qor::decideEncoding(qor::choiceNamed(encoding.toStdString()), evidence));
        load(view, dir, bytes.toStdString());
        QCOMPARE(shownLines(view), lines);
        QCOMPARE(view.lineText(lines.size()), QString());
    }

    void failedLoadKeepsShownText() {
        TempDir dir;
        ExportTextView view;
        load(view, dir, "kept\r\ntext\r\n");
        const QString missing = QString::fromStdString(dir.file("missing.qor"));
        for (const QString& path : {QString::fromStdString(dir.str()), missing}) {
            QFile probe(path);
            QVERIFY(!probe.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromStdString(qor::testing::errorFrom([&] { view.loadFile(path); })),
                     probe.errorString());
            QCOMPARE(shownLines(view), QStringList({"kept", "text"}));
        }
    }

    void mouseSelectionAndCopy() {
        TempDir dir;
        ExportTextView view;
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        load(view, dir, "alpha beta\r\ngamma delta\repsilon\n");
        QClipboard* clipboard = QGuiApplication::clipboard();
        QCOMPARE(highlightedPixels(view), 0);

        drag(view, cellPoint(view, 0, 6), cellPoint(view, 1, 5));
        QCOMPARE(view.selectedText(), QStringLiteral("beta\ngamma"));
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("beta\ngamma"));

        drag(view, cellPoint(view, 2, 3), cellPoint(view, 1, 6));
        QCOMPARE(view.selectedText(), QStringLiteral("delta\neps"));
        drag(view, cellPoint(view, 1, 2), cellPoint(view, 1, 2));
        QVERIFY(!view.hasSelection());

        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cellPoint(view, 1, 8));
        QCOMPARE(view.selectedText(), QStringLiteral("delta"));

        // Everything, line ends included, with "\n" for each kind of line end.
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        view.findChild<QAction*>(QStringLiteral("actCopy"))->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("alpha beta\ngamma delta\nepsilon\n"));
        QVERIFY(highlightedPixels(view) > 0);
        load(view, dir, "no\rend");
        QVERIFY(!view.hasSelection());
        view.findChild<QAction*>(QStringLiteral("actSelectAll"))->trigger();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("no\nend"));

        // Over the limit the clipboard keeps what it had rather than a part of the selection.
        view.setCopyLimit(5);
        clipboard->setText(QStringLiteral("before"));
        view.copy();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        // A UTF-8 line gives each character one column, so a drag selects whole characters.
        load(view, dir, "\xC3\xA9t\xC3\xA9 ok\r\n");
        drag(view, cellPoint(view, 0, 0), cellPoint(view, 0, 3));
        QCOMPARE(view.selectedText(), QStringLiteral("\u00E9t\u00E9"));
    }

    // The columns of an export line up on any system: the font the view gets is monospaced,
    // also where the system's fixed font is missing (a new wine prefix has no Courier New).
    void fontIsMonospaced() {
        ExportTextView view;
        const QFontInfo info(view.font());
        const QFontMetricsF metrics(view.font());
        QVERIFY2(info.fixedPitch(), qPrintable(info.family()));
        QCOMPARE(metrics.horizontalAdvance("iiii.."), metrics.horizontalAdvance("WWWW00"));
    }

    // Whatever the font's own advance, a line of n characters is drawn n columns wide, so
    // that the match marks, the selection and clicks, placed by column, meet the characters.
    void textIsDrawnOnTheColumnGrid() {
        ExportTextView view;
        const QString line = "  :DESCR         Boiler house 2 feed water and burners";
        for (const qreal points : {8.0, 9.5, 10.5, 11.25, 13.0}) {
            QFont font = view.font();
            font.setPointSizeF(points);
            view.setFont(font);
            QCOMPARE(qRound(QFontMetricsF(view.paintFont()).horizontalAdvance(line)),
                     int(line.size()) * view.columnWidth());
        }
    }

    void scrollBarsAndKeysFollowTheText() {
        TempDir dir;
        ExportTextView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QScrollBar* vertical = view.verticalScrollBar();
        QScrollBar* horizontal = view.horizontalScrollBar();
        const int charWidth = view.columnWidth();

        std::string text;
        for (int i = 0; i < 1000; ++i) {
            text += "line " + std::to_string(i) + "\r\n";
        }
        load(view, dir, text);
        QVERIFY(vertical->pageStep() > 1);
        QVERIFY(vertical->pageStep() * QFontMetrics(view.font()).lineSpacing() <=
                view.viewport()->height());
        QCOMPARE(vertical->maximum() + vertical->pageStep(), 1000);
        QCOMPARE(horizontal->maximum(), 0);

        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(vertical->value(), 1);
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(vertical->value(), 1 + vertical->pageStep());
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(vertical->value(), vertical->maximum());
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(vertical->value(), 0);

        // Tabs widen a line to the next multiple of eight columns.
        load(view, dir, "short\n" + std::string(100, '\t') + "x\n");
        QCOMPARE(vertical->maximum(), 0);
        QVERIFY(horizontal->maximum() + view.viewport()->width() >= 801 * charWidth);
        QVERIFY(horizontal->maximum() + view.viewport()->width() < 810 * charWidth);
        QTest::keyClick(&view, Qt::Key_End);
        QCOMPARE(horizontal->value(), horizontal->maximum());

        view.clear();
        QCOMPARE(view.lineCount(), 0);
        QCOMPARE(vertical->maximum(), 0);
        QCOMPARE(horizontal->maximum(), 0);
    }

    void indexesAndSearchesALargeFile() {
        TempDir dir;
        std::string text;
        text.reserve(21 * 1024 * 1024);
        int lines = 0;
        std::string last;
        while (text.size() < 20 * 1024 * 1024) {
            last = "    :PARAM" + std::to_string(lines) + std::string(lines % 40, ' ') + "VALUE";
            text += last + (lines % 3 == 0 ? "\r\n" : lines % 3 == 1 ? "\n" : "\r");
            ++lines;
        }
        const QString path = QString::fromStdString(dir.write("big.qor", text));
        ExportTextView view;
        QElapsedTimer timer;
        timer.start();
        view.loadFile(path);
        const qint64 elapsed = timer.elapsed();
        qInfo("loading and indexing %d MB took %lld ms", 20, elapsed);
        QCOMPARE(view.lineCount(), qsizetype{lines});
        QCOMPARE(view.lineText(lines - 1), QString::fromStdString(last));
        // The last line is found from the top (the time is for reading: benchmarks judge it).
        timer.start();
        QVERIFY(view.find(QString::fromStdString(last)));
        qInfo("finding the last line took %lld ms", timer.elapsed());
        QCOMPARE(view.selectedText(), QString::fromStdString(last));
        // Counting reads the whole file for a rare text and stops early for a common one.
        for (const auto& [needle, total] :
             {std::pair{last, qsizetype{1}},
              {std::string("param"), ExportTextView::kMatchCountLimit}}) {
            timer.start();
            const ExportTextView::MatchCount count =
                view.countMatches(QString::fromStdString(needle), false);
            qInfo("counting \"%s\" took %lld ms", needle.c_str(), timer.elapsed());
            QCOMPARE(count.total, total);
            QCOMPARE(count.capped, total > 1);
        }
    }

    // Ctrl+F finds forward and, with Shift+Enter, backward, in any case, as UTF-8 or code page
    // bytes, round the end of the file.
    void findsTextBothWays() {
        TempDir dir;
        qor::gui::DocumentWindow window;
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.loadFile(QString::fromStdString(
            dir.write("export.qor", "Alpha beta\r\n  ALPHA\r\nz caf\xC3\xA9\r\ncaf\xE9 z\r\n")));
        QTest::keyClick(&window.textView(), Qt::Key_F, Qt::ControlModifier);
        auto* text = window.findChild<QLineEdit*>("txtFind");
        QVERIFY(window.findBar().isVisible() && text->hasFocus());
        QTest::keyClicks(text, "alpha");
        const qor::gui::ExportTextView& view = window.textView();
        for (const auto& [modifiers, found] : {std::pair{Qt::NoModifier, "Alpha"},
                                               {Qt::NoModifier, "ALPHA"},
                                               {Qt::NoModifier, "Alpha"},
                                               {Qt::ShiftModifier, "ALPHA"}}) {
            QTest::keyClick(text, Qt::Key_Return, modifiers);
            QCOMPARE(view.selectedText(), QString(found));
        }
        QCOMPARE(view.selectedText(), view.lineText(1).trimmed());
        text->setText(QStringLiteral("caf\u00E9"));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(window.findBar().findNext());
            QCOMPARE(view.selectedText(), QStringLiteral("caf\u00E9"));
        }
        text->setText("gamma");
        QVERIFY(!window.findBar().findNext());
        QCOMPARE(window.findChild<QLabel*>("lblFindResult")->text(), QString("Not found"));
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY(!window.findBar().isVisible());
    }

    // Going to a line selects it whole and scrolls it into view; a number past the end goes to
    // the last line.
    void goesToLine() {
        TempDir dir;
        ExportTextView view;
        view.resize(400, 200);
        std::string text;
        for (int i = 1; i <= 500; ++i) {
            text += "line " + std::to_string(i) + "\r\n";
        }
        load(view, dir, text);
        for (const auto& [index, shown] :
             {std::pair{qsizetype{299}, 299}, {qsizetype{9999}, 499}}) {
            view.goToLine(index);
            QCOMPARE(view.selectedText(), QStringLiteral("line %1").arg(shown + 1));
            const QScrollBar* bar = view.verticalScrollBar();
            QVERIFY(bar->value() <= shown && shown < bar->value() + bar->pageStep());
        }
    }

    // Line numbers take a margin as wide as the largest number, left of the text, and give it
    // back when turned off.
    void togglesLineNumbers() {
        TempDir dir;
        ExportTextView view;
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        load(view, dir, std::string(1000, '\n'));
        const int textLeft = view.viewport()->x();
        const auto* margin = view.findChild<QWidget*>("lineNumbers");
        QVERIFY(!margin->isVisible());
        view.setLineNumbersShown(true);
        QVERIFY(margin->isVisible());
        QVERIFY(margin->width() >= 4 * QFontMetrics(view.font()).horizontalAdvance('0'));
        QCOMPARE(view.viewport()->x(), textLeft + margin->width());
        view.setLineNumbersShown(false);
        QVERIFY(!margin->isVisible());
        QCOMPARE(view.viewport()->x(), textLeft);
    }

    // The find bar tells which match of how many it stopped on, counting a text found as UTF-8
    // and as code page bytes once each place, and stops counting at the limit.
    void countsMatches_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("total");
        QTest::newRow("any case") << "alpha" << false << 3;
        QTest::newRow("match case") << "alpha" << true << 1;
        QTest::newRow("two encodings") << QStringLiteral("caf\u00E9") << false << 2;
        QTest::newRow("capitals, match case") << QStringLiteral("CAF\u00C9") << true << 0;
    }
    void countsMatches() {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(int, total);
        TempDir dir;
        qor::gui::DocumentWindow window;
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.loadFile(QString::fromStdString(dir.write(
            "export.qor", "Alpha beta alpha\r\n  ALPHA\r\nz caf\xC3\xA9\r\ncaf\xE9 z\r\n")));
        ExportTextView& view = window.textView();
        QTest::keyClick(&view, Qt::Key_F, Qt::ControlModifier);
        const QImage plain = view.viewport()->grab().toImage();
        window.findChild<QCheckBox*>("chkMatchCase")->setChecked(matchCase);
        window.findChild<QLineEdit*>("txtFind")->setText(text);
        QCOMPARE(view.viewport()->grab().toImage() != plain, total > 0);
        window.findBar().findNext();
        QCOMPARE(window.findChild<QLabel*>("lblFindResult")->text(),
                 total > 0 ? QStringLiteral("1 of %1").arg(total) : QStringLiteral("Not found"));
        const ExportTextView::MatchCount capped = view.countMatches(text, matchCase, 1);
        QCOMPARE(capped.capped, total > 1);
    }
};

QTEST_MAIN(ExportTextViewTest)
#include "export_text_view_qtest.moc"
