// Opening an export file into the document window by each flow: the dialog, the command
// line, a recent file and drag and drop, with their error paths.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <vector>

#include "core/base/qor_error.h"
#include "core/platform/path_names.h"
#include "gui/base/main_status_bar.h"
#include "gui/base/widget_helpers.h"
#include "gui/document/document_window.h"
#include "gui/document/export_text_view.h"
#include "gui/scan/progress_window.h"
#include "gui/shell/main_window.h"
#include "support/app_fixture.h"
#include "support/window_opens.h"

using qor::gui::MainWindow;
using qor::testing::AppFixture;

namespace {

// Records every caption a document window is given.
class CaptionRecorder : public QObject {
    Q_OBJECT

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

// The captions a document window passes through while the dialog opens `path`.
QStringList openRecorded(AppFixture& fixture, MainWindow& window, const std::string& path) {
    CaptionRecorder recorder;
    qApp->installEventFilter(&recorder);
    fixture.desktop.chosenFiles = {path};
    window.openWithDialog();
    qor::testing::openEnded(window);
    qApp->removeEventFilter(&recorder);
    return recorder.captions;
}

QString captionOf(const MainWindow& window) {
    return window.activeDocument()->parentWidget()->windowTitle();
}

// The window is ready to scan the file at `path`, which it shows.
void checkShown(const MainWindow& window, const std::string& path) {
    QCOMPARE(captionOf(window), qor::gui::shownPath(path));
    QVERIFY(window.commands().scanFile->isEnabled());
    QVERIFY(window.progressWindow().isHidden());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

}  // namespace

class DocumentFlowsTest : public QObject {
    Q_OBJECT

private slots:
    void dialogOpenShowsFileAndNode() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        QCOMPARE(openRecorded(fixture, window, fixture.samplePath()).value(0),
                 QString("Document 1"));
        checkShown(window, fixture.samplePath());
        QVERIFY(window.documents().subWindowList().first()->isMaximized());  // fills the frame
        QCOMPARE(fixture.session.databasePath, fixture.samplePath());
        QCOMPARE(window.recentFiles().count(), 1);
        QVERIFY(fixture.boxes.errors.empty());

        const qor::gui::ExportTextView& text = window.activeDocument()->textView();
        const std::string bytes = qor::testing::readFile(fixture.samplePath());
        QCOMPARE(text.lineCount(), qsizetype(std::count(bytes.begin(), bytes.end(), '\n')));
        QCOMPARE(text.lineText(0), QString::fromLatin1(bytes.substr(0, bytes.find('\r'))));

        const auto& node = fixture.session.nodeInfo;
        QCOMPARE(node.nodeNumber, std::string("12"));
        // However narrow the window, the node number is shown whole.
        window.show();
        window.resize(260, 200);
        auto* panel2 = window.statusBarPanels().findChild<QLabel*>("sbStatusBar_Panel2");
        QTRY_VERIFY(panel2->contentsRect().width() >=
                    panel2->fontMetrics().horizontalAdvance(panel2->text()));
        for (const auto& [panel, value] :
             {std::pair{1, node.generationDate}, {2, node.nodeNumber}, {3, node.nodeDescription}}) {
            QVERIFY(
                window.statusBarPanels().panelText(panel).endsWith(QString::fromStdString(value)));
        }
    }

    // The status bar reads the node description as the document window shows its line.
    void descriptionReadsAlikeEverywhere_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Latin-1") << QByteArray("Kesselhaus Z\xFCrich");
        QTest::newRow("UTF-8") << QByteArray("Kesselhaus Z\xC3\xBCrich");
    }
    void descriptionReadsAlikeEverywhere() {
        QFETCH(QByteArray, bytes);
        AppFixture fixture;
        MainWindow window(fixture.context);
        const std::string path = fixture.folder.write(
            "node.qor", "AC450_1        AC450\r\n  :DESCR         " + bytes.toStdString() + "\r\n");
        QVERIFY(qor::testing::openedByPath(window, path));
        const QString shown = QStringLiteral("Kesselhaus Z\u00FCrich");
        QCOMPARE(window.activeDocument()->textView().lineText(1).mid(17), shown);
        QCOMPARE(window.statusBarPanels().panelText(3), "Node Descr.:  " + shown);
        QCOMPARE(fixture.session.nodeInfo.nodeDescription, bytes.toStdString());  // bytes kept
    }

