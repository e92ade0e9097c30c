// How live the desktop application stays while it scans a large export: qordesktopbench opens
// FILE in the main window, scans it for every type into a temporary folder and meanwhile
// measures how late a 10 ms timer fires (the wait of any posted event), how long the Tools
// menu takes from popup() (100 ms into the scan) to its first paint, and, with --cancel-after
// MS, how long after a cancel the window is ready for the next scan. CSV output, or --html.
// With --launch it times start-up instead (desktop_latency_launch.h).
//     build/release/bench/qorgen --seed 1 --size 100M /tmp/big.qor
//     build/release/bench/qordesktopbench /tmp/big.qor [--cancel-after MS] [--html]
//     build/release/bench/qordesktopbench --launch examples/sample.qor [--busy 0]
// --clicks and --rescan count what a first full scan and a re-scan cost a person
// (desktop_clicks.h).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "desktop_clicks.h"
#include "desktop_latency_launch.h"
#include "gui/base/app_context.h"
#include "gui/shell/main_window.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"
#include "support/window_opens.h"

namespace {

// Notes the first paint of a widget after it was asked to show.
class FirstPaint : public QObject {
    Q_OBJECT

public:
    qint64 at = -1;
    const QElapsedTimer* clock = nullptr;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && at < 0) {
            at = clock->elapsed();
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string_view(argv[1]) == "--launch-once") {
        bool firstRun = false;
        QString account;
        for (int i = 3; i < argc; ++i) {
            firstRun = firstRun || std::string_view(argv[i]) == "--first-run";
            if (std::string_view(argv[i]) == "--account" && i + 1 < argc) {
                account = QString::fromLocal8Bit(argv[++i]);
            }
        }
        return qor::bench::launchOnce(argc, argv, QString::fromLocal8Bit(argv[2]), firstRun,
                                      account);
    }
    if (argc >= 3 && std::string_view(argv[1]) == "--launch") {
        const QCoreApplication parent(argc, argv);
        return qor::bench::measureLaunches(QCoreApplication::arguments(),
                                           QCoreApplication::applicationFilePath());
    }
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == "--clicks") {
        return qor::bench::countClicksToFullScan(arguments[2]);
    }
    if (arguments.size() >= 3 && arguments[1] == "--open") {
        return qor::bench::measureOpens(arguments);
    }
    if (arguments.size() >= 3 && arguments[1] == "--rescan") {
        return qor::bench::timeRescanKeepingAll(arguments[2]);
    }
    if (arguments.size() < 2) {
        std::fprintf(stderr,
                     "usage: qordesktopbench FILE.qor [--cancel-after MS] [--html]\n"
                     "       qordesktopbench --launch FILE.qor [--repeat N] [--busy THREADS] "
                     "[--first-run] [--used-account]\n"
                     "       qordesktopbench --open FILE.qor [--repeat N]\n"
                     "       qordesktopbench --clicks FILE.qor | --rescan FILE.qor\n");
        return 2;
    }
    const int cancelAfter =
        arguments.size() >= 4 && arguments[2] == "--cancel-after" ? arguments[3].toInt() : 0;
    QTemporaryDir results;
    qor::output::Session session;
    qor::testing::MemorySettingsStore store;
    store.setValue("Settings", "ShowSearchStatusDialog", "0");
    qor::testing::ScriptedUi boxes;
    qor::testing::FakeDesktop desktop;
    qor::SystemClock clock;
    qor::gui::AppContext context{session, store, boxes, desktop, clock, {}, {}};
    qor::gui::MainWindow window(context);
    window.show();
    if (!qor::testing::openedByPath(window, arguments[1].toStdString())) {
        return 1;
    }
    session.options.outputMode = arguments.contains("--html")
                                     ? qor::options::OutputMode::HtmlReport
                                     : qor::options::OutputMode::CsvFilesOnly;
    session.options.scanResultFolderPath = results.path().toStdString();
    for (const qor::scan::ElementTypeInfo& info : qor::scan::elementTypes()) {
        qor::testing::enable(session, info.type);
    }

    QElapsedTimer since;
    std::vector<qint64> lateness;
    qint64 expected = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        lateness.push_back(std::max<qint64>(0, since.elapsed() - expected));
        expected = since.elapsed() + 10;
    });
    FirstPaint menuPaint;
    menuPaint.clock = &since;
    QMenu* tools = window.menuBar()->findChild<QMenu*>();
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        if (menu->title() == "&Tools") {
            tools = menu;
        }
    }
    tools->installEventFilter(&menuPaint);
    qint64 menuAsked = -1;
    qint64 cancelAsked = -1;
    qint64 scanEnded = -1;
    desktop.onModal = [&](QDialog&) { scanEnded = since.elapsed(); };
    QTimer::singleShot(100, [&] {
        menuAsked = since.elapsed();
        tools->popup(window.mapToGlobal(QPoint(40, 40)));
    });
    QTimer::singleShot(300, [&] { tools->hide(); });
    if (cancelAfter > 0) {
        QTimer::singleShot(cancelAfter, [&] {
            cancelAsked = since.elapsed();
            window.cancelScan();
        });
    }
    QObject::connect(&window, &qor::gui::MainWindow::workFinished, [&] {
        if (scanEnded < 0) {
            scanEnded = since.elapsed();
        }
        probe.stop();
        QApplication::quit();
    });
    QTimer::singleShot(0, [&] {
        since.start();
        expected = 10;
        probe.start();
        window.scanFile();
    });
    QApplication::exec();

    std::sort(lateness.begin(), lateness.end());
    const auto percentile = [&](double p) {
        return lateness.empty() ? 0 : lateness[static_cast<std::size_t>(p * (lateness.size() - 1))];
    };
    std::printf(
        "scan: %lld ms, %zu timer ticks; timer lateness median %lld ms, p99 %lld ms, "
        "max %lld ms\n",
        static_cast<long long>(scanEnded), lateness.size(), static_cast<long long>(percentile(0.5)),
        static_cast<long long>(percentile(0.99)), static_cast<long long>(percentile(1.0)));
    std::printf("Tools menu: first paint %lld ms after popup()\n",
                static_cast<long long>(menuPaint.at < 0 ? -1 : menuPaint.at - menuAsked));
    if (cancelAsked >= 0) {
        std::printf("cancel: ready for the next scan %lld ms after the cancel\n",
                    static_cast<long long>(scanEnded - cancelAsked));
    }
    std::printf("errors reported: %zu, statistics shown: %s\n", boxes.errors.size(),
                desktop.modalTitles.empty() ? "no" : "yes");
    return 0;
}

#include "desktop_latency.moc"
