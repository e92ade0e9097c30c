// Start-up: the first run registers the file association, a command-line file opens by its
// long name, and a second copy ends before any window, in-process and as a real program.
#include <sys/inotify.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "core/platform/single_instance.h"
#include "gui/document/document_window.h"
#include "gui/options/options_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/shell/splash_window.h"
#include "gui/shell/start_up.h"
#include "support/app_fixture.h"
#include "support/window_opens.h"

using qor::gui::StartUp;
using qor::testing::AppFixture;

namespace {

qor::gui::StartUpSettings settingsIn(const qor::testing::TempDir& folder) {
    return {(folder.path() / "run").string(), (folder.path() / "share").string()};
}

// Runs start-up to its end, the command-line file opened: its steps follow from the event loop.
bool started(StartUp& startUp, const QString& file) {
    return startUp.run(file) && QTest::qWaitFor([&startUp] { return startUp.done(); }) &&
           qor::testing::openEnded(*startUp.mainWindow());
}

bool associationWritten(const qor::testing::TempDir& folder) {
    return std::filesystem::exists(folder.path() / "share" / "applications" /
                                   "org.qorreader.QORReader.desktop");
}

// Counts how often the watched folders were opened or read, as listing them does (a stat is
// not seen).
class FolderReads {
public:
    explicit FolderReads(std::initializer_list<std::filesystem::path> folders)
        : inotify_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::filesystem::path& folder : folders) {
            inotify_add_watch(inotify_, folder.c_str(), IN_OPEN | IN_ACCESS);
        }
    }
    ~FolderReads() { close(inotify_); }
    FolderReads(const FolderReads&) = delete;
    FolderReads& operator=(const FolderReads&) = delete;

    int count() {
        alignas(inotify_event) char events[4096];
        for (ssize_t size = 0; (size = read(inotify_, events, sizeof events)) > 0;) {
            for (const char* at = events; at < events + size;) {
                ++count_;
                at += sizeof(inotify_event) + reinterpret_cast<const inotify_event*>(at)->len;
            }
        }
        return count_;
    }

