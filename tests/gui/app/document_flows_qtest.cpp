#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app_fixture.h"
#include "core/base/qor_error.h"
#include "gui/app/document_window.h"
#include "gui/app/export_text_view.h"
#include "gui/app/main_status_bar.h"
#include "gui/app/main_window.h"
#include "gui/output/progress_window.h"

using qor::gui::MainWindow;
using qor::testing::AppFixture;

namespace {

// Records every caption a document window is given.
class CaptionRecorder : public QObject {
public:
    QStringList captions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange &&
            qobject_cast<QMdiSubWindow*>(watched) != nullptr) {
            captions << static_cast<QWidget*>(watched)->windowTitle();
        }
        return false;
    }
};

QString captionOf(const MainWindow& window) {
    return window.activeDocument()->parentWidget()->windowTitle();
}

}  // namespace

class DocumentFlowsTest : public QObject {
    Q_OBJECT

private slots:
    void dialogOpenShowsFileAndNode();
    void windowIsReusedAndNumbered();
    void failedOpenReturnsToTheShownFile();
    void commandLineAndRecentFlows();
    void droppedExportFileOpens();
};

void DocumentFlowsTest::dialogOpenShowsFileAndNode() {
    AppFixture fixture;
    MainWindow window(fixture.context);
    CaptionRecorder recorder;
    qApp->installEventFilter(&recorder);
    fixture.desktop.chosenFiles.push_back(fixture.samplePath());
    window.menuItem("keyOpen")->trigger();
    qApp->removeEventFilter(&recorder);

    const auto& call = fixture.desktop.dialogCalls.at(0);
    QCOMPARE(call.title, std::string("Open Data Base File..."));
    QCOMPARE(call.filters.at(0).description, std::string("Data Base Files (*.qor)"));
    QCOMPARE(call.filters.at(0).patterns, std::string("*.qor"));
    QCOMPARE(call.defaultSuffix, std::string("qor"));

    QCOMPARE(recorder.captions.value(0), QString("Document 1"));
    QCOMPARE(captionOf(window), QString::fromStdString(fixture.samplePath()));
    QCOMPARE(fixture.session.databasePath, fixture.samplePath());
    QVERIFY(window.menuItem("keyScanFile")->isEnabled());
    QVERIFY(window.toolbarButton(1)->isEnabled());
    QCOMPARE(window.recentFiles().count(), 1);

    // The text is the file's, line for line, in a fixed-pitch font.
    const qor::gui::ExportTextView& text = window.activeDocument()->rtfText();
    std::ifstream file(fixture.samplePath(), std::ios::binary);
    std::string firstLine;
    std::getline(file, firstLine);
    if (!firstLine.empty() && firstLine.back() == '\r') {
        firstLine.pop_back();
    }
    QCOMPARE(text.lineText(0), QString::fromLatin1(firstLine.c_str()));
    QCOMPARE(text.lineCount(),
             qsizetype{std::count(
                 std::istreambuf_iterator<char>(std::ifstream(fixture.samplePath()).rdbuf()), {},
                 '\n')});
    QVERIFY(QFontInfo(text.font()).fixedPitch());

    const auto& node = fixture.session.nodeInfo;
    QVERIFY(!node.nodeNumber.empty());
    QCOMPARE(window.statusBarPanels().panelText(1),
             "Data Base file (*.BA) generated with Online Builder at: " +
                 QString::fromStdString(node.generationDate));
    QCOMPARE(window.statusBarPanels().panelText(2),
             "Node Number:  " + QString::fromStdString(node.nodeNumber));
    QCOMPARE(window.statusBarPanels().panelText(3),
             "Node Descr.:  " + QString::fromStdString(node.nodeDescription));
    QVERIFY(window.progressWindow().isHidden());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(fixture.boxes.errors.empty());
}

void DocumentFlowsTest::windowIsReusedAndNumbered() {
    AppFixture fixture;
    const auto second = fixture.folder.path() / "second.qor";
    std::filesystem::copy_file(fixture.samplePath(), second);
    MainWindow window(fixture.context);
    window.show();
    fixture.desktop.chosenFiles = {fixture.samplePath(), second.string()};
    window.openWithDialog();
    window.openWithDialog();
    QCOMPARE(window.documents().subWindowList().size(), qsizetype{1});
    QCOMPARE(captionOf(window), QString::fromStdString(second.string()));

    // Closing takes the scan command away and leaves the status texts.
    const QString panel2 = window.statusBarPanels().panelText(2);
    window.documents().subWindowList().first()->close();
    QApplication::processEvents();
    QTRY_COMPARE(window.documents().subWindowList().size(), qsizetype{0});
    QVERIFY(!window.menuItem("keyScanFile")->isEnabled());
    QVERIFY(!window.toolbarButton(1)->isEnabled());
    QCOMPARE(window.statusBarPanels().panelText(2), panel2);
    QCOMPARE(fixture.session.databasePath, second.string());

    CaptionRecorder recorder;
    qApp->installEventFilter(&recorder);
    fixture.desktop.chosenFiles = {fixture.samplePath()};
    window.openWithDialog();
    qApp->removeEventFilter(&recorder);
    QCOMPARE(recorder.captions.value(0), QString("Document 2"));
    QVERIFY(window.menuItem("keyScanFile")->isEnabled());
}