    void windowIsReusedAndNumbered() {
        AppFixture fixture;
        const auto second = fixture.folder.path() / "second.qor";
        std::filesystem::copy_file(fixture.samplePath(), second);
        MainWindow window(fixture.context);
        window.show();
        fixture.desktop.chosenFiles = {fixture.samplePath(), second.string()};
        for (int i = 0; i < 2; ++i) {
            window.openWithDialog();
            QVERIFY(qor::testing::openEnded(window));
        }
        QCOMPARE(window.documents().subWindowList().size(), qsizetype{1});
        QCOMPARE(captionOf(window), qor::gui::shownPath(second.string()));

        // Closing takes the scan and compare commands and the status texts away (checked with a
        // window of changes open in comparison_window_qtest) and leaves the path.
        QVERIFY(window.commands().compare->isEnabled());
        window.documents().subWindowList().first()->close();
        QTRY_COMPARE(window.documents().subWindowList().size(), qsizetype{0});
        QVERIFY(!window.commands().scanFile->isEnabled() &&
                !window.commands().compare->isEnabled());
        QCOMPARE(fixture.session.databasePath, second.string());

        QCOMPARE(openRecorded(fixture, window, fixture.samplePath()).value(0),
                 QString("Document 2"));
        QVERIFY(window.commands().scanFile->isEnabled());
    }

