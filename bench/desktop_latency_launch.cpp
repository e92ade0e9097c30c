#include "desktop_latency_launch.h"

#include <sys/resource.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/options/settings_table.h"
#include "core/output/scan_run.h"
#include "core/output/session.h"
#include "core/platform/qt_settings_store.h"
#include "core/platform/user_environment.h"
#include "core/scan/node_info.h"
#include "gui/base/app_context.h"
#include "gui/document/export_text_view.h"
#include "gui/shell/main_window.h"
#include "gui/shell/start_up.h"
#include "support/fake_desktop.h"
#include "support/memory_settings_store.h"
#include "support/scripted_ui.h"
#include "support/session_builder.h"

namespace qor::bench {
namespace {

// The monotonic clock in milliseconds, the same in every process of the machine.
qint64 monotonicMs() {
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
}

// Notes when the export's text is first painted, and ends the event loop then.
class TextPainted : public QObject {
    Q_OBJECT

public:
    qint64 at = -1;
    bool inLoop = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at < 0 && event->type() == QEvent::Paint) {
            const auto* view = qobject_cast<const gui::ExportTextView*>(watched->parent());
            if (view != nullptr && view->lineCount() > 0) {
                at = monotonicMs();
                if (inLoop) {
                    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
                }
            }
        }
        return false;
    }
};

// Keeps `count` threads busy until it goes.
class Spinners {
public:
    explicit Spinners(unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back([this] {
                volatile unsigned long long sink = 0;
                while (!stop_.load(std::memory_order_relaxed)) {
                    sink = sink + 1;
                }
            });
        }
    }
    ~Spinners() {
        stop_ = true;
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

QString settingsFileIn(const QString& account) {
    return account + "/settings.ini";
}

// An account that has been used: a settings file with options for every type, recent files, a
// placement and line numbers, and a result folder that holds a CSV and an HTML scan of `file`.
bool prepareUsedAccount(const QString& account, const QString& file) {
    const std::string results = (account + "/Documents").toStdString();
    QDir().mkpath(QString::fromStdString(results));
    testing::ScriptedUi ui;
    ui.defaultAnswer = true;
    output::Session session = testing::makeSession(file.toStdString(), results);
    session.nodeInfo = scan::readNodeInfo(session.databasePath, {}, ui);
    for (const scan::ElementTypeInfo& info : scan::elementTypes()) {
        testing::enable(session, info.type);
    }
    for (const auto& [mode, day] : {std::pair{options::OutputMode::HtmlReport, 3},
                                    std::pair{options::OutputMode::CsvFilesOnly, 4}}) {
        session.options.outputMode = mode;
        const FixedClock clock(DateTime{2026, 12, day, 10, 11, 12});
        session.startDateStamp = formatDateStamp(clock.now(), session.months);
        output::runScan(session, ui, {clock});
    }
    platform::QtSettingsStore store =
        platform::QtSettingsStore::iniFile(settingsFileIn(account).toStdString());
    session.options.writeTo(store, ui);
    namespace settings = options::settings;
    settings::kShowLineNumbers.writeBooleanTo(store, true);
    settings::kMainMaximized.writeBooleanTo(store, true);
    for (std::size_t slot = 1; slot <= 4; ++slot) {
        settings::kRecentFile.writeTo(
            store, slot,
            slot == 1 ? file.toStdString() : results + "/old" + std::to_string(slot) + ".qor");
    }
    return ui.errors.empty();
}

}  // namespace

int launchOnce(int argc, char** argv, const QString& file, bool firstRun, const QString& account) {
    QApplication application(argc, argv);
    QTemporaryDir folders;
    output::Session session;
    session.months = platform::systemMonthNames();
    testing::MemorySettingsStore fresh;
    std::optional<platform::QtSettingsStore> used;
    if (!account.isEmpty()) {
        used = platform::QtSettingsStore::iniFile(settingsFileIn(account).toStdString());
    }
    platform::SettingsStore& store = used ? static_cast<platform::SettingsStore&>(*used) : fresh;
    if (!firstRun) {
        store.setValue("Settings", "FirstInstance", "1");
    }
    testing::ScriptedUi boxes;
    testing::FakeDesktop desktop;
    SystemClock clock;
    gui::AppContext context{session, store, boxes, desktop, clock, {}, {}};
    TextPainted painted;
    application.installEventFilter(&painted);
    gui::StartUpSettings settings;
    settings.lockFolder = (folders.path() + "/run").toStdString();
    settings.dataFolder = (folders.path() + "/share").toStdString();
    QDir().mkpath(QString::fromStdString(settings.lockFolder));
    gui::StartUp startUp(context, settings);
    if (!startUp.run(file)) {
        std::fprintf(stderr, "qordesktopbench: another copy holds the lock\n");
        return 1;
    }
    if (painted.at < 0) {
        painted.inLoop = true;
        QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(1); });
        if (QApplication::exec() != 0) {
            std::fprintf(stderr, "qordesktopbench: the export was not shown within 30 s\n");
            return 1;
        }
    }
    std::printf("%lld\n", static_cast<long long>(painted.at));
    return boxes.errors.empty() ? 0 : 1;
}

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <typename T>
T medianOf(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? T{} : values[values.size() / 2];
}

}  // namespace