void DocumentFlowsTest::failedOpenReturnsToTheShownFile() {
    AppFixture fixture;
    MainWindow window(fixture.context);
    // Cancelled with no window: the path keeps its value.
    fixture.session.databasePath = "earlier";
    window.openWithDialog();
    QCOMPARE(fixture.session.databasePath, std::string("earlier"));

    fixture.desktop.chosenFiles = {fixture.samplePath()};
    window.openWithDialog();
    // A typed name of a file that does not exist: the node passes report their errors, the
    // flow ends silently and the path returns to the shown window's caption.
    const std::string missing = fixture.resultRoot() + "/missing.qor";
    fixture.desktop.chosenFiles = {missing};
    window.openWithDialog();
    QCOMPARE(fixture.session.databasePath, missing);  // the caption was already replaced
    QCOMPARE(fixture.boxes.errors.size(), std::size_t{2});
    QCOMPARE(fixture.boxes.errors[0].procedure, std::string("GetNodeInfo"));
    QCOMPARE(window.recentFiles().count(), 1);
    QVERIFY(window.progressWindow().isHidden());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Cancel now returns to the active window's caption.
    window.openWithDialog();
    QCOMPARE(fixture.session.databasePath, captionOf(window).toStdString());

    // A pipe is refused with one message before anything opens it (that would wait for ever).
    const std::string pipe = fixture.resultRoot() + "/pipe.qor";
    QCOMPARE(mkfifo(pipe.c_str(), 0600), 0);
    fixture.desktop.chosenFiles = {pipe};
    window.openWithDialog();
    QCOMPARE(fixture.boxes.errors.size(), std::size_t{3});
    QVERIFY(fixture.boxes.errors[2].description.find("is a pipe") != std::string::npos);
    QCOMPARE(fixture.session.databasePath, captionOf(window).toStdString());
    QVERIFY_THROWS_EXCEPTION(qor::QorError,
                             window.activeDocument()->loadFile(QString::fromStdString(pipe)));
}

void DocumentFlowsTest::commandLineAndRecentFlows() {
    AppFixture fixture;
    MainWindow window(fixture.context);
    window.openByPath("");
    QVERIFY(window.activeDocument() == nullptr);

    window.openByPath(fixture.samplePath());
    QCOMPARE(captionOf(window), QString::fromStdString(fixture.samplePath()));
    QVERIFY(window.menuItem("keyScanFile")->isEnabled());
    QCOMPARE(*window.recentFiles().path(1), QString::fromStdString(fixture.samplePath()));

    // The command-line flow lets a read failure through to start-up.
    const auto unreadable = fixture.folder.path() / "folder.qor";
    std::filesystem::create_directories(unreadable);
    bool thrown = false;
    try {
        window.openByPath(unreadable.string());
    } catch (...) {
        thrown = true;
    }
    QVERIFY(thrown);

    // The recent-file flow skips a failing step and carries on to the status bar.
    fixture.boxes.errors.clear();
    window.recentFiles().addRecentFile(QString::fromStdString(unreadable.string()));
    window.openRecentFile(2);
    QCOMPARE(captionOf(window), QString::fromStdString(unreadable.string()));
    QVERIFY(window.menuItem("keyScanFile")->isEnabled());
    QVERIFY(window.statusBarPanels().panelText(2).startsWith("Node Number:  "));
    QVERIFY(window.progressWindow().isHidden());
}

void DocumentFlowsTest::droppedExportFileOpens() {
    AppFixture fixture;
    MainWindow window(fixture.context);
    window.show();
    auto drop = [&window](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        return true;
    };
    // Only an export file is taken.
    QVERIFY(!drop(QString::fromStdString(fixture.resultRoot() + "/notes.txt")));
    QVERIFY(window.activeDocument() == nullptr);
    QVERIFY(drop(QString::fromStdString(fixture.samplePath())));
    QCOMPARE(captionOf(window), QString::fromStdString(fixture.samplePath()));
    QVERIFY(window.menuItem("keyScanFile")->isEnabled());
    QCOMPARE(window.recentFiles().count(), 1);
}

QTEST_MAIN(DocumentFlowsTest)
#include "document_flows_qtest.moc"