private:
    int inotify_;
    int count_ = 0;
};

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunRegistersTheAssociation() {
        AppFixture fixture;
        std::filesystem::create_directories(fixture.folder.path() / "run");
        {
            // The splash says what happens while it happens: start-up goes on from the loop.
            StartUp startUp(fixture.context, settingsIn(fixture.folder));
            QVERIFY(startUp.run(""));
            QVERIFY(startUp.mainWindow() == nullptr);
            // It stands in the middle of the screen, exactly as large as its picture.
            QStringList shown;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* splash = qobject_cast<qor::gui::SplashWindow*>(window)) {
                    shown << splash->status();
                    QVERIFY(splash->isVisible());
                    QCOMPARE(splash->size(), splash->picture().deviceIndependentSize().toSize());
                    const QRect screen = splash->screen()->availableGeometry();
                    QVERIFY(std::abs(splash->geometry().center().x() - screen.center().x()) <= 1);
                    QVERIFY(std::abs(splash->geometry().center().y() - screen.center().y()) <= 1);
                }
            }
            QCOMPARE(shown, QStringList{"Initializing startup procedures..."});
            QVERIFY(QTest::qWaitFor([&startUp] { return startUp.done(); }));
            QVERIFY(startUp.mainWindow()->isVisible());
            QVERIFY(startUp.mainWindow()->activeDocument() == nullptr);
            QVERIFY(associationWritten(fixture.folder));
            QVERIFY(fixture.boxes.errors.empty() && fixture.boxes.messages.empty());
            // The stored options are loaded and the result folder has its default.
            QVERIFY(!fixture.session.options.scanResultFolderPath.empty());
            startUp.mainWindow()->close();
        }
        // Without an Exit in between, the next start registers again; after Exit it does not.
        std::filesystem::remove_all(fixture.folder.path() / "share");
        {
            StartUp startUp(fixture.context, settingsIn(fixture.folder));
            QVERIFY(started(startUp, ""));
            QVERIFY(associationWritten(fixture.folder));
            startUp.mainWindow()->commands().exit->trigger();
        }
        std::filesystem::remove_all(fixture.folder.path() / "share");
        {
            StartUp startUp(fixture.context, settingsIn(fixture.folder));
            QVERIFY(started(startUp, ""));
            QVERIFY(!associationWritten(fixture.folder));
        }
    }

    // Start-up reads the settings and nothing of the result folder (which could be slow to
    // reach, or hold a great many results): the folder is first looked at when the options
    // dialog shows it.
    void resultFolderWaitsForTheOptionsDialog() {
        AppFixture fixture;
        const auto account = fixture.folder.path() / "account";
        const auto results = account / "Documents";
        std::filesystem::create_directories(results / "Node12_04Dec2026" / "Csv Files");
        fixture.store.setValue("Settings", "ScanResultFolderPath", results.string());
        fixture.store.setValue("Settings", "FirstInstance", "1");
        FolderReads reads{account, results};
        StartUp startUp(fixture.context, settingsIn(fixture.folder));
        QVERIFY(started(startUp, QString::fromStdString(fixture.samplePath())));
        QVERIFY(startUp.mainWindow()->isVisible());
        QCOMPARE(fixture.session.options.scanResultFolderPath, results.string());
        QCOMPARE(reads.count(), 0);
        QVERIFY(startUp.mainWindow()->findChild<qor::gui::OptionsDialog*>() == nullptr);

        bool listed = false;
        fixture.desktop.onModal = [&](QDialog&) {
            listed = QTest::qWaitFor([&reads] { return reads.count() > 0; });
        };
        startUp.mainWindow()->commands().options->trigger();
        QVERIFY(listed);
        startUp.mainWindow()->close();
    }

    void commandLineFileOpensByItsLongName() {
        AppFixture fixture;
        const auto folder = fixture.folder.path() / "Node 12 data";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(fixture.samplePath(), folder / "Node 12 export.qor");
        const QString indirect = QString::fromStdString(
            (folder / ".." / "Node 12 data" / "Node 12 export.qor").string());
        {
            StartUp startUp(fixture.context, settingsIn(fixture.folder));
            QVERIFY(started(startUp, indirect));
            const QString canonical = QString::fromStdString(
                std::filesystem::canonical(folder / "Node 12 export.qor").string());
            QCOMPARE(startUp.mainWindow()->activeDocument()->parentWidget()->windowTitle(),
                     canonical);
            QCOMPARE(*startUp.mainWindow()->recentFiles().path(1), canonical);
        }
        // A quoted argument or a missing file opens nothing, and says which file it missed.
        for (const QString& argument : {"\"" + indirect + "\"", indirect + ".missing"}) {
            AppFixture other;
            StartUp startUp(other.context, settingsIn(other.folder));
            QVERIFY(started(startUp, argument));
            QVERIFY(startUp.mainWindow()->activeDocument() == nullptr);
            QCOMPARE(other.boxes.errors.size(), std::size_t{1});
            QVERIFY(other.boxes.errors[0].description.find(argument.toStdString()) !=
                    std::string::npos);
        }
    }

    void secondCopyStopsBeforeAnyWindow() {
        AppFixture fixture;
        const auto settings = settingsIn(fixture.folder);
        std::filesystem::create_directories(settings.lockFolder);
        qor::platform::SingleInstance first(settings.lockFolder);
        QVERIFY(first.acquire());
        const auto windowsBefore = QApplication::topLevelWidgets().size();

        StartUp startUp(fixture.context, settings);
        QVERIFY(!startUp.run(QString::fromStdString(fixture.samplePath())));
        QVERIFY(startUp.mainWindow() == nullptr);
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        QCOMPARE(fixture.boxes.messages.size(), std::size_t{1});
        QVERIFY(!associationWritten(fixture.folder));
    }

    // A second program run for the same user hands its file to the copy that runs, which
    // opens it; the second run ends without a window.
    void secondLaunchOpensItsFileInTheRunningCopy() {
        AppFixture fixture;
        const auto settings = settingsIn(fixture.folder);
        std::filesystem::create_directories(settings.lockFolder);
        std::filesystem::permissions(settings.lockFolder, std::filesystem::perms::owner_all);
        StartUp running(fixture.context, settings);
        QVERIFY(started(running, ""));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString root = QString::fromStdString(fixture.resultRoot());
        environment.insert("HOME", root);
        environment.insert("XDG_CONFIG_HOME", root + "/config");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(settings.lockFolder));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(QOR_QORREADER_PATH, {QString::fromStdString(fixture.samplePath())});
        QVERIFY(second.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY(!second.readAllStandardError().contains("already running"));
        QTRY_VERIFY(running.mainWindow()->activeDocument() != nullptr);
        QCOMPARE(running.mainWindow()->activeDocument()->parentWidget()->windowTitle(),
                 QString::fromStdString(fixture.samplePath()));
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_qtest.moc"