    // A cancelled dialog changes nothing: with no window the path keeps its value, with one it
    // returns to the shown file. An empty command line opens nothing.
    void cancelledDialogKeepsThePath() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        fixture.session.databasePath = "earlier";
        window.openWithDialog();
        QCOMPARE(fixture.session.databasePath, std::string("earlier"));
        QVERIFY(qor::testing::openedByPath(window, ""));
        QVERIFY(window.activeDocument() == nullptr);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        fixture.session.databasePath = "changed meanwhile";
        window.openWithDialog();
        QCOMPARE(fixture.session.databasePath, fixture.samplePath());
    }

    // What cannot be read is said once by every flow, naming the file, before anything changes:
    // the window goes on showing the file that is open. A pipe is refused before anything
    // opens it (that would wait for ever).
    void unreadableFileLeavesTheShownFile_data() {
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("kind");
        for (const char* flow : {"dialog", "command line", "recent"}) {
            for (const char* kind : {"missing", "folder", "pipe"}) {
                // A recent file that has gone is a question instead (main_window_qtest).
                if (QString(flow) != "recent" || QString(kind) != "missing") {
                    QTest::addRow("%s, %s", flow, kind) << flow << kind;
                }
            }
        }
    }
    void unreadableFileLeavesTheShownFile() {
        QFETCH(QString, flow);
        QFETCH(QString, kind);
        AppFixture fixture;
        MainWindow window(fixture.context);
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        const std::string path = fixture.resultRoot() + "/bad.qor";
        if (kind == "folder") {
            std::filesystem::create_directories(path);
        } else if (kind == "pipe") {
#ifdef _WIN32
            QSKIP("a named pipe in a folder is POSIX");
#else
            QCOMPARE(mkfifo(path.c_str(), 0600), 0);
#endif
            QVERIFY_THROWS_EXCEPTION(
                qor::QorError, window.activeDocument()->loadFile(QString::fromStdString(path)));
        }
        if (flow == "dialog") {
            fixture.desktop.chosenFiles = {path};
            window.openWithDialog();
        } else if (flow == "command line") {
            window.openByPath(path);
        } else {
            window.recentFiles().addRecentFile(QString::fromStdString(path));
            window.openRecentFile(1);
        }
        QVERIFY(qor::testing::openEnded(window));
        QCOMPARE(fixture.boxes.errors.size(), std::size_t{1});
        QCOMPARE(fixture.boxes.errors[0].procedure, std::string("GetNodeInfo"));
        QVERIFY(fixture.boxes.errors[0].description.find(qor::platform::shownPath(path)) !=
                std::string::npos);
        checkShown(window, fixture.samplePath());
        QCOMPARE(fixture.session.databasePath, fixture.samplePath());
        QCOMPARE(window.statusBarPanels().panelText(2), QString("Node Number:  12"));
        QCOMPARE(window.recentFiles().count(), flow == "recent" ? 2 : 1);
    }

    // The export is read off the window's thread: while the read is held there, the window
    // answers input; Escape stops the read and leaves the shown export as it was; a newer open
    // cancels an older one, of which nothing shows.
    void openingLeavesTheWindowAnswering() {
        AppFixture fixture;
        std::vector<std::string> others;
        for (const char* name : {"second.qor", "third.qor"}) {
            others.push_back((fixture.folder.path() / name).string());
            std::filesystem::copy_file(fixture.samplePath(), others.back());
        }
        MainWindow window(fixture.context);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(qor::testing::openedByPath(window, fixture.samplePath()));
        qor::gui::ExportTextView& text = window.activeDocument()->textView();
        const qsizetype lines = text.lineCount();

        // Each read waits until the test lets the reads go.
        std::mutex mutex;
        std::condition_variable changed;
        int reads = 0;
        bool go = false;
        window.exportOpener().setReader(
            [&](const qor::gui::OpenRequest& request, const qor::gui::ReadProgress& progress) {
                {
                    std::unique_lock lock(mutex);
                    ++reads;
                    changed.notify_all();
                    changed.wait(lock, [&] { return go; });
                }
                return qor::gui::readExportToOpen(request, progress);
            });
        const auto held = [&](int count) {
            std::unique_lock lock(mutex);
            return changed.wait_for(lock, std::chrono::seconds(20), [&] { return reads >= count; });
        };
        const auto letGo = [&](bool released) {
            const std::lock_guard lock(mutex);
            go = released;
            changed.notify_all();
        };
        const auto alwaysLetGo = qScopeGuard([&] { letGo(true); });  // a failing check too

        window.openByPath(others[0]);
        QVERIFY(held(1));
        QVERIFY(window.opening() && !window.commands().scanFile->isEnabled());
        bool ticked = false;
        QTimer::singleShot(0, &window, [&ticked] { ticked = true; });
        QCoreApplication::postEvent(
            &text, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier));
        QTRY_VERIFY(ticked && text.hasSelection());
        QTest::keyClick(&text, Qt::Key_Escape);
        letGo(true);
        QVERIFY(qor::testing::openEnded(window));
        checkShown(window, fixture.samplePath());
        QCOMPARE(text.lineCount(), lines);
        QCOMPARE(fixture.session.databasePath, fixture.samplePath());
        QCOMPARE(window.statusBarPanels().panelText(2), QString("Node Number:  12"));
        QCOMPARE(window.recentFiles().count(), 1);

        letGo(false);
        window.openByPath(others[0]);
        QVERIFY(held(2));
        window.openByPath(others[1]);
        letGo(true);
        QVERIFY(qor::testing::openEnded(window));
        checkShown(window, others[1]);
        QCOMPARE(window.recentFiles().count(), 2);
        QCOMPARE(*window.recentFiles().path(2), QString::fromStdString(fixture.samplePath()));
        QVERIFY(fixture.boxes.errors.empty());
    }

    void droppedExportFileOpens() {
        AppFixture fixture;
        MainWindow window(fixture.context);
        window.show();
        auto drop = [&window, &fixture](const std::string& path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&window, &enter);
            if (!enter.isAccepted()) {
                return false;
            }
            QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
            const std::string before = fixture.session.databasePath;
            QSignalSpy ended(&window, &MainWindow::openFinished);
            QApplication::sendEvent(&window, &dropped);
            // The drop returns at once; the file opens, or its error is said, after it.
            if (!fixture.boxes.errors.empty() || fixture.session.databasePath != before) {
                return false;
            }
            return ended.wait();
        };
        // Only an export file is taken; a folder named like one is said after the drop.
        QVERIFY(!drop(fixture.resultRoot() + "/notes.txt"));
        QVERIFY(window.activeDocument() == nullptr);
        std::filesystem::create_directories(fixture.resultRoot() + "/folder.qor");
        QVERIFY(drop(fixture.resultRoot() + "/folder.qor"));
        QCOMPARE(fixture.boxes.errors.size(), std::size_t{1});
        fixture.boxes.errors.clear();
        QVERIFY(drop(fixture.samplePath()));
        checkShown(window, fixture.samplePath());
        QCOMPARE(window.recentFiles().count(), 1);
        // An export without node information opens all the same, and the status bar says so.
        QVERIFY(drop(fixture.folder.write("notes.qor", "AI1.1          AIS\n\n")));
        checkShown(window, fixture.resultRoot() + "/notes.qor");
        QCOMPARE(window.statusBarPanels().panelText(1),
                 QString("This file holds no node information"));
    }
};

QTEST_MAIN(DocumentFlowsTest)
#include "document_flows_qtest.moc"