int measureOpens(const QStringList& arguments) {
    const QString file = arguments.value(arguments.indexOf("--open") + 1);
    const qsizetype repeatAt = arguments.indexOf("--repeat");
    const int repeat = repeatAt > 0 ? std::max(1, arguments.value(repeatAt + 1).toInt()) : 5;
    std::vector<qint64> opens;
    std::vector<qint64> gaps;
    std::vector<double> processor;
    std::vector<qint64> counts;
    for (int i = 0; i < repeat; ++i) {
        output::Session session;
        testing::MemorySettingsStore store;
        testing::ScriptedUi boxes;
        testing::FakeDesktop desktop;
        SystemClock clock;
        gui::AppContext context{session, store, boxes, desktop, clock, {}, {}};
        gui::MainWindow window(context);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "qordesktopbench: the window was not shown\n");
            return 1;
        }
        TextPainted painted;
        painted.inLoop = true;
        qApp->installEventFilter(&painted);
        qint64 asked = 0;
        qint64 lastTick = 0;
        qint64 widestGap = 0;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = monotonicMs();
            widestGap = std::max(widestGap, now - lastTick);
            lastTick = now;
        });
        double processorBefore = 0;
        QTimer::singleShot(0, [&] {
            processorBefore = processorSeconds();
            asked = lastTick = monotonicMs();
            probe.start();
            window.openByPath(file.toStdString());
        });
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        deadline.start(60000);
        if (QApplication::exec() != 0 || !boxes.errors.empty()) {
            std::fprintf(stderr, "qordesktopbench: the export was not shown within 60 s\n");
            return 1;
        }
        probe.stop();
        processor.push_back(processorSeconds() - processorBefore);
        // The gap that the paint ended is the last one.
        widestGap = std::max(widestGap, painted.at - lastTick);
        qApp->removeEventFilter(&painted);
        opens.push_back(painted.at - asked);
        gaps.push_back(widestGap);

        QElapsedTimer lines;
        lines.start();
        QProcess wc;
        wc.start("wc", {"-l", file});
        wc.waitForFinished(60000);
        counts.push_back(lines.elapsed());
    }
    std::printf(
        "open to text: median %lld ms (fastest %lld, slowest %lld), widest gap in the event loop "
        "median %lld ms, processor %.2f s; wc -l median %lld ms (%d opens)\n",
        static_cast<long long>(medianOf(opens)),
        static_cast<long long>(*std::min_element(opens.begin(), opens.end())),
        static_cast<long long>(*std::max_element(opens.begin(), opens.end())),
        static_cast<long long>(medianOf(gaps)), medianOf(processor),
        static_cast<long long>(medianOf(counts)), repeat);
    return 0;
}

int measureLaunches(const QStringList& arguments, const QString& program) {
    const QString file = arguments.value(arguments.indexOf("--launch") + 1);
    const qsizetype repeatAt = arguments.indexOf("--repeat");
    const int repeat = repeatAt > 0 ? std::max(1, arguments.value(repeatAt + 1).toInt()) : 5;
    const qsizetype busyAt = arguments.indexOf("--busy");
    unsigned busy = 0;
    if (busyAt > 0) {
        busy = arguments.value(busyAt + 1).toUInt();
        busy = busy == 0 ? std::max(1u, std::thread::hardware_concurrency()) : busy;
    }
    QStringList launch{"--launch-once", file};
    if (arguments.contains("--first-run")) {
        launch << "--first-run";
    }
    QTemporaryDir account;
    const bool usedAccount = arguments.contains("--used-account");
    if (usedAccount) {
        if (!prepareUsedAccount(account.path(), file)) {
            std::fprintf(stderr, "qordesktopbench: the used account could not be prepared\n");
            return 1;
        }
        launch << "--account" << account.path();
    }
    const Spinners spinners(busy);
    std::vector<qint64> times;
    for (int i = 0; i < repeat; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const qint64 started = monotonicMs();
        child.start(program, launch);
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "qordesktopbench: launch %d failed\n", i + 1);
            return 1;
        }
        times.push_back(child.readAllStandardOutput().trimmed().toLongLong() - started);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "launch to window: median %lld ms, fastest %lld ms, slowest %lld ms "
        "(%d launches, %u busy threads%s%s)\n",
        static_cast<long long>(times[times.size() / 2]), static_cast<long long>(times.front()),
        static_cast<long long>(times.back()), repeat, busy,
        launch.contains("--first-run") ? ", first run" : "", usedAccount ? ", used account" : "");
    return 0;
}

}  // namespace qor::bench

#include "desktop_latency_launch.moc"
