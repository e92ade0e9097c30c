#include "desktop_latency_launch.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "core/output/session.h"
#include "core/platform/memory_settings_store.h"
#include "core/platform/user_environment.h"
#include "gui/base/app_context.h"
#include "gui/document/export_text_view.h"
#include "gui/shell/start_up.h"
#include "support/fake_desktop.h"
#include "support/scripted_ui.h"

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

}  // namespace

int launchOnce(int argc, char** argv, const QString& file, bool firstRun) {
    QApplication application(argc, argv);
    QTemporaryDir folders;
    output::Session session;
    session.months = platform::systemMonthNames();
    platform::MemorySettingsStore store;
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
    const Spinners spinners(busy);
    QStringList launch{"--launch-once", file};
    if (arguments.contains("--first-run")) {
        launch << "--first-run";
    }
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
        "(%d launches, %u busy threads%s)\n",
        static_cast<long long>(times[times.size() / 2]), static_cast<long long>(times.front()),
        static_cast<long long>(times.back()), repeat, busy,
        launch.contains("--first-run") ? ", first run" : "");
    return 0;
}

}  // namespace qor::bench

#include "desktop_latency_launch.moc"
